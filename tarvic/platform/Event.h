#pragma once

#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

#include "tarvic/platform/Export.h"

namespace tarvic {
struct EventWaiter;
}

// A manual-reset event: once set it stays signalled, releasing every waiter,
// until it is reset.
class TARVIC_EXPORT CEvent {
public:
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
    static constexpr int kTimeout = -1;

    explicit CEvent(bool initiallySignalled = false);
    ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    bool IsSignalled() const;
    // True when signalled within the time.
    bool Wait(std::uint32_t timeoutMs = kInfinite);

    // Waits until one of `events` is signalled and returns the index of the
    // first signalled one in list order, or kTimeout.
    static int WaitForMultiple(std::initializer_list<CEvent*> events, std::uint32_t timeoutMs = kInfinite);

private:
    void Attach(const std::shared_ptr<tarvic::EventWaiter>& waiter);
    void Detach(const std::shared_ptr<tarvic::EventWaiter>& waiter);

    mutable std::mutex m_mutex;
    bool m_signalled;
    std::vector<std::shared_ptr<tarvic::EventWaiter>> m_waiters;
};
