#pragma once

#include <cstdint>
#include <deque>
#include <utility>

namespace cardsim {

// A motor's incremental encoder as the card counts it: quadrature edges, four
// per line. The position counts lines; the speed is the edges counted over the
// last sampling window (counts per window), the acceleration the change of
// that speed over one window.
class Encoder {
public:
    explicit Encoder(int lines) : m_lines(lines) {}

    void SetWindow(double seconds) { m_window = seconds; }
    double Window() const { return m_window; }

    // The shaft's angle (rad) at `time` (s), at every step of the plant.
    void Observe(double time, double angle);
    // The position counter starts again from 0 here.
    void Zero() { m_offset = RawEdges(m_angle); }

    std::int64_t Edges() const { return RawEdges(m_angle) - m_offset; }
    std::int64_t Position() const;  // lines
    std::int64_t Speed() const { return EdgesAt(m_time) - EdgesAt(m_time - m_window); }
    std::int64_t Acceleration() const;

private:
    std::int64_t EdgesAt(double time) const;
    std::int64_t RawEdges(double angle) const;

    int m_lines;
    double m_window = 5 * 0.9765e-3;
    double m_time = 0;
    double m_angle = 0;
    std::int64_t m_offset = 0;
    std::deque<std::pair<double, double>> m_history;  // (time, angle), oldest first
};

}  // namespace cardsim
