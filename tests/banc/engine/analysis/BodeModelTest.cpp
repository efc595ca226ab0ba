#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "engine/analysis/BodeModel.h"

namespace banc::analysis {
namespace {

constexpr double kPi = std::numbers::pi;

double Hz(double omega) { return omega / (2 * kPi); }

TEST(LogFrequencies, SpacesThePointsEvenlyInDecades)
{
    const std::vector<double> f = LogFrequencies(0.01, 1, 3);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_DOUBLE_EQ(f[0], 0.01);
    EXPECT_NEAR(f[1], 0.1, 1e-15);
    EXPECT_DOUBLE_EQ(f[2], 1);
    // Four points over a factor 8: a factor 2 between neighbours.
    const std::vector<double> g = LogFrequencies(0.5, 4, 4);
    EXPECT_NEAR(g[1], 1, 1e-12);
    EXPECT_NEAR(g[2], 2, 1e-12);
    EXPECT_EQ(LogFrequencies(0.5, 4, 1), std::vector<double>{0.5});
    EXPECT_TRUE(LogFrequencies(0, 4, 3).empty());
}

TEST(ModelResponse, AFirstOrderIsDownThreeDecibelsAndFortyFiveDegreesAtItsCorner)
{
    const ProcessModel model{ModelKind::FirstOrderDelay, 2, 10, 0};
    const BodePoint p = PointOf(Hz(0.1), ModelResponse(model, Hz(0.1)));
    EXPECT_NEAR(p.gain, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(p.gainDb, 20 * std::log10(std::sqrt(2.0)), 1e-12);
    EXPECT_NEAR(p.phaseDeg, -45, 1e-10);
    EXPECT_NEAR(ModelPhaseDeg(model, Hz(0.1)), -45, 1e-10);
}

TEST(ModelResponse, ADelayTurnsThePhaseOnWithoutLosingATurn)
{
    // K = 1, tau = 1 s, 2 s of delay at 3 rad/s: -atan 3 - 6 rad = -71.565 - 343.775 degrees.
    const ProcessModel model{ModelKind::FirstOrderDelay, 1, 1, 2};
    const double expected = -std::atan(3.0) * 180 / kPi - 6 * 180 / kPi;
    EXPECT_NEAR(ModelPhaseDeg(model, Hz(3)), expected, 1e-10);
    EXPECT_NEAR(expected, -415.34, 0.01);
    const std::vector<BodePoint> curve = ModelCurve(model, Hz(3), Hz(3), 1);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_NEAR(curve[0].phaseDeg, expected, 1e-10);
    EXPECT_NEAR(curve[0].gain, 1 / std::sqrt(10.0), 1e-12);
}

TEST(ModelResponse, StrejcsLagsMultiply)
{
    // Two lags of 5 s at 0.2 rad/s: each 1/sqrt 2 and -45 degrees.
    const ProcessModel model{ModelKind::Strejc, 3, 5, 0, 2};
    const BodePoint p = PointOf(Hz(0.2), ModelResponse(model, Hz(0.2)));
    EXPECT_NEAR(p.gain, 1.5, 1e-12);
    EXPECT_NEAR(p.phaseDeg, -90, 1e-10);
}

TEST(ModelResponse, AnIntegratorFallsTwentyDecibelsADecadeFromMinusNinetyDegrees)
{
    // 0.5 a second, 1 s of delay, at 0.5 rad/s: gain 1, phase -90 - 28.648 degrees.
    const ProcessModel model{ModelKind::Integrating, 0.5, 0, 1};
    const BodePoint p = PointOf(Hz(0.5), ModelResponse(model, Hz(0.5)));
    EXPECT_NEAR(p.gain, 1, 1e-12);
    EXPECT_NEAR(ModelPhaseDeg(model, Hz(0.5)), -90 - 0.5 * 180 / kPi, 1e-10);
    EXPECT_NEAR(PointOf(Hz(5), ModelResponse(model, Hz(5))).gainDb, -20, 1e-10);
}

TEST(ModelResponse, ANegativeGainStartsFromMinusOneEightyDegrees)
{
    const ProcessModel model{ModelKind::FirstOrderDelay, -2, 10, 0};
    EXPECT_NEAR(ModelPhaseDeg(model, Hz(0.1)), -225, 1e-10);
    EXPECT_NEAR(PointOf(Hz(0.1), ModelResponse(model, Hz(0.1)), -225).phaseDeg, -225, 1e-10);
}

TEST(SweepSpan, GoesFromATenthToTenTimesTheInverseTimeConstant)
{
    // The air flow's 20 s: 0.005 to 0.5 rad/s.
    FrequencySpan span;
    ASSERT_TRUE(SpanFor({ModelKind::FirstOrderDelay, 0.4, 20, 1.5}, span));
    EXPECT_NEAR(span.lowHz, 0.005 / (2 * kPi), 1e-15);
    EXPECT_NEAR(span.highHz, 0.5 / (2 * kPi), 1e-15);
    // Strejc's n lags of tau as one of n tau.
    ASSERT_TRUE(SpanFor({ModelKind::Strejc, 1, 30, 0, 2}, span));
    EXPECT_NEAR(span.highHz, 10.0 / 60 / (2 * kPi), 1e-15);
    EXPECT_FALSE(SpanFor({ModelKind::Integrating, 1, 0, 2}, span));
}

}  // namespace
}  // namespace banc::analysis
