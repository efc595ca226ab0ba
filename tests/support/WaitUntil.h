#pragma once

#include <chrono>
#include <thread>

namespace tarvic::test {

// Polls `condition`, which another thread or process makes true, until it
// holds or a generous time is up; the condition's last value. Never a fixed wait.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(20000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace tarvic::test
