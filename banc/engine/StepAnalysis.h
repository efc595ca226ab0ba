#pragma once

#include <optional>

#include "engine/Curve.h"

class CEnregistrement;

namespace banc {

// The figures of a step response, from the recording.
struct StepResponse {
    bool hasStep = false;  // the measurement moved
    float initial = 0;     // the measurement at the step
    float final = 0;       // the measurement at the last point
    float setpoint = 0;    // the setpoint at the last point
    std::optional<float> overshoot;     // percent of the change
    std::optional<float> riseTime;      // s, from 10 % to 90 % of the change
    std::optional<float> settlingTime;  // s, from the step into the band of 5 % of the change
};

// The step is where the setpoint first changes (point 0 when it never does);
// the band is centred on the last point, and the settling point is the
// recording's own search (RechercheRang, mode 0).
StepResponse AnalyseStep(const CEnregistrement& recording, const Curve& setpoint, const Curve& measure, int points,
                         float periodSeconds);

}  // namespace banc
