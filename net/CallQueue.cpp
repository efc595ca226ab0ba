#include "net/CallQueue.h"

#include <utility>

namespace net {

CallQueue::CallQueue() : m_thread([this] { Run(); }) {}

CallQueue::~CallQueue() { Stop(); }

void CallQueue::Post(std::function<void()> call)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping) return;
        m_calls.push_back(std::move(call));
    }
    m_posted.notify_one();
}

void CallQueue::Stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_calls.clear();
    }
    m_posted.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void CallQueue::Run()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_posted.wait(lock, [this] { return m_stopping || !m_calls.empty(); });
        if (m_stopping) return;
        std::function<void()> call = std::move(m_calls.front());
        m_calls.pop_front();
        lock.unlock();
        call();
        lock.lock();
    }
}

}  // namespace net
