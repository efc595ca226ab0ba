#pragma once

#include <deque>
#include <utility>

#include "AnalogPlant.h"

namespace cardsim {

// A fan and a heater in an air duct. The flow f (% of full flow) follows the
// fan's command (actuator 0) with a first-order lag of 1 s. The outlet
// temperature is 20 deg C plus a rise r that follows
//   40 K * heater / 100 / (1 + f / 100)
// (actuator 1 heats, more air cools) with a first-order lag of 20 s, seen
// 1.5 s later at the sensor (the air's travel down the duct).
// Sensors: 0 the flow, 1 the temperature over 20-80 deg C, 2 none.
class AirFlowPlant : public AnalogPlant {
public:
    static constexpr double kFlowLag = 1.0;
    static constexpr double kHeatLag = 20.0;
    static constexpr double kTransport = 1.5;
    static constexpr double kMaxRise = 40.0;
    static constexpr double kAmbient = 20.0;
    static constexpr double kSensorLow = 20.0;
    static constexpr double kSensorHigh = 80.0;

    void Step(double seconds, const Actuators& percent) override;
    Sensors Read() const override;

    double Flow() const { return m_flow; }
    double Temperature() const { return kAmbient + m_seenRise; }

private:
    double m_time = 0;
    double m_flow = 0;
    double m_rise = 0;                               // at the heater
    double m_seenRise = 0;                           // at the sensor
    std::deque<std::pair<double, double>> m_travel;  // (time, rise at the heater), oldest first
};

}  // namespace cardsim
