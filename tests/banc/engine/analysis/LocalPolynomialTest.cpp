#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "engine/analysis/LocalPolynomial.h"

namespace banc::analysis {
namespace {

TEST(LocalPolynomial, FollowsACubicExactlyToTheEnds)
{
    // y = 2 − t + 0.5 t² − 0.1 t³, y' = −1 + t − 0.3 t², every 0.1 s.
    std::vector<double> y;
    for (int i = 0; i < 60; ++i) {
        const double t = i * 0.1;
        y.push_back(2 - t + 0.5 * t * t - 0.1 * t * t * t);
    }
    const SmoothedCurve smoothed = SmoothLocally(y, 0.1, 7);
    for (int i : {0, 3, 30, 59}) {
        const double t = i * 0.1;
        EXPECT_NEAR(smoothed.value[static_cast<std::size_t>(i)], y[static_cast<std::size_t>(i)], 1e-9) << i;
        EXPECT_NEAR(smoothed.slope[static_cast<std::size_t>(i)], -1 + t - 0.3 * t * t, 1e-8) << i;
    }
}

TEST(LocalPolynomial, ItsSlopesScatterAsItsNoiseSays)
{
    // White noise of deviation 1: the slopes' deviation, away from the ends,
    // is SlopeNoise's, to within the scatter of some 1,000 independent windows.
    std::mt19937 engine(3);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<double> noise(20000);
    for (double& value : noise) value = gauss(engine);
    constexpr int kHalfWidth = 10;
    const SmoothedCurve smoothed = SmoothLocally(noise, 0.1, kHalfWidth);
    double squares = 0;
    int count = 0;
    for (std::size_t i = kHalfWidth; i + kHalfWidth < noise.size(); ++i, ++count)
        squares += smoothed.slope[i] * smoothed.slope[i];
    EXPECT_NEAR(std::sqrt(squares / count) / SlopeNoise(0.1, kHalfWidth), 1, 0.05);
    // Wider, quieter: as the window's span to the power 3/2.
    EXPECT_NEAR(SlopeNoise(0.1, 40) / SlopeNoise(0.1, 10), std::pow(81.0 / 21, -1.5), 0.02);
}

}  // namespace
}  // namespace banc::analysis
