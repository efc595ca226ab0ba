#include <cmath>

#include <gtest/gtest.h>

#include "SyntheticResponse.h"
#include "engine/analysis/GraphicMethods.h"
#include "engine/analysis/StepDetection.h"

namespace banc::analysis {
namespace {

using test::Record;
using test::Synthetic;

// A first order of 20 s with 1.5 s of delay, sampled every 0.25 s over 8
// time constants: its crossings are read between points to well within 0.01 s,
// its final level to within 1e-3 of the change.
Synthetic FirstOrder(double gain = 0.8)
{
    Synthetic s{{ModelKind::FirstOrderDelay, gain, 20.0, 1.5}};
    s.period = 0.25;
    return s;
}

struct Read {
    StepAnalysed step;
    std::optional<MethodResult> broida, twoPoints, strejc;
};

Read ReadMethods(const Synthetic& synthetic)
{
    const StepRecord record = Record(synthetic);
    const DetectedStep found = DetectStep(record);
    EXPECT_EQ(found.refusal, "");
    const ResponseReading reading(record, found.step);
    return {found.step, Broida(reading, found.step), TwoPoints(reading, found.step), Strejc(reading, found.step)};
}

// The time after the step at which a first order crosses `fraction`: θ + τ ln(1 / (1 − fraction)).
double Crossing(double fraction, double tau = 20, double theta = 1.5)
{
    return theta + tau * std::log(1 / (1 - fraction));
}

TEST(GraphicMethods, BroidaReadsTwentyEightAndFortyPercent)
{
    const Read read = ReadMethods(FirstOrder());
    ASSERT_TRUE(read.broida);
    EXPECT_EQ(read.broida->key, "broida");
    EXPECT_EQ(read.broida->label, "Bro\xEF" "da (28 % et 40 %)");
    const double t28 = Crossing(0.28), t40 = Crossing(0.40);
    ASSERT_EQ(read.broida->points.size(), 2u);
    EXPECT_NEAR(read.broida->points[0].t, 10 + t28, 0.01);            // the step at 40 points of 0.25 s
    EXPECT_NEAR(read.broida->points[0].value, 10 + 0.28 * 40, 0.01);  // the final level read to 1e-3
    EXPECT_NEAR(read.broida->points[1].t, 10 + t40, 0.01);
    EXPECT_NEAR(read.broida->points[1].value, 10 + 0.40 * 40, 0.01);
    const ProcessModel& model = read.broida->model;
    EXPECT_EQ(model.kind, ModelKind::FirstOrderDelay);
    EXPECT_NEAR(model.gain, 0.8, 5e-4);
    // τ = 5.5 (t40 − t28) = 20.055 s, θ = 2.8 t28 − 1.8 t40 = 1.506 s for this first order.
    EXPECT_NEAR(model.timeConstant, 5.5 * (t40 - t28), 0.1);
    EXPECT_NEAR(model.delay, 2.8 * t28 - 1.8 * t40, 0.05);
    EXPECT_FALSE(read.broida->tangent);
}

TEST(GraphicMethods, TwoPointsGiveAFirstOrderBack)
{
    const Read read = ReadMethods(FirstOrder());
    ASSERT_TRUE(read.twoPoints);
    EXPECT_EQ(read.twoPoints->key, "deux_points");
    EXPECT_EQ(read.twoPoints->label, "28,3 % et 63,2 %");
    const double t28 = Crossing(0.283), t63 = Crossing(0.632);
    ASSERT_EQ(read.twoPoints->points.size(), 2u);
    EXPECT_NEAR(read.twoPoints->points[0].t, 10 + t28, 0.01);
    EXPECT_NEAR(read.twoPoints->points[1].t, 10 + t63, 0.01);
    EXPECT_NEAR(read.twoPoints->points[1].value, 10 + 0.632 * 40, 0.01);
    // τ = 1.5 (t63 − t28), θ = t63 − τ: 19.98 s and 1.50 s.
    EXPECT_NEAR(read.twoPoints->model.timeConstant, 1.5 * (t63 - t28), 0.03);
    EXPECT_NEAR(read.twoPoints->model.delay, t63 - 1.5 * (t63 - t28), 0.02);
}

TEST(GraphicMethods, AReverseActingProcessReadsTheSameTimes)
{
    const Read read = ReadMethods(FirstOrder(-0.8));
    ASSERT_TRUE(read.broida && read.twoPoints && read.strejc);
    EXPECT_NEAR(read.broida->model.gain, -0.8, 5e-4);
    EXPECT_NEAR(read.broida->points[0].value, 10 - 0.28 * 40, 0.01);
    EXPECT_NEAR(read.twoPoints->model.gain, -0.8, 5e-4);
    EXPECT_NEAR(read.twoPoints->model.timeConstant, 1.5 * (Crossing(0.632) - Crossing(0.283)), 0.03);
    EXPECT_NEAR(read.strejc->model.gain, -0.8, 5e-4);
    EXPECT_EQ(read.strejc->model.order, 1);
}

TEST(GraphicMethods, StrejcFindsTwoForTwoEqualLags)
{
    // (1 + 60 s·s)^-2 × 0.8: the inflection at t = τ, at 1 − 2/e of the change,
    // with the slope 0.8 Δu / (e τ); the tangent cuts the rest at Tu = (3 − e) τ
    // and spans Ta = e τ: Tu / Ta = 0.1036, so n = 2, τ = Ta / 2.718 and
    // θ = Tu − 0.104 Ta, below 0, so 0.
    Synthetic lags{{ModelKind::Strejc, 0.8, 60.0, 0.0, 2}};
    lags.period = 1;
    const Read read = ReadMethods(lags);
    ASSERT_TRUE(read.strejc);
    EXPECT_EQ(read.strejc->key, "strejc");
    EXPECT_EQ(read.strejc->label, "Strejc");
    const ProcessModel& model = read.strejc->model;
    EXPECT_EQ(model.kind, ModelKind::Strejc);
    EXPECT_EQ(model.order, 2);
    EXPECT_NEAR(model.gain, 0.8, 5e-4);
    EXPECT_NEAR(model.timeConstant, 60 * std::exp(1.0) / 2.718, 0.3);
    EXPECT_EQ(model.delay, 0);
    ASSERT_EQ(read.strejc->points.size(), 1u);
    EXPECT_NEAR(read.strejc->points[0].t, 40 + 60, 1.0);  // the steepest point, to a sample
    ASSERT_TRUE(read.strejc->tangent);
    const auto [from, to] = *read.strejc->tangent;
    EXPECT_NEAR(from.t, 40 + (3 - std::exp(1.0)) * 60, 0.3);
    EXPECT_DOUBLE_EQ(from.value, 10);
    EXPECT_NEAR(to.t - from.t, std::exp(1.0) * 60, 0.3);
    EXPECT_NEAR(to.value, 50, 0.01);
}

// Three equal lags: the inflection at t = 2τ, at 1 − 5/e² of the change,
// with the slope 2/e² per τ: Ta = 3.6945 τ, Tu = (2 − (1 − 5/e²) e²/2) τ = 0.8055 τ.
double ThreeLagsTa(double tau) { return 3.6945 * tau; }
double ThreeLagsTu(double tau, double delay) { return delay + (2 - (1 - 5 / std::exp(2.0)) * std::exp(2.0) / 2) * tau; }

TEST(GraphicMethods, StrejcFindsThreeForThreeEqualLagsAndKeepsTheExtraDelay)
{
    // With 6 s of delay, Tu / Ta = 0.272: n = 3, θ = Tu − 0.218 Ta = 6 s.
    Synthetic lags{{ModelKind::Strejc, 0.8, 30.0, 6.0, 3}};
    lags.period = 0.5;
    const Read read = ReadMethods(lags);
    ASSERT_TRUE(read.strejc);
    const double ta = ThreeLagsTa(30), tu = ThreeLagsTu(30, 6);
    EXPECT_EQ(read.strejc->model.order, 3);
    EXPECT_NEAR(read.strejc->model.timeConstant, ta / 3.695, 0.15);
    EXPECT_NEAR(read.strejc->model.delay, tu - 0.218 * ta, 0.2);
}

TEST(GraphicMethods, ALongDelayRaisesStrejcsOrderAsTheTableSays)
{
    // With 12 s of delay, Tu / Ta = 0.327, beyond the 0.319 of n = 4: the
    // lessons' rule takes n = 4, τ = Ta / 4.463 = 24.8 s, θ = Tu − 0.319 Ta = 0.85 s.
    Synthetic lags{{ModelKind::Strejc, 0.8, 30.0, 12.0, 3}};
    lags.period = 0.5;
    const Read read = ReadMethods(lags);
    ASSERT_TRUE(read.strejc);
    const double ta = ThreeLagsTa(30), tu = ThreeLagsTu(30, 12);
    EXPECT_EQ(read.strejc->model.order, 4);
    EXPECT_NEAR(read.strejc->model.timeConstant, ta / 4.463, 0.15);
    EXPECT_NEAR(read.strejc->model.delay, tu - 0.319 * ta, 0.2);
}

TEST(GraphicMethods, StrejcOnAFirstOrderFindsOne)
{
    const Read read = ReadMethods(FirstOrder());
    ASSERT_TRUE(read.strejc);
    EXPECT_EQ(read.strejc->model.order, 1);
    // The tangent at a first order's start is the curve's own: Ta = τ, Tu = θ,
    // as far as the smoothing lets the corner be read.
    EXPECT_NEAR(read.strejc->model.timeConstant, 20, 0.06 * 20);
    EXPECT_NEAR(read.strejc->model.delay, 1.5, 0.25);
}

TEST(GraphicMethods, NoiseDoesNotMakeStrejcsInflection)
{
    // With 1 % of noise the tangent is drawn through it, as by eye: a first
    // order stays one lag and two lags stay two, whatever the draw.
    for (unsigned seed = 1; seed <= 5; ++seed) {
        Synthetic first = FirstOrder();
        first.noise = 0.4;
        first.seed = seed;
        const Read one = ReadMethods(first);
        ASSERT_TRUE(one.strejc);
        EXPECT_EQ(one.strejc->model.order, 1) << seed;
        Synthetic lags{{ModelKind::Strejc, 0.8, 60.0, 0.0, 2}};
        lags.period = 1;
        lags.noise = 0.4;
        lags.seed = seed;
        const Read two = ReadMethods(lags);
        ASSERT_TRUE(two.strejc);
        EXPECT_EQ(two.strejc->model.order, 2) << seed;
        EXPECT_NEAR(two.strejc->model.timeConstant, 60, 6) << seed;
    }
}

TEST(StrejcTable, TheOrderIsTheLargestWhoseRatioIsReached)
{
    EXPECT_EQ(StrejcOrder(-0.02), 1);
    EXPECT_EQ(StrejcOrder(0.05), 1);
    EXPECT_EQ(StrejcOrder(0.075), 1);  // the air flow's 1.5 s delay on its 20 s lag
    EXPECT_EQ(StrejcOrder(0.088), 1);
    EXPECT_EQ(StrejcOrder(0.091), 2);   // two tanks in cascade at different levels
    EXPECT_EQ(StrejcOrder(0.1036), 2);  // two equal lags, a hair under the printed 0.104
    EXPECT_EQ(StrejcOrder(0.2), 2);
    EXPECT_EQ(StrejcOrder(0.218), 3);
    EXPECT_EQ(StrejcOrder(0.319), 4);
    EXPECT_EQ(StrejcOrder(0.45), 5);
    EXPECT_EQ(StrejcOrder(0.493), 6);
    EXPECT_EQ(StrejcOrder(0.9), 6);
}

TEST(StrejcTable, ItsRowsAreTheLessons)
{
    const double ratios[] = {0, 0.104, 0.218, 0.319, 0.410, 0.493};
    const double spans[] = {1, 2.718, 3.695, 4.463, 5.119, 5.699};
    for (int n = 1; n <= 6; ++n) {
        const StrejcRow row = StrejcTableRow(n);
        EXPECT_EQ(row.order, n);
        EXPECT_EQ(row.tuOverTa, ratios[n - 1]);
        EXPECT_EQ(row.taOverTau, spans[n - 1]);
    }
}

}  // namespace
}  // namespace banc::analysis
