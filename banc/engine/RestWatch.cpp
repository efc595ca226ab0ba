#include "engine/RestWatch.h"

#include <algorithm>
#include <cmath>

namespace banc {

RestJudgement JudgeRest(const std::vector<float>& measure, double period)
{
    RestJudgement judgement;
    const int n = static_cast<int>(measure.size());
    judgement.seconds = n * period;
    const int count = std::min(n, kRestWindowPoints);
    judgement.points = count;
    if (count < 3) return judgement;
    const auto first = measure.end() - count;
    double mean = 0;
    for (auto it = first; it != measure.end(); ++it) mean += *it;
    mean /= count;
    const double centre = (count - 1) / 2.0;
    double covariance = 0, variance = 0;
    for (int k = 0; k < count; ++k) {
        covariance += (k - centre) * (first[k] - mean);
        variance += (k - centre) * (k - centre);
    }
    const double slope = covariance / variance;
    double residuals = 0;
    for (int k = 0; k < count; ++k) {
        const double residual = first[k] - (mean + slope * (k - centre));
        residuals += residual * residual;
    }
    judgement.mean = mean;
    judgement.noise = std::sqrt(residuals / (count - 2));  // two degrees of freedom go to the line
    judgement.drift = slope * (count - 1);
    judgement.steady = count == kRestWindowPoints && std::fabs(judgement.drift) <= judgement.noise;
    return judgement;
}

bool RestOver(const RestJudgement& judgement, double stabilisation)
{
    return judgement.steady || (judgement.points == kRestWindowPoints && judgement.seconds >= stabilisation);
}

}  // namespace banc
