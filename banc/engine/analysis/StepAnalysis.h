#pragma once

#include <optional>
#include <vector>

namespace banc {

// What the end of a record says of a step response.
enum class StepVerdict {
    Settled,      // the tail stays in the band around its mean, with no trend
    Oscillating,  // sustained swings around a mean
    DyingOut,     // swings still beyond the band, but shrinking
    Rising,       // still moving up at the end
    Falling,      // still moving down at the end
    Unsteady,     // beyond the band without a trend or a regular swing
    NoResponse,   // the measurement did not move
    NotAStep,     // the setpoint moves again after its step
    TooShort,     // too few points after the step to judge
};

// What the overshoot is measured against: the setpoint step of a closed loop
// (the setpoint and the measurement share a unit), or the measurement's own
// change in open loop (the "setpoint" is then the command).
enum class OvershootOf { SetpointStep, FinalChange };

struct Oscillation {
    float centre = 0;     // the mean over whole periods
    float amplitude = 0;  // half the swing from trough to crest, mean of the periods
    float period = 0;     // s
    int periods = 0;      // whole periods seen
};

// The figures of a step response. Every figure is there only when the record
// supports it; otherwise the verdict says why.
struct StepFigures {
    StepVerdict verdict = StepVerdict::TooShort;
    OvershootOf reference = OvershootOf::SetpointStep;
    float samplePeriod = 0;  // s, between two points
    int stepIndex = 0;
    float initial = 0;                  // the measurement at the step
    float setpoint = 0;                 // the setpoint after the step
    float last = 0;                     // the measurement's last point
    int tailPoints = 0;                 // the end of the record judged for settling
    float tailSpan = 0;                 // s, from the tail's first point to its last
    float drift = 0;                    // the tail's trend over its span, in the measurement's unit
    std::optional<float> final;         // the mean of the settled tail
    std::optional<float> overshoot;     // percent of the step (OvershootOf)
    std::optional<float> riseTime;      // s, from 10 % to 90 % of the change
    std::optional<float> settlingTime;  // s, from the step until it stays in the band
    std::optional<float> timeConstant;  // s, from the step to 63.2 % of the change
    std::optional<Oscillation> oscillation;
    // Where the figures were read, for the plot.
    float peak = 0;  // the extreme in the direction of the step
    int peakIndex = 0;
    std::optional<int> settlingIndex;  // the first point in the band for good
    float band = 0;                    // the band's half-width, in the measurement's unit
};

// The step response in `measure` to the step in `setpoint`, sampled every
// `period` seconds. Plain arrays: the same figures for a run in progress, a
// finished one and a loaded archive.
StepFigures AnalyseStep(const std::vector<float>& setpoint, const std::vector<float>& measure, float period,
                        OvershootOf reference);

}  // namespace banc
