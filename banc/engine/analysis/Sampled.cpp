#include "engine/analysis/Sampled.h"

#include <algorithm>
#include <cmath>

namespace banc::analysis {
namespace {

constexpr double kMadToDeviation = 1.4826;            // for normal noise
const double kSecondDifferenceGain = std::sqrt(6.0);  // of white noise: y[i-1] - 2 y[i] + y[i+1]

double At(const std::vector<double>& y, int i) { return y[static_cast<std::size_t>(i)]; }

double Median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

double MeanOf(const std::vector<double>& y, int from, int to)
{
    double sum = 0;
    for (int i = from; i < to; ++i) sum += At(y, i);
    return to > from ? sum / (to - from) : 0;
}

double DeviationOf(const std::vector<double>& y, int from, int to)
{
    if (to - from < 2) return 0;
    const double mean = MeanOf(y, from, to);
    double squares = 0;
    for (int i = from; i < to; ++i) squares += (At(y, i) - mean) * (At(y, i) - mean);
    return std::sqrt(squares / (to - from - 1));
}

Line LineOf(const std::vector<double>& y, int from, int to, double period)
{
    Line line;
    const double middle = (from + to - 1) / 2.0;
    line.time = middle * period;
    line.at = MeanOf(y, from, to);
    double moment = 0, spread = 0;
    for (int i = from; i < to; ++i) {
        moment += (i - middle) * (At(y, i) - line.at);
        spread += (i - middle) * (i - middle);
    }
    if (spread > 0) line.slope = moment / spread / period;
    return line;
}

double NoiseFromDifferences(const std::vector<double>& y, int from, int to)
{
    if (to - from < 3) return 0;
    std::vector<double> second;
    second.reserve(static_cast<std::size_t>(to - from - 2));
    for (int i = from + 1; i + 1 < to; ++i) second.push_back(At(y, i - 1) - 2 * At(y, i) + At(y, i + 1));
    const double centre = Median(second);
    for (double& d : second) d = std::abs(d - centre);
    return kMadToDeviation * Median(second) / kSecondDifferenceGain;
}

}  // namespace banc::analysis
