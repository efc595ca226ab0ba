#include "engine/analysis/SettledLevel.h"

#include <cmath>

#include "engine/analysis/LeastSquares.h"

namespace banc::analysis {
namespace {

// An approach fitted with a time constant longer than this many spans of the
// points fitted is a line, not an approach: the line's level stands.
constexpr double kLongestApproach = 10;

}  // namespace

double SettledLevel(const StepRecord& record, const ResponseEnd& end)
{
    const int count = static_cast<int>(record.measure.size());
    const double lastTime = (count - 1) * record.period;
    const double onLine = end.tail.ValueAt(lastTime);
    // The approach slows by e^(−Δ/T) from one quarter to the next.
    const double slowing = end.tail.slope / end.before.slope;
    if (!(slowing > 0 && slowing < 1)) return onLine;
    const double quarter = end.tailPoints * record.period;
    const double lag = quarter / std::log(1 / slowing);
    const int from = count - 2 * end.tailPoints;
    const double origin = from * record.period;
    // The start: the slope at the last point on that approach, and the level it leads to.
    const double level = onLine + end.tail.slope * std::exp(-(lastTime - end.tail.time) / lag) * lag;

    const ResponseFunction approach = [](const Eigen::VectorXd& x, double t, Gradient gradient) {
        const double amplitude = x[1], lagOf = std::exp(x[2]);
        const double decay = std::exp(-t / lagOf);
        gradient[0] = 1;
        gradient[1] = -decay;
        gradient[2] = -amplitude * decay * t / lagOf;  // ∂/∂T · T
        return x[0] - amplitude * decay;
    };
    Eigen::VectorXd x(3);
    x << level, level - end.before.ValueAt(origin), std::log(lag);
    const LeastSquaresFit fit = FitLeastSquares(approach, record, {from, origin, 0}, x);
    const double fittedLag = std::exp(fit.parameters[2]);
    if (!std::isfinite(fit.parameters[0]) || !(fittedLag < kLongestApproach * (lastTime - origin))) return onLine;
    return fit.parameters[0];
}

}  // namespace banc::analysis
