#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

#include "engine/analysis/FrequencyJudge.h"

namespace banc::analysis {
namespace {

constexpr double kPi = std::numbers::pi;

// A lag of gain `gain` and time constant `tau` driven from rest by a sine of
// amplitude 10 around 50 held every `period` s as a card holds it, the lag
// integrated exactly for each held value; its output sampled at each hold.
SweepSamples HeldLag(double hz, double gain, double tau, double period, int samples, double noise = 0,
                     double clipAbove = 1e9)
{
    SweepSamples record;
    const double a = std::exp(-period / tau);
    double x = 0;
    std::mt19937 generator(11);
    std::normal_distribution<double> gaussian(0, noise > 0 ? noise : 1);
    for (int k = 0; k < samples; ++k) {
        const double t = k * period;
        const double u = 50 + 10 * std::cos(2 * kPi * hz * t);
        record.times.push_back(t);
        record.command.push_back(u);
        const double measured = std::min(gain * 50 + x, clipAbove) + (noise > 0 ? gaussian(generator) : 0);
        record.measure.push_back(measured);
        x = a * x + (1 - a) * gain * (u - 50);
    }
    return record;
}

// Fed 32 points at a time, as the blocks come: the number fed when the judge was done.
int JudgeAsItGrows(FrequencyJudge& judge, const SweepSamples& whole)
{
    SweepSamples part;
    for (std::size_t k = 0; k < whole.times.size(); ++k) {
        part.times.push_back(whole.times[k]);
        part.command.push_back(whole.command[k]);
        part.measure.push_back(whole.measure[k]);
        if ((k + 1) % 32 == 0 && judge.Judge(part)) return static_cast<int>(k + 1);
    }
    return -1;
}

TEST(FrequencyJudge, ALagFromRestIsMeasuredOnceTwoPeriodsAgree)
{
    // 0.02 Hz on K = 0.5, tau = 20 s, held every 50 ms: 0.5 / (1 + j 0.8 pi), -68.3 degrees.
    const double hz = 0.02;
    FrequencyJudge judge(hz, 0.05);
    const int used = JudgeAsItGrows(judge, HeldLag(hz, 0.5, 20, 0.05, 20000));
    ASSERT_GT(used, 0);
    const std::complex<double> expected = 0.5 / (1.0 + std::complex<double>(0, 2 * kPi * hz * 20));
    EXPECT_NEAR(judge.Point().gain, std::abs(expected), 1e-4 * std::abs(expected));
    EXPECT_NEAR(judge.Point().phaseDeg, std::arg(expected) * 180 / kPi, 0.02);
    EXPECT_TRUE(judge.Point().trusted);
    EXPECT_EQ(judge.Point().flag, "");
    EXPECT_LT(judge.Point().distortionPct, 0.1);
    // The start from rest is seen in the first period, not afterwards; one whole period measured.
    EXPECT_GE(judge.TransientPeriods(), 1);
    EXPECT_EQ(judge.MeasuredPeriods(), 1);
    EXPECT_EQ(used / 1000, judge.TransientPeriods() + 1);
}

TEST(FrequencyJudge, TheCommandIsTakenAsHeldNotAsSampled)
{
    // The measurement is the sampled command itself: against the held command it
    // leads by half a sample, wT/2, and is larger by the hold's 1/sinc(wT/2).
    const double hz = 0.5, period = 0.1;
    SweepSamples record;
    for (int k = 0; k < 400; ++k) {
        record.times.push_back(k * period);
        record.command.push_back(std::cos(2 * kPi * hz * k * period));
    }
    record.measure = record.command;
    FrequencyJudge judge(hz, period);
    ASSERT_TRUE(judge.Judge(record));
    const double half = kPi * hz * period;
    EXPECT_NEAR(judge.Point().gain, half / std::sin(half), 1e-9);
    EXPECT_NEAR(judge.Point().phaseDeg, half * 180 / kPi, 1e-7);
}

TEST(FrequencyJudge, NoiseIsMeasuredOverMorePeriodsUntilTheGainIsKnown)
{
    // The lag's output of amplitude 0.5 x 10 / 2.7 = 1.86 in a noise of 1: one period of 1000 points
    // knows it to 2.4 %, so periods are added until the standard error is within 1.25 %.
    const double hz = 0.02;
    FrequencyJudge judge(hz, 0.05);
    ASSERT_GT(JudgeAsItGrows(judge, HeldLag(hz, 0.5, 20, 0.05, 40000, 1.0)), 0);
    EXPECT_GT(judge.MeasuredPeriods(), 3);
    const double error = judge.MeasureFit().amplitudeError / judge.MeasureFit().Amplitude();
    EXPECT_LE(error, 0.0125);
    const std::complex<double> expected = 0.5 / (1.0 + std::complex<double>(0, 2 * kPi * hz * 20));
    EXPECT_NEAR(judge.Point().gain, std::abs(expected), 4 * error * std::abs(expected));
    EXPECT_NEAR(judge.Point().phaseDeg, std::arg(expected) * 180 / kPi, 4 * error * 180 / kPi);
    EXPECT_TRUE(judge.Point().trusted);
    // The noise is most of what is left over: 1 against 1.86 / sqrt 2.
    EXPECT_NEAR(judge.Point().distortionPct, 100 / (std::abs(expected) * 10 / std::numbers::sqrt2), 5);
}

TEST(FrequencyJudge, ASaturatedMeasurementIsFlaggedNotTrusted)
{
    // A slow sine (the lag follows it to 0.5 x 10 / 1.08 = 4.6) clipped 2 above its centre.
    const double hz = 0.003;
    FrequencyJudge judge(hz, 0.05);
    ASSERT_GT(JudgeAsItGrows(judge, HeldLag(hz, 0.5, 20, 0.05, 200000, 0, 27)), 0);
    EXPECT_FALSE(judge.Point().trusted);
    EXPECT_EQ(judge.Point().flag.rfind("distorsion harmonique de ", 0), 0u) << judge.Point().flag;
    EXPECT_GT(judge.Point().distortionPct, 5);
}

TEST(FrequencyJudge, AMeasurementDrownedInNoiseForTooLongIsFlagged)
{
    // Measured at most 2 periods: a noise of 20 leaves the 1.86 of amplitude known to some 30 %.
    const double hz = 0.02;
    JudgeOptions options;
    options.longestMeasured = 2;
    FrequencyJudge judge(hz, 0.05, options);
    ASSERT_GT(JudgeAsItGrows(judge, HeldLag(hz, 0.5, 20, 0.05, 40000, 20)), 0);
    EXPECT_FALSE(judge.Point().trusted);
    EXPECT_EQ(judge.Point().flag.rfind("bruit : gain connu \xE0 ", 0), 0u) << judge.Point().flag;
}

}  // namespace
}  // namespace banc::analysis
