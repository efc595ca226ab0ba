#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/analysis/CardPidLaw.h"
#include "engine/analysis/Prediction.h"

namespace banc::analysis {
namespace {

CardPid Proportional(double k1, double period)
{
    CardPid pid;
    pid.k1 = k1;
    pid.k2 = 1;
    pid.integralAction = false;
    pid.period = period;
    return pid;
}

// A scale where the record's units are the loop's, with limits out of the way.
const LoopScale kSameUnits{1.0, 1.0, -1e9, 1e9};

TEST(PredictedLoop, APLoopOnAFirstOrderSettlesAtKKpOverOnePlusKKp)
{
    // K = 0.5 %/%, τ = 2 s, K1 = 3, sampled every 50 ms, recorded every 100 ms,
    // the setpoint stepping from 0 to 30 % after 1 s. On the analog bench's scale
    // the loop's units are the record's times 3264/100, which the ratio ignores.
    const ProcessModel model{ModelKind::FirstOrderDelay, 0.5, 2.0, 0.0};
    const LoopPrediction p = PredictLoop(model, LoopScale{}, Proportional(3, 0.05), {0, 30, 1.0, 30, 0.1});
    ASSERT_EQ(p.measure.size(), 300u);
    EXPECT_DOUBLE_EQ(p.period, 0.1);
    // The discrete loop: y(k+1) = a y(k) + (1 - a) K Kp (r - y(k)), a = e^(-T/τ),
    // so y(k) = y∞ (1 - λ^k) with λ = a - K Kp (1 - a) and y∞ = r K Kp / (1 + K Kp).
    const double a = std::exp(-0.05 / 2), lambda = a - 1.5 * (1 - a), final = 30 * 1.5 / 2.5;
    // The generator's time starts a period before the first sample: the step is at sample 19, point 9.5.
    for (int point = 0; point < 300; ++point) {
        const int sample = 2 * point;
        const double expected = sample <= 19 ? 0 : final * (1 - std::pow(lambda, sample - 19));
        ASSERT_NEAR(p.measure[static_cast<std::size_t>(point)], expected, 1e-9) << point;
        EXPECT_EQ(p.setpoint[static_cast<std::size_t>(point)], sample >= 19 ? 30 : 0) << point;
        // The command in percent: K1 (r - y).
        ASSERT_NEAR(p.command[static_cast<std::size_t>(point)],
                    3 * (p.setpoint[static_cast<std::size_t>(point)] - expected), 1e-9);
    }
    ASSERT_TRUE(p.figures.final.has_value());
    EXPECT_NEAR(*p.figures.final, 18.0, 1e-3);
    EXPECT_EQ(p.figures.verdict, StepVerdict::Settled);
    EXPECT_NEAR(*p.figures.overshoot, 0.0, 1e-4);
}

TEST(PredictedLoop, TheRecordsUnitsAreTurnedIntoTheLoops)
{
    // A speed loop: the record in tr/min and % of the command, the loop in
    // counts a window (12.288 tr/min each) and command counts (1024 = 100 %).
    // K = 20 tr/min per %: 20 x (100/1024) / 12.288 counts per count.
    const LoopScale motor{12.288, 100.0 / 1024, -1024, 1024};
    const ProcessModel model{ModelKind::FirstOrderDelay, 20.0, 0.1, 0.0};
    const LoopPrediction p = PredictLoop(model, motor, Proportional(4, 0.01), {0, 491.52, 0, 2, 0.01});
    const double loopGain = 20 * (100.0 / 1024) / 12.288 * 4;
    EXPECT_NEAR(p.measure.back(), 491.52 * loopGain / (1 + loopGain), 1e-6);
    // 40 counts asked (491.52 tr/min), 4 x 40 = 160 counts of command at first: 15.625 %.
    EXPECT_NEAR(p.command.front(), 15.625, 1e-9);
}

TEST(PredictedLoop, TheDelayIsTakenToTheFractionOfAPeriod)
{
    // θ = 7.4 periods: until the first command that moved reaches the plant
    // (sample 8, plus θ: 0.77 s) the plant answers the first command alone, r K1.
    for (const ProcessModel& model :
         {ProcessModel{ModelKind::FirstOrderDelay, 0.5, 2.0, 0.37}, ProcessModel{ModelKind::Strejc, 0.5, 0.4, 0.37, 3},
          ProcessModel{ModelKind::Integrating, 0.5, 0.0, 0.37}}) {
        const LoopPrediction p = PredictLoop(model, kSameUnits, Proportional(2, 0.05), {0, 10, 0, 1, 0.05});
        ASSERT_EQ(p.measure.size(), 20u);
        for (int k = 0; k <= 15; ++k)
            EXPECT_NEAR(p.measure[static_cast<std::size_t>(k)], model.StepResponse(k * 0.05, 20), 1e-9) << k;
        EXPECT_NE(p.measure[16], model.StepResponse(0.8, 20));
    }
}

TEST(PredictedLoop, TheLoopStartsAtRestOnItsRestSetpoint)
{
    // A PI rests on its setpoint, the command holding the plant there: 40 / 0.8 = 50 %.
    CardPid pi = Proportional(1, 0.1);
    pi.integralAction = true;
    pi.integral = 0.05;
    const ProcessModel model{ModelKind::FirstOrderDelay, 0.8, 5.0, 1.0};
    const LoopPrediction p = PredictLoop(model, LoopScale{}, pi, {40, 50, 2.0, 60, 0.1});
    for (int k = 0; k < 19; ++k) {
        EXPECT_NEAR(p.measure[static_cast<std::size_t>(k)], 40, 1e-9);
        EXPECT_NEAR(p.command[static_cast<std::size_t>(k)], 50, 1e-9);
    }
    EXPECT_NEAR(*p.figures.final, 50, 0.05);
    // A P loop rests below it: y = 0.8 x 40 / (1 + 0.8).
    const LoopPrediction q = PredictLoop(model, LoopScale{}, Proportional(1, 0.1), {40, 50, 2.0, 60, 0.1});
    EXPECT_NEAR(q.measure.front(), 32 / 1.8, 1e-9);
}

TEST(PredictedLoop, TheIntegralDoesNotWindUpWhileTheCommandIsHeld)
{
    // A PI asking 3 x 80 % at the step: the command stays at 100 % for a while.
    const ProcessModel model{ModelKind::FirstOrderDelay, 1.0, 5.0, 0.0};
    CardPid pi = Proportional(3, 0.1);
    pi.integralAction = true;
    pi.integral = 0.1;
    const LoopPrediction p = PredictLoop(model, LoopScale{}, pi, {0, 80, 0, 60, 0.1});
    EXPECT_DOUBLE_EQ(p.command.front(), 100.0);
    ASSERT_TRUE(p.figures.overshoot.has_value());
    EXPECT_LT(*p.figures.overshoot, 1.0);
    // The same loop with an integral that keeps accumulating overshoots by a fifth.
    const double a = std::exp(-0.1 / 5);
    double y = 0, sum = 0, peak = 0;
    for (int k = 0; k < 600; ++k) {
        sum += 0.1 * (80 - y);
        const double u = std::clamp(3 * (80 - y) + sum, 0.0, 100.0);
        peak = std::max(peak, y);
        y = a * y + (1 - a) * u;
    }
    EXPECT_GT((peak - 80) / 80 * 100, 15.0);
}

TEST(CardPid, TheFilteredDerivativeOfARampSettlesAtTdTimesTheSlope)
{
    // Td = 2 s, α = 5, T = 0.1 s: p = e^(-αT/Td), d = (Td / T)(1 - p).
    CardPid pid;
    pid.k2 = 1;
    pid.proportionalAction = pid.integralAction = false;
    pid.derivativeAction = true;
    pid.pole = std::exp(-0.25);
    pid.derivative = 20 * (1 - pid.pole);
    CardPidLaw law(pid, -1e9, 1e9);
    // A ramp of 3 a second: D(k) = d s T (1 - p^k) / (1 - p) = Td s (1 - p^k).
    EXPECT_EQ(law.Step(0, 0), 0.0);  // no kick at the first sample
    double u = 0;
    for (int k = 1; k <= 200; ++k) {
        u = law.Step(3 * 0.1 * k, 0);
        if (k <= 20) {
            EXPECT_NEAR(u, 6 * (1 - std::pow(pid.pole, k)), 1e-12) << k;
        }
    }
    EXPECT_NEAR(u, 6.0, 1e-12);
}

TEST(CardPid, TheDerivativeOnTheMeasurementIgnoresTheSetpointsStep)
{
    CardPid pid;
    pid.k2 = 2;
    pid.proportionalAction = pid.integralAction = false;
    pid.derivativeAction = pid.derivativeOnMeasurement = true;
    pid.pole = 0.5;
    pid.derivative = 1;
    CardPidLaw law(pid, -1e9, 1e9);
    EXPECT_EQ(law.Step(0, 0), 0.0);
    EXPECT_EQ(law.Step(50, 0), 0.0);
    EXPECT_EQ(law.Step(50, 1), -2.0);  // K2 d (-1 - 0)
    EXPECT_EQ(law.Step(50, 1), -1.0);  // K2 p D
}

TEST(CardPid, TheCommandIsHeldWithinItsLimits)
{
    CardPid pid = Proportional(10, 0.1);
    CardPidLaw law(pid, 0, 3264);
    EXPECT_EQ(law.Step(1000, 0), 3264.0);
    EXPECT_EQ(law.Step(0, 1000), 0.0);
    EXPECT_EQ(law.Step(100, 90), 100.0);
}

TEST(MeasuredAgainstPredicted, TheIntegralOfTheAbsoluteDifferenceOverTheCommonSpan)
{
    // Trapezoids: (0 + 1)/2 x 0.5 + (1 + 2)/2 x 0.5; the fourth point has no partner.
    EXPECT_DOUBLE_EQ(IntegralAbsoluteDifference({0, 1, -2, 7}, {0, 0, 0}, 0.5), 1.0);
    EXPECT_DOUBLE_EQ(IntegralAbsoluteDifference({5}, {0}, 0.5), 0.0);
    EXPECT_DOUBLE_EQ(IntegralAbsoluteDifference({}, {}, 0.5), 0.0);
}

}  // namespace
}  // namespace banc::analysis
