#include "engine/analysis/BodeModel.h"

#include <cmath>
#include <numbers>

namespace banc::analysis {
namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
// The span of a sweep around a model's time constant, rad/s times tau.
constexpr double kLowestPulsation = 0.1, kHighestPulsation = 10;

double Omega(double hz) { return 2 * std::numbers::pi * hz; }

// The lags' time constant as a whole: n lags of tau for Strejc's.
double LagTime(const ProcessModel& model)
{
    return model.kind == ModelKind::Strejc ? model.timeConstant * model.order : model.timeConstant;
}

}  // namespace

std::vector<double> LogFrequencies(double lowHz, double highHz, int count)
{
    std::vector<double> frequencies;
    if (count < 1 || !(lowHz > 0) || !(highHz > 0)) return frequencies;
    if (count == 1) return {lowHz};
    const double ratio = std::log(highHz / lowHz);
    for (int i = 0; i < count; ++i) frequencies.push_back(lowHz * std::exp(ratio * i / (count - 1)));
    // The bounds as given, not as the exponential rounds them.
    frequencies.back() = highHz;
    return frequencies;
}

std::complex<double> ModelResponse(const ProcessModel& model, double hz)
{
    const std::complex<double> s(0, Omega(hz));
    const std::complex<double> delay = std::exp(-s * model.delay);
    switch (model.kind) {
    case ModelKind::Integrating: return model.gain * delay / s;
    case ModelKind::Strejc: return model.gain * delay / std::pow(1.0 + s * model.timeConstant, model.order);
    case ModelKind::FirstOrderDelay: break;
    }
    return model.gain * delay / (1.0 + s * model.timeConstant);
}

double ModelPhaseDeg(const ProcessModel& model, double hz)
{
    const double omega = Omega(hz);
    double phase = -omega * model.delay;
    switch (model.kind) {
    case ModelKind::Integrating: phase -= std::numbers::pi / 2; break;
    case ModelKind::Strejc: phase -= model.order * std::atan(omega * model.timeConstant); break;
    case ModelKind::FirstOrderDelay: phase -= std::atan(omega * model.timeConstant); break;
    }
    return phase * kDegreesPerRadian - (model.gain < 0 ? 180 : 0);
}

BodePoint PointOf(double hz, std::complex<double> response)
{
    BodePoint point;
    point.frequencyHz = hz;
    point.gain = std::abs(response);
    point.gainDb = 20 * std::log10(point.gain);
    point.phaseDeg = std::arg(response) * kDegreesPerRadian;
    return point;
}

BodePoint PointOf(double hz, std::complex<double> response, double nearDeg)
{
    BodePoint point = PointOf(hz, response);
    point.phaseDeg += 360 * std::round((nearDeg - point.phaseDeg) / 360);
    return point;
}

std::vector<BodePoint> ModelCurve(const ProcessModel& model, double lowHz, double highHz, int count)
{
    std::vector<BodePoint> curve;
    for (const double hz : LogFrequencies(lowHz, highHz, count))
        curve.push_back(PointOf(hz, ModelResponse(model, hz), ModelPhaseDeg(model, hz)));
    return curve;
}

bool SpanFor(const ProcessModel& model, FrequencySpan& span)
{
    const double tau = LagTime(model);
    if (!(tau > 0)) return false;
    span.lowHz = kLowestPulsation / tau / (2 * std::numbers::pi);
    span.highHz = kHighestPulsation / tau / (2 * std::numbers::pi);
    return true;
}

}  // namespace banc::analysis
