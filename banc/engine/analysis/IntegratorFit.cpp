#include <algorithm>
#include <cmath>

#include "engine/analysis/LeastSquares.h"
#include "engine/analysis/ModelFit.h"
#include "engine/analysis/Sampled.h"

namespace banc::analysis {

FitResult FitIntegrator(const StepRecord& record, const StepAnalysed& step)
{
    // The change y(t) − rest = K Δu (t − θ) after the delay θ = q².
    const double commandStep = step.commandAfter - step.commandBefore;
    const ResponseFunction response = [commandStep](const Eigen::VectorXd& x, double t, Gradient gradient) {
        const double gain = x[0], q = x[1];
        const double s = t - q * q;
        gradient.setZero();
        if (s <= 0) return 0.0;
        gradient[0] = commandStep * s;
        gradient[1] = -gain * commandStep * 2 * q;
        return gain * commandStep * s;
    };
    // The start: the ramp of the record's last half, and where it leaves the rest.
    const int count = static_cast<int>(record.measure.size());
    const Line ramp = LineOf(record.measure, (step.stepIndex + count) / 2, count, record.period);
    const double leaves = ramp.time - (ramp.at - step.measureBefore) / ramp.slope - step.stepTime;
    const double startDelay = std::max(leaves, 0.5 * record.period);
    Eigen::VectorXd x(2);
    x << ramp.slope / commandStep, std::sqrt(startDelay);
    const LeastSquaresFit fit = FitLeastSquares(response, record, WholeResponse(step), x);

    ProcessModel model;
    model.kind = ModelKind::Integrating;
    model.gain = fit.parameters[0];
    model.timeConstant = 0;
    model.delay = fit.parameters[1] * fit.parameters[1];
    return Reported(fit, model);
}

}  // namespace banc::analysis
