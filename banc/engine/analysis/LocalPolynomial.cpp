#include "engine/analysis/LocalPolynomial.h"

#include <algorithm>
#include <cmath>

#include <Eigen/Dense>

namespace banc::analysis {
namespace {

constexpr int kDegree = 3;

using Powers = Eigen::Matrix<double, kDegree + 1, 1>;

Powers PowersOf(double x) { return {1, x, x * x, x * x * x}; }

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
            const Powers powers = PowersOf(x);
            normal.noalias() += powers * powers.transpose();
            moments += powers * y[static_cast<std::size_t>(j)];
        }
        const Eigen::VectorXd coefficients = normal.topLeftCorner(terms, terms).ldlt().solve(moments.head(terms));
        smoothed.value[static_cast<std::size_t>(i)] = coefficients[0];
        smoothed.slope[static_cast<std::size_t>(i)] = terms > 1 ? coefficients[1] / (halfWidth * period) : 0;
    }
    return smoothed;
}

double SlopeNoise(double period, int halfWidth)
{
    halfWidth = std::max(halfWidth, 1);
    Eigen::Matrix4d normal = Eigen::Matrix4d::Zero();
    for (int j = -halfWidth; j <= halfWidth; ++j) {
        const Powers powers = PowersOf(static_cast<double>(j) / halfWidth);
        normal.noalias() += powers * powers.transpose();
    }
    // The variance of a least-squares coefficient: the noise's times its diagonal term of the inverse.
    return std::sqrt(normal.inverse()(1, 1)) / (halfWidth * period);
}

}  // namespace banc::analysis
