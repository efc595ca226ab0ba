#include "tarvic/platform/Event.h"

#include <algorithm>
#include <chrono>

namespace tarvic {

// One waiting thread; the events it waits for wake it through here.
struct EventWaiter {
    std::mutex mutex;
    std::condition_variable woken;
    bool pending = false;
};

}  // namespace tarvic

using tarvic::EventWaiter;

CEvent::CEvent(bool initiallySignalled) : m_signalled(initiallySignalled) {}

CEvent::~CEvent() = default;

void CEvent::SetEvent()
{
    std::lock_guard lock(m_mutex);
    m_signalled = true;
    for (EventWaiter* waiter : m_waiters) {
        {
            std::lock_guard wake(waiter->mutex);
            waiter->pending = true;
        }
        // Notified once its lock is free, so that the woken thread does not
        // wake only to wait for it. The waiter stays alive meanwhile: it must
        // take this event's lock to detach before it goes.
        waiter->woken.notify_one();
    }
}

void CEvent::ResetEvent()
{
    std::lock_guard lock(m_mutex);
    m_signalled = false;
}

bool CEvent::IsSignalled() const
{
    std::lock_guard lock(m_mutex);
    return m_signalled;
}

bool CEvent::Wait(std::uint32_t timeoutMs) { return WaitForMultiple({this}, timeoutMs) == 0; }

void CEvent::Attach(EventWaiter* waiter)
{
    std::lock_guard lock(m_mutex);
    m_waiters.push_back(waiter);
}

void CEvent::Detach(EventWaiter* waiter)
{
    std::lock_guard lock(m_mutex);
    m_waiters.erase(std::remove(m_waiters.begin(), m_waiters.end(), waiter), m_waiters.end());
}

int CEvent::WaitForMultiple(std::initializer_list<CEvent*> events, std::uint32_t timeoutMs)
{
    const auto firstSignalled = [&events]() -> int {
        int index = 0;
        for (CEvent* event : events) {
            if (event->IsSignalled()) return index;
            ++index;
        }
        return kTimeout;
    };
    if (const int index = firstSignalled(); index != kTimeout || timeoutMs == 0) return index;

    EventWaiter waiter;
    for (CEvent* event : events) event->Attach(&waiter);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int index = firstSignalled();  // an event set before we attached
    while (index == kTimeout) {
        std::unique_lock lock(waiter.mutex);
        if (timeoutMs == kInfinite) {
            waiter.woken.wait(lock, [&waiter] { return waiter.pending; });
        } else if (!waiter.woken.wait_until(lock, deadline, [&waiter] { return waiter.pending; })) {
            break;
        }
        waiter.pending = false;
        lock.unlock();
        index = firstSignalled();  // woken by an event that may already be reset
    }
    for (CEvent* event : events) event->Detach(&waiter);
    return index;
}
