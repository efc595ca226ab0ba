#include "Noise.h"

#include <cmath>
#include <numbers>

namespace cardsim {

double Noise::Uniform()
{
    // In (0, 1]: the logarithm below must not see 0.
    return (static_cast<double>(m_engine()) + 1.0) / 4294967296.0;
}

void Noise::Restart()
{
    m_engine.seed(m_seed);
    m_hasSpare = false;
}

double Noise::Next()
{
    if (m_percent <= 0) return 0;
    if (m_hasSpare) {
        m_hasSpare = false;
        return m_percent * m_spare;
    }
    const double radius = std::sqrt(-2 * std::log(Uniform()));
    const double angle = 2 * std::numbers::pi * Uniform();
    m_spare = radius * std::sin(angle);
    m_hasSpare = true;
    return m_percent * radius * std::cos(angle);
}

}  // namespace cardsim
