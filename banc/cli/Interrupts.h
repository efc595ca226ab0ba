#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace banc::cli {

// Ctrl-C, termination requests and hang-ups, taken by a thread of their own
// instead of ending the program, so that the experiment stops the card's loop and keeps
// what it acquired. Make it before any other thread: the signals are blocked
// in the threads made after it.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // Called on the watching thread at each request; empty to call nothing.
    void SetHandler(std::function<void()> handler);
    int Count() const { return m_count; }

private:
    void Watch();

    sigset_t m_signals;
    sigset_t m_previous;
    struct sigaction m_previousPipe;
    std::mutex m_mutex;
    std::function<void()> m_handler;
    std::atomic<int> m_count{0};
    std::atomic<bool> m_ending{false};
    std::thread m_thread;
};

}  // namespace banc::cli
