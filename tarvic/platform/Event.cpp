#include "tarvic/platform/Event.h"

#include <semaphore.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <utility>

namespace tarvic {

// One waiting thread; the events it waits for post to it. A semaphore
// rather than a condition variable: the woken thread does not go back
// through a lock its waker may still hold.
struct EventWaiter {
    EventWaiter() { ::sem_init(&posted, 0, 0); }
    ~EventWaiter() { ::sem_destroy(&posted); }
    EventWaiter(const EventWaiter&) = delete;
    EventWaiter& operator=(const EventWaiter&) = delete;

    // False once `deadline` (on the monotonic clock) has passed.
    bool Wait(const timespec* deadline)
    {
        for (;;) {
            const int result = deadline ? ::sem_clockwait(&posted, CLOCK_MONOTONIC, deadline) : ::sem_wait(&posted);
            if (result == 0) return true;
            if (errno != EINTR) return false;
        }
    }

    sem_t posted;
};

}  // namespace tarvic

using tarvic::EventWaiter;

namespace {

timespec MonotonicDeadline(std::uint32_t timeoutMs)
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    constexpr long kNsPerSecond = 1'000'000'000;
    const long ns = now.tv_nsec + static_cast<long>(timeoutMs % 1000) * 1'000'000;
    return {now.tv_sec + static_cast<time_t>(timeoutMs / 1000) + ns / kNsPerSecond, ns % kNsPerSecond};
}

}  // namespace

CEvent::CEvent(bool initiallySignalled) : m_signalled(initiallySignalled) {}

CEvent::~CEvent() = default;

void CEvent::SetEvent()
{
    std::vector<std::shared_ptr<EventWaiter>> waiters;
    {
        std::lock_guard lock(m_mutex);
        // Already set: every waiter has been posted to, or saw it set when it came.
        if (std::exchange(m_signalled, true)) return;
        waiters = m_waiters;
    }
    // Posted once this event's lock is free, so that the woken thread, which
    // looks at the event next, does not wake only to wait for the lock. The
    // shared ownership keeps a waiter that has meanwhile gone alive.
    for (const auto& waiter : waiters) ::sem_post(&waiter->posted);
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

void CEvent::Attach(const std::shared_ptr<EventWaiter>& waiter)
{
    std::lock_guard lock(m_mutex);
    m_waiters.push_back(waiter);
}

void CEvent::Detach(const std::shared_ptr<EventWaiter>& waiter)
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

    const auto waiter = std::make_shared<EventWaiter>();
    for (CEvent* event : events) event->Attach(waiter);
    const timespec deadline = MonotonicDeadline(timeoutMs);
    int index = firstSignalled();  // an event set before we attached
    // Each post is one event set since we attached; it may be reset again by
    // the time we look, and then we wait on.
    while (index == kTimeout && waiter->Wait(timeoutMs == kInfinite ? nullptr : &deadline)) index = firstSignalled();
    for (CEvent* event : events) event->Detach(waiter);
    return index;
}
