#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace net {

// Runs the calls posted to it one after the other, in order, on a thread of
// its own. The MQTT library calls back from inside its calls, with the
// connection's lock held: what a handler does there (publish, take a lock
// that a publisher holds while it calls the library) could wait for ever on
// a thread that waits for that lock. Posted here, the handlers hold nothing
// of the library's.
class CallQueue {
public:
    CallQueue();
    ~CallQueue();  // waits for the call running, drops those not yet run; never from a call
    CallQueue(const CallQueue&) = delete;
    CallQueue& operator=(const CallQueue&) = delete;

    // Never waits for a call to run; a call posted after Stop is dropped.
    void Post(std::function<void()> call);
    // Returns once the call running, if any, has returned; no call runs after.
    void Stop();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_calls;
    bool m_stopping = false;
    std::thread m_thread;  // last: it starts once the members above are there
};

}  // namespace net
