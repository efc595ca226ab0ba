#include "engine/run/RestWatch.h"

#include <algorithm>
#include <cmath>

#include "engine/analysis/Sampled.h"

namespace banc {

RestJudgement JudgeRest(const std::vector<float>& measure, double period)
{
    RestJudgement judgement;
    const int n = static_cast<int>(measure.size());
    judgement.seconds = n * period;
    const int count = std::min(n, kRestWindowPoints);
    judgement.points = count;
    if (count < 3) return judgement;
    // The trend line over the window's points, its slope per point.
    const std::vector<double> window(measure.end() - count, measure.end());
    const analysis::Line line = analysis::LineOf(window, 0, count, 1.0);
    double residuals = 0;
    for (int k = 0; k < count; ++k) {
        const double residual = window[static_cast<std::size_t>(k)] - line.ValueAt(k);
        residuals += residual * residual;
    }
    judgement.mean = line.at;
    judgement.noise = std::sqrt(residuals / (count - 2));  // two degrees of freedom go to the line
    judgement.drift = line.slope * (count - 1);
    judgement.steady = count == kRestWindowPoints && std::fabs(judgement.drift) <= judgement.noise;
    return judgement;
}

bool RestOver(const RestJudgement& judgement, double stabilisation)
{
    return judgement.steady || (judgement.points == kRestWindowPoints && judgement.seconds >= stabilisation);
}

}  // namespace banc
