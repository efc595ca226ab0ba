#pragma once

#include <chrono>
#include <thread>

namespace tarvic::test {

// Polls a condition that another thread or process makes true, up to a
// generous limit; whether it holds. Never a fixed wait.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace tarvic::test
