#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

namespace tarvic {

// A process-wide, replaceable callback (trace sink, message box). The callback
// is copied out under the lock and called outside it, so that it may use or
// replace the slot itself.
template <class Handler>
class HandlerSlot {
public:
    std::shared_ptr<const Handler> Get() const
    {
        // Most often nothing is installed: the reading thread traces every
        // chunk it receives, and need not take the lock to learn that.
        if (!m_installed.load(std::memory_order_acquire)) return nullptr;
        std::lock_guard lock(m_mutex);
        return m_handler;
    }

    // Installs `handler` (an empty one selects the default) and returns the previous one.
    Handler Set(Handler handler)
    {
        auto next = handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr;
        std::lock_guard lock(m_mutex);
        m_installed.store(next != nullptr, std::memory_order_release);
        auto previous = std::exchange(m_handler, std::move(next));
        return previous ? *previous : Handler{};
    }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const Handler> m_handler;
    std::atomic<bool> m_installed{false};
};

}  // namespace tarvic
