#pragma once

#include <array>
#include <optional>

namespace cardsim {

// The physics of an analog bench: two actuators commanded in percent, three
// sensor places, each with a 4-20 mA sensor or nothing.
class AnalogPlant {
public:
    static constexpr int kActuators = 2;
    static constexpr int kSensors = 3;
    using Actuators = std::array<double, kActuators>;
    using Sensors = std::array<std::optional<double>, kSensors>;

    virtual ~AnalogPlant() = default;
    // Integrates over `seconds` with the actuators held.
    virtual void Step(double seconds, const Actuators& percent) = 0;
    // Each sensor in percent of its range (nothing: no sensor at that input).
    virtual Sensors Read() const = 0;
};

}  // namespace cardsim
