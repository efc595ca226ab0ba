#include "AirFlowPlant.h"

#include <algorithm>
#include <cmath>

namespace cardsim {
namespace {

// Exact step of a first-order lag with its input held.
double Lag(double value, double target, double seconds, double timeConstant)
{
    return target + (value - target) * std::exp(-seconds / timeConstant);
}

}  // namespace

void AirFlowPlant::Step(double seconds, const Actuators& percent)
{
    const double fan = std::clamp(percent[0], 0.0, 100.0);
    const double heater = std::clamp(percent[1], 0.0, 100.0);
    m_flow = Lag(m_flow, fan, seconds, kFlowLag);
    m_rise = Lag(m_rise, kMaxRise * heater / 100 / (1 + m_flow / 100), seconds, kHeatLag);
    m_time += seconds;
    m_travel.emplace_back(m_time, m_rise);
    // The sensor sees the rise of kTransport ago: the newest entry not younger than that.
    const double seen = m_time - kTransport;
    while (m_travel.size() > 1 && m_travel[1].first <= seen + 1e-9) m_travel.pop_front();
    m_seenRise = m_travel.front().first <= seen + 1e-9 ? m_travel.front().second : 0.0;
}

AnalogPlant::Sensors AirFlowPlant::Read() const
{
    return {m_flow, (Temperature() - kSensorLow) * 100 / (kSensorHigh - kSensorLow), std::nullopt};
}

}  // namespace cardsim
