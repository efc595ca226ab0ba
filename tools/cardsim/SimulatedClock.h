#pragma once

#include <chrono>

#include "runtime/SimulatedCard.h"

namespace cardsim {

// Maps the wall clock to the card's time, `speed` simulated seconds a second.
class SimulatedClock {
public:
    explicit SimulatedClock(double speed) : m_speed(speed), m_start(std::chrono::steady_clock::now()) {}

    // Simulated time gone by since the previous call.
    SimDuration Elapsed()
    {
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - m_start;
        const auto now = std::chrono::duration_cast<SimDuration>(wall * m_speed);
        const SimDuration elapsed = now - m_given;
        m_given = now;
        return elapsed;
    }

private:
    double m_speed;
    std::chrono::steady_clock::time_point m_start;
    SimDuration m_given{0};
};

}  // namespace cardsim
