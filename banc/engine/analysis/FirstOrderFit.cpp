#include <algorithm>
#include <cmath>

#include "engine/analysis/LeastSquares.h"
#include "engine/analysis/ModelFit.h"

namespace banc::analysis {

FitResult FitFirstOrder(const StepRecord& record, const StepAnalysed& step, const ProcessModel& start)
{
    // The change y(t) − rest = K Δu (1 − e^(−(t − θ)/τ)) after the delay θ,
    // with τ = e^p and θ = q², so that every step of the optimiser keeps
    // τ > 0 and θ ≥ 0. The gain is fitted with them: every point then tells
    // it, where the final level alone is as noisy as the tail is short. (Of
    // n lags, the first order that fits best ends a little above their level.)
    const double commandStep = step.commandAfter - step.commandBefore;
    const ResponseFunction response = [commandStep](const Eigen::VectorXd& x, double t, Gradient gradient) {
        const double gain = x[0], tau = std::exp(x[1]), q = x[2];
        const double s = t - q * q;
        gradient.setZero();
        if (s <= 0) return 0.0;
        const double decay = std::exp(-s / tau);
        gradient[0] = commandStep * (1 - decay);
        gradient[1] = -gain * commandStep * decay * s / tau;      // ∂/∂τ · τ
        gradient[2] = -gain * commandStep * decay / tau * 2 * q;  // ∂/∂θ · 2q
        return gain * commandStep * (1 - decay);
    };
    // The delay's start off zero: at θ = q² = 0 its derivative would vanish.
    const double startDelay = std::max(start.delay, 0.5 * record.period);
    Eigen::VectorXd x(3);
    x << start.gain, std::log(start.timeConstant), std::sqrt(startDelay);
    const LeastSquaresFit fit = FitLeastSquares(response, record, WholeResponse(step), x);

    ProcessModel model;
    model.kind = ModelKind::FirstOrderDelay;
    model.gain = fit.parameters[0];
    model.timeConstant = std::exp(fit.parameters[1]);
    model.delay = fit.parameters[2] * fit.parameters[2];
    return Reported(fit, model);
}

}  // namespace banc::analysis
