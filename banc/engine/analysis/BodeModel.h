#pragma once

#include <complex>
#include <vector>

#include "engine/analysis/FrequencyResponse.h"
#include "engine/analysis/ProcessModel.h"

namespace banc::analysis {

// `count` frequencies evenly spaced on a logarithmic scale from `lowHz` to
// `highHz`, both included (one: the lower bound).
std::vector<double> LogFrequencies(double lowHz, double highHz, int count);

// The model's transfer at `hz`, in its own units (the measurement per % of command).
std::complex<double> ModelResponse(const ProcessModel& model, double hz);

// A transfer read as a Bode point: gain, dB, phase in degrees.
BodePoint PointOf(double hz, std::complex<double> response);

// The model's curve over `count` points from `lowHz` to `highHz`, its phase
// continuous along it (a delay turns it well past -180 degrees).
std::vector<BodePoint> ModelCurve(const ProcessModel& model, double lowHz, double highHz, int count);

// The usual span of a sweep for a model, Hz: from 0.1/tau to 10/tau rad/s,
// tau the model's time constant (for an integrator, its delay, or none).
struct FrequencySpan {
    double lowHz = 0, highHz = 0;
};
bool SpanFor(const ProcessModel& model, FrequencySpan& span);

}  // namespace banc::analysis
