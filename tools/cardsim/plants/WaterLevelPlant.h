#pragma once

#include "AnalogPlant.h"

namespace cardsim {

// Two tanks in cascade. The pump (actuator 0, u in %) fills tank 1, which
// drains through a valve into tank 2, which drains through an identical valve:
//   dh1/dt = a u - b sqrt(h1),   dh2/dt = b sqrt(h1) - b sqrt(h2)
// with levels in % of the tanks' height, a = 1/30 %/s per %, b = sqrt(50)/30,
// so that u = 50 % holds both tanks at 50 % with a time constant of 60 s each.
// Sensors: 0 the pump's flow (a u, in % of its full flow), 1 and 2 the levels.
class WaterLevelPlant : public AnalogPlant {
public:
    static constexpr double kFill = 1.0 / 30;
    static const double kDrain;

    WaterLevelPlant(double level1 = 0, double level2 = 0) : m_level1(level1), m_level2(level2) {}

    void Step(double seconds, const Actuators& percent) override;
    Sensors Read() const override;

    double Level1() const { return m_level1; }
    double Level2() const { return m_level2; }

private:
    double m_pump = 0;
    double m_level1;
    double m_level2;
};

}  // namespace cardsim
