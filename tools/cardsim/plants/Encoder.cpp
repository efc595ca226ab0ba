#include "Encoder.h"

#include <cmath>
#include <numbers>

namespace cardsim {

std::int64_t Encoder::RawEdges(double angle) const
{
    return static_cast<std::int64_t>(std::floor(angle * 4 * m_lines / (2 * std::numbers::pi)));
}

void Encoder::Observe(double time, double angle)
{
    m_time = time;
    m_angle = angle;
    m_history.emplace_back(time, angle);
    // Two windows back are all the speed and the acceleration need.
    while (m_history.size() > 2 && m_history[1].first < time - 2 * m_window - 1e-9) m_history.pop_front();
}

std::int64_t Encoder::EdgesAt(double time) const
{
    // The shaft's angle then, between the plant's steps on either side.
    if (m_history.empty() || time <= m_history.front().first)
        return RawEdges(m_history.empty() ? 0 : m_history.front().second) - m_offset;
    for (std::size_t i = 1; i < m_history.size(); ++i) {
        const auto& [t1, a1] = m_history[i];
        if (t1 < time) continue;
        const auto& [t0, a0] = m_history[i - 1];
        return RawEdges(a0 + (a1 - a0) * (time - t0) / (t1 - t0)) - m_offset;
    }
    return RawEdges(m_angle) - m_offset;
}

std::int64_t Encoder::Position() const
{
    const std::int64_t edges = Edges();
    return edges >= 0 ? edges / 4 : -((-edges + 3) / 4);
}

std::int64_t Encoder::Acceleration() const
{
    const std::int64_t before = EdgesAt(m_time - m_window) - EdgesAt(m_time - 2 * m_window);
    return Speed() - before;
}

}  // namespace cardsim
