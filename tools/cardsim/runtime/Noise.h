#pragma once

#include <cstdint>
#include <random>

namespace cardsim {

// Measurement noise: Gaussian, of a standard deviation in percent of a
// sensor's span, from a seeded generator so that a run can be repeated.
// The Gaussian is drawn by Box-Muller from the 32-bit engine itself, so the
// sequence is the same with every standard library.
class Noise {
public:
    Noise(std::uint32_t seed, double percent) : m_engine(seed), m_seed(seed), m_percent(percent) {}

    // The draws start again from the seed.
    void Restart();

    // A draw in percent of the span (0 when the noise is off).
    double Next();

private:
    double Uniform();

    std::mt19937 m_engine;
    std::uint32_t m_seed;
    double m_percent;
    double m_spare = 0;
    bool m_hasSpare = false;
};

}  // namespace cardsim
