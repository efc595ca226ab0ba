#include "engine/analysis/LocalPolynomial.h"

#include <algorithm>

#include <Eigen/Dense>

namespace banc::analysis {
namespace {

constexpr int kDegree = 3;

}  // namespace

SmoothedCurve SmoothLocally(const std::vector<double>& y, double period, int halfWidth)
{
    const int count = static_cast<int>(y.size());
    halfWidth = std::max(halfWidth, 1);
    SmoothedCurve smoothed;
    smoothed.value.resize(y.size());
    smoothed.slope.resize(y.size());
    for (int i = 0; i < count; ++i) {
        const int from = std::max(0, i - halfWidth), to = std::min(count, i + halfWidth + 1);
        const int terms = std::min(kDegree + 1, to - from);
        // Normal equations in x = (j - i) / halfWidth, within [-1, 1]: well conditioned at this degree.
        Eigen::Matrix4d normal = Eigen::Matrix4d::Zero();
        Eigen::Vector4d moments = Eigen::Vector4d::Zero();
        for (int j = from; j < to; ++j) {
            const double x = static_cast<double>(j - i) / halfWidth;
            Eigen::Vector4d powers(1, x, x * x, x * x * x);
            normal.noalias() += powers * powers.transpose();
            moments += powers * y[static_cast<std::size_t>(j)];
        }
        const Eigen::VectorXd coefficients =
            normal.topLeftCorner(terms, terms).ldlt().solve(moments.head(terms));
        smoothed.value[static_cast<std::size_t>(i)] = coefficients[0];
        smoothed.slope[static_cast<std::size_t>(i)] = terms > 1 ? coefficients[1] / (halfWidth * period) : 0;
    }
    return smoothed;
}

}  // namespace banc::analysis
