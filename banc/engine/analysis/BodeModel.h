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

// A transfer read as a Bode point: gain, dB, phase in degrees within
// (-180, 180], or, with `nearDeg`, the turn of it closest to that phase.
BodePoint PointOf(double hz, std::complex<double> response);
BodePoint PointOf(double hz, std::complex<double> response, double nearDeg);
// The model's phase at `hz`, degrees, continuous from 0 (or -180 for a
// negative gain) at the low frequencies: no turn is lost to the delay.
double ModelPhaseDeg(const ProcessModel& model, double hz);

// The model's curve over `count` points from `lowHz` to `highHz`, its phase
// continuous along it (a delay turns it well past -180 degrees).
std::vector<BodePoint> ModelCurve(const ProcessModel& model, double lowHz, double highHz, int count);

// The usual span of a sweep for a model, Hz: from 0.1/tau to 10/tau rad/s,
// tau the time constant of its lags (n tau for Strejc's); none for an integrator.
struct FrequencySpan {
    double lowHz = 0, highHz = 0;
};
bool SpanFor(const ProcessModel& model, FrequencySpan& span);

}  // namespace banc::analysis
