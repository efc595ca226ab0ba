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
    std::optional<float> timeConstant;  // s, from the step to 63 % of the change
    // Where the figures were read, as point indices.
    int stepIndex = 0;
    int peakIndex = 0;                  // the extreme in the direction of the change
    std::optional<int> settlingIndex;   // the first point of the band for good
    float band = 0;                     // the half-width of the band, in the measurement's unit
};

// The step is where the setpoint first changes (point 0 when it never does);
// the band is centred on the last point, and the settling point is the
// recording's own search (RechercheRang, mode 0).
StepResponse AnalyseStep(const CEnregistrement& recording, const Curve& setpoint, const Curve& measure, int points,
                         float periodSeconds);

}  // namespace banc
