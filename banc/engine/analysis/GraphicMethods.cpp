#include "engine/analysis/GraphicMethods.h"

#include <algorithm>

namespace banc::analysis {
namespace {

ProcessModel FirstOrder(const StepAnalysed& step, double timeConstant, double delay)
{
    ProcessModel model;
    model.kind = ModelKind::FirstOrderDelay;
    model.gain = (step.measureFinal - step.measureBefore) / (step.commandAfter - step.commandBefore);
    model.timeConstant = timeConstant;
    // A delay read below zero is the readings' scatter: the curve starts at the step.
    model.delay = std::max(delay, 0.0);
    return model;
}

}  // namespace

std::optional<MethodResult> Broida(const ResponseReading& reading, const StepAnalysed& step)
{
    const std::optional<CurvePoint> p28 = reading.PointAt(0.28), p40 = reading.PointAt(0.40);
    if (!p28 || !p40) return std::nullopt;
    // Broïda: t28 and t40 from the step; τ = 5.5 (t40 − t28), θ = 2.8 t28 − 1.8 t40.
    const double t28 = p28->t - step.stepTime, t40 = p40->t - step.stepTime;
    const double tau = 5.5 * (t40 - t28);
    if (!(tau > 0)) return std::nullopt;
    return MethodResult{"broida",
                        "Bro\xEF" "da (28 % et 40 %)",
                        FirstOrder(step, tau, 2.8 * t28 - 1.8 * t40),
                        {*p28, *p40},
                        std::nullopt};
}

std::optional<MethodResult> TwoPoints(const ResponseReading& reading, const StepAnalysed& step)
{
    const std::optional<CurvePoint> p28 = reading.PointAt(0.283), p63 = reading.PointAt(0.632);
    if (!p28 || !p63) return std::nullopt;
    // A first order crosses 28.3 % at θ + τ/3 and 63.2 % at θ + τ:
    // τ = 1.5 (t63 − t28), θ = t63 − τ.
    const double t28 = p28->t - step.stepTime, t63 = p63->t - step.stepTime;
    const double tau = 1.5 * (t63 - t28);
    if (!(tau > 0)) return std::nullopt;
    return MethodResult{
        "deux_points", "28,3 % et 63,2 %", FirstOrder(step, tau, t63 - tau), {*p28, *p63}, std::nullopt};
}

}  // namespace banc::analysis
