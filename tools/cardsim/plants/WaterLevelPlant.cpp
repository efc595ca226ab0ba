#include "WaterLevelPlant.h"

#include <algorithm>
#include <cmath>

namespace cardsim {
namespace {

struct Levels {
    double h1, h2;
};

double Outflow(double level) { return WaterLevelPlant::kDrain * std::sqrt(std::max(level, 0.0)); }

Levels Slope(const Levels& h, double pump)
{
    return {WaterLevelPlant::kFill * pump - Outflow(h.h1), Outflow(h.h1) - Outflow(h.h2)};
}

// A tank holds between empty and full: it overflows past its rim.
double Held(double level) { return std::clamp(level, 0.0, 100.0); }

}  // namespace

const double WaterLevelPlant::kDrain = std::sqrt(50.0) / 30;

void WaterLevelPlant::Step(double seconds, const Actuators& percent)
{
    m_pump = std::clamp(percent[0], 0.0, 100.0);
    // Fourth-order Runge-Kutta; the square root makes lower orders drift near empty.
    const Levels h{m_level1, m_level2};
    const auto at = [&](const Levels& k, double f) { return Levels{h.h1 + f * k.h1, h.h2 + f * k.h2}; };
    const Levels k1 = Slope(h, m_pump);
    const Levels k2 = Slope(at(k1, seconds / 2), m_pump);
    const Levels k3 = Slope(at(k2, seconds / 2), m_pump);
    const Levels k4 = Slope(at(k3, seconds), m_pump);
    m_level1 = Held(h.h1 + seconds / 6 * (k1.h1 + 2 * k2.h1 + 2 * k3.h1 + k4.h1));
    m_level2 = Held(h.h2 + seconds / 6 * (k1.h2 + 2 * k2.h2 + 2 * k3.h2 + k4.h2));
}

AnalogPlant::Sensors WaterLevelPlant::Read() const
{
    // The flow sensor's range is the pump's full flow: it reads the pump's percent.
    return {m_pump, m_level1, m_level2};
}

}  // namespace cardsim
