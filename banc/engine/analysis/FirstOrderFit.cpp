#include <algorithm>
#include <cmath>

#include "engine/analysis/LeastSquares.h"
#include "engine/analysis/ModelFit.h"

namespace banc::analysis {

FitResult FitFirstOrder(const StepRecord& record, const StepAnalysed& step, const ProcessModel& start)
{
    // y(t) = rest + K Δu (1 − e^(−(t − θ)/τ)) after the delay θ, rest before it,
    // with τ = e^p and θ = q², so that every step of the optimiser keeps
    // τ > 0 and θ ≥ 0; the rest is fitted too, so that a few noisy points
    // before the step do not bias the gain.
    const double commandStep = step.commandAfter - step.commandBefore;
    const ResponseFunction response = [commandStep](const Eigen::VectorXd& x, double t, Gradient gradient) {
        const double gain = x[1], tau = std::exp(x[2]), q = x[3];
        const double s = t - q * q;
        gradient.setZero();
        gradient[0] = 1;
        if (s <= 0) return x[0];
        const double decay = std::exp(-s / tau);
        gradient[1] = commandStep * (1 - decay);
        gradient[2] = -gain * commandStep * decay * s / tau;   // ∂/∂τ · τ
        gradient[3] = -gain * commandStep * decay / tau * 2 * q;  // ∂/∂θ · 2q
        return x[0] + gain * commandStep * (1 - decay);
    };
    // The delay's start off zero: at θ = q² = 0 its derivative would vanish.
    const double startDelay = std::max(start.delay, 0.5 * record.period);
    Eigen::VectorXd x(4);
    x << step.measureBefore, start.gain, std::log(start.timeConstant), std::sqrt(startDelay);
    const LeastSquaresFit fit = FitLeastSquares(response, record, step.stepTime, x);

    ProcessModel model;
    model.kind = ModelKind::FirstOrderDelay;
    model.gain = fit.parameters[1];
    model.timeConstant = std::exp(fit.parameters[2]);
    model.delay = fit.parameters[3] * fit.parameters[3];
    return Reported(fit, model);
}

}  // namespace banc::analysis
