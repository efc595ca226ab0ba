#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "engine/analysis/BodeModel.h"
#include "engine/analysis/OpenLoop.h"

namespace banc::analysis {
namespace {

constexpr double kPi = std::numbers::pi;

BodePoint Point(double hz, double gainDb, double phaseDeg, bool trusted = true)
{
    BodePoint point;
    point.frequencyHz = hz;
    point.gainDb = gainDb;
    point.gain = std::pow(10, gainDb / 20);
    point.phaseDeg = phaseDeg;
    point.trusted = trusted;
    return point;
}

TEST(LoopMargins, AreReadBetweenPointsAgainstTheLogarithmOfTheFrequency)
{
    // From (1 Hz, +10 dB, -100) to (10 Hz, -10 dB, -200): 0 dB half way, at sqrt 10 Hz,
    // where the phase is -150 (margin 30); -180 at 0.8 of the way, 10^0.8 Hz, where the gain is -6 dB.
    const LoopMargins m = MarginsOf({Point(1, 10, -100), Point(10, -10, -200)});
    ASSERT_TRUE(m.gainCrossoverHz && m.phaseDeg && m.phaseCrossoverHz && m.gainDb);
    EXPECT_NEAR(*m.gainCrossoverHz, std::sqrt(10.0), 1e-12);
    EXPECT_NEAR(*m.phaseDeg, 30, 1e-12);
    EXPECT_NEAR(*m.phaseCrossoverHz, std::pow(10, 0.8), 1e-12);
    EXPECT_NEAR(*m.gainDb, 6, 1e-12);
}

TEST(LoopMargins, OfAnIntegratorWithDelayWorkedOutByHand)
{
    // L = e^(-0.5 s) / s: |L| = 1 at 1 rad/s, where the phase is -90 - 28.648: margin 61.352 degrees;
    // -180 where 0.5 w = pi/2, w = pi, where |L| = 1/pi: margin 20 log10(pi) = 9.943 dB.
    const ProcessModel loop{ModelKind::Integrating, 1, 0, 0.5};
    const LoopMargins m = MarginsOf(ModelCurve(loop, 0.01, 10, 400));
    ASSERT_TRUE(m.gainCrossoverHz && m.phaseDeg && m.phaseCrossoverHz && m.gainDb);
    EXPECT_NEAR(*m.gainCrossoverHz, 1 / (2 * kPi), 1e-4);
    EXPECT_NEAR(*m.phaseDeg, 90 - 0.5 * 180 / kPi, 0.01);
    EXPECT_NEAR(*m.phaseCrossoverHz, 0.5, 1e-3);
    EXPECT_NEAR(*m.gainDb, 20 * std::log10(kPi), 0.01);
}

TEST(LoopMargins, AreAbsentWhereTheCurveCrossesNeither)
{
    const LoopMargins m = MarginsOf({Point(0.1, -3, -20), Point(1, -12, -90), Point(10, -30, -170)});
    EXPECT_FALSE(m.gainCrossoverHz);
    EXPECT_FALSE(m.phaseDeg);
    EXPECT_FALSE(m.phaseCrossoverHz);
    EXPECT_FALSE(m.gainDb);
}

TEST(LoopMargins, SkipAPointThatIsNotTrusted)
{
    // The untrusted point in the middle would put the crossing below 0.5 Hz; without it the
    // crossing is half way between 0.1 and 10 Hz in logarithm: 1 Hz still, at -100 degrees.
    const LoopMargins m = MarginsOf({Point(0.1, 10, -60), Point(0.5, -20, -170, false), Point(10, -10, -140)});
    ASSERT_TRUE(m.gainCrossoverHz && m.phaseDeg);
    EXPECT_NEAR(*m.gainCrossoverHz, 1, 1e-12);
    EXPECT_NEAR(*m.phaseDeg, 80, 1e-12);
    EXPECT_FALSE(m.phaseCrossoverHz);
}

TEST(CardPid, AProportionalIsHeldHalfASamplePeriod)
{
    // K1 = 2, K2 = 1.5 in the analog benches' units both sides: 3 % per %. At a quarter of the
    // sampling rate (wT = pi/2) the hold (1 - e^-jwT) / jwT is 2 sqrt 2 / pi at -45 degrees.
    CardPid pid;
    pid.k1 = 2;
    pid.k2 = 1.5;
    pid.integralAction = false;
    pid.period = 0.1;
    const std::complex<double> c = CardPidResponse(pid, LoopScale{}, 2.5);
    EXPECT_NEAR(std::abs(c), 3 * 2 * std::sqrt(2.0) / kPi, 1e-12);
    EXPECT_NEAR(std::arg(c) * 180 / kPi, -45, 1e-10);
}

TEST(CardPid, ThePiSumsItsIntegralSampleBySample)
{
    // K1 = 1, T/Ti = 0.5 at wT = pi/2: 1 + 0.5 / (1 + j) = 1.25 - 0.25 j, times the hold
    // (1 - j) 2/pi: (1 - 1.5 j) 2/pi. With the measurement in mA on the loop's counts
    // (20/4095 mA a count) and the command in % (100/3264), it is in % per mA.
    CardPid pid;
    pid.k1 = 1;
    pid.k2 = 1;
    pid.integral = 0.5;
    pid.period = 0.1;
    const LoopScale scale{20.0 / 4095, 100.0 / 3264, 0, 3264};
    const std::complex<double> c = CardPidResponse(pid, scale, 2.5);
    const double units = (100.0 / 3264) / (20.0 / 4095);
    EXPECT_NEAR(c.real(), 2 / kPi * units, 1e-12);
    EXPECT_NEAR(c.imag(), -3 / kPi * units, 1e-12);
}

TEST(OpenLoop, MultipliesTheGainsAndAddsThePhasesContinuously)
{
    // A controller of 2 at -170 degrees over a process at -100 then -150: -270 and -320, not +90 and +40.
    const std::vector<BodePoint> loop =
        OpenLoop({Point(0.1, 0, -100), Point(0.2, -6, -150)}, [](double) { return std::polar(2.0, -170 * kPi / 180); });
    ASSERT_EQ(loop.size(), 2u);
    EXPECT_NEAR(loop[0].gain, 2, 1e-12);
    EXPECT_NEAR(loop[0].gainDb, 20 * std::log10(2.0), 1e-12);
    EXPECT_NEAR(loop[0].phaseDeg, -270, 1e-10);
    EXPECT_NEAR(loop[1].phaseDeg, -320, 1e-10);
}

}  // namespace
}  // namespace banc::analysis
