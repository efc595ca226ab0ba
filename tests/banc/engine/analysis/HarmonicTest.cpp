#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/analysis/Harmonic.h"

namespace banc::analysis {
namespace {

constexpr double kPi = std::numbers::pi;

struct Record {
    std::vector<double> times, values;
};

// amplitude cos(w t + phase) + offset + drift t + second cos(2 w t), every `period` s.
Record Sine(double hz, double amplitude, double phaseDeg, double offset, int points, double period, double drift = 0,
            double second = 0)
{
    Record record;
    for (int i = 0; i < points; ++i) {
        const double t = i * period;
        const double w = 2 * kPi * hz;
        record.times.push_back(t);
        record.values.push_back(amplitude * std::cos(w * t + phaseDeg * kPi / 180) + offset + drift * t +
                                second * std::cos(2 * w * t));
    }
    return record;
}

double PhaseDeg(const HarmonicFit& fit) { return std::arg(fit.phasor) * 180 / kPi; }

TEST(HarmonicFit, ReadsTheAmplitudePhaseAndOffsetOfAPureSine)
{
    // 0.2 Hz every 0.1 s: 5 whole periods in 250 points.
    const Record r = Sine(0.2, 3, -40, 12, 250, 0.1);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 0.2);
    EXPECT_EQ(fit.points, 250);
    EXPECT_NEAR(fit.Amplitude(), 3, 1e-9);
    EXPECT_NEAR(PhaseDeg(fit), -40, 1e-7);
    EXPECT_NEAR(fit.offset, 12, 1e-9);
    EXPECT_NEAR(fit.slope, 0, 1e-9);
    EXPECT_NEAR(fit.harmonicsRms, 0, 1e-9);
    EXPECT_NEAR(fit.noiseRms, 0, 1e-9);
    EXPECT_NEAR(fit.DistortionPct(), 0, 1e-7);
}

TEST(HarmonicFit, APhaseIsReadAtTimeZeroWhereverThePointsStart)
{
    // The same sine from t = 2.5 s, and from t = 7.3 s: the phase at t = 0 is -40 degrees in both.
    for (const int first : {25, 73}) {
        Record r = Sine(0.2, 3, -40, 12, first + 250, 0.1);
        r.times.erase(r.times.begin(), r.times.begin() + first);
        r.values.erase(r.values.begin(), r.values.begin() + first);
        EXPECT_NEAR(PhaseDeg(FitHarmonic(r.times, r.values, 0.2)), -40, 1e-7) << first;
    }
}

TEST(HarmonicFit, ASecondHarmonicIsDistortionNotFundamental)
{
    // A tenth of the fundamental at twice its frequency: 10 % of distortion, RMS 0.3 / sqrt 2.
    const Record r = Sine(0.2, 3, 25, -4, 250, 0.1, 0, 0.3);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 0.2);
    EXPECT_NEAR(fit.Amplitude(), 3, 1e-9);
    EXPECT_NEAR(PhaseDeg(fit), 25, 1e-7);
    EXPECT_NEAR(fit.harmonicsRms, 0.3 / std::numbers::sqrt2, 1e-9);
    EXPECT_NEAR(fit.DistortionPct(), 10, 1e-6);
}

TEST(HarmonicFit, ADriftGoesToTheTrendNotTheFundamental)
{
    // 0.05 a second over 50 s: as large as the sine's swing, and no leak into it.
    const Record r = Sine(0.2, 1, 60, 5, 500, 0.1, 0.05);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 0.2);
    EXPECT_NEAR(fit.Amplitude(), 1, 1e-9);
    EXPECT_NEAR(PhaseDeg(fit), 60, 1e-7);
    EXPECT_NEAR(fit.slope, 0.05, 1e-9);
    // The level at the middle of the span, 24.95 s: 5 + 0.05 x 24.95.
    EXPECT_NEAR(fit.offset, 6.2475, 1e-9);
}

TEST(HarmonicFit, NoiseIsLeftOverWithTheAmplitudesStandardError)
{
    // Noise of 0.5 on a sine of 2, 4,000 points: the amplitude's standard error is 0.5 sqrt(2 / 4000) = 0.0112.
    Record r = Sine(0.2, 2, -75, 1, 4000, 0.1);
    std::mt19937 generator(7);
    std::normal_distribution<double> noise(0, 0.5);
    for (double& value : r.values) value += noise(generator);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 0.2);
    EXPECT_NEAR(fit.noiseRms, 0.5, 0.02);
    EXPECT_NEAR(fit.amplitudeError, 0.5 * std::sqrt(2.0 / 4000), 0.0005);
    EXPECT_NEAR(fit.Amplitude(), 2, 3 * fit.amplitudeError);
    EXPECT_NEAR(PhaseDeg(fit), -75, 3 * fit.amplitudeError / 2 * 180 / kPi);
    // Mostly noise: sqrt(harmonics^2 + 0.5^2) against 2 / sqrt 2.
    EXPECT_NEAR(fit.DistortionPct(), 0.5 / std::numbers::sqrt2 * 100, 1.5);
}

TEST(HarmonicFit, PointsMissingInTheMiddleDoNoHarm)
{
    // A lost block: 32 points gone, the times of the others kept.
    Record r = Sine(0.05, 4, -120, 0, 400, 0.5);
    r.times.erase(r.times.begin() + 150, r.times.begin() + 182);
    r.values.erase(r.values.begin() + 150, r.values.begin() + 182);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 0.05);
    EXPECT_EQ(fit.points, 368);
    EXPECT_NEAR(fit.Amplitude(), 4, 1e-9);
    EXPECT_NEAR(PhaseDeg(fit), -120, 1e-7);
}

TEST(HarmonicFit, NothingIsFittedAtOrAboveHalfTheSamplingRate)
{
    const Record r = Sine(5, 1, 0, 0, 100, 0.1);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 5);
    EXPECT_EQ(fit.points, 0);
    EXPECT_EQ(fit.Amplitude(), 0);
}

TEST(HarmonicFit, AFewPointsAPeriodCarryFewerHarmonics)
{
    // 12 points over a period of 1 Hz: 6 parameters at most, the level, the trend, the
    // fundamental and the second harmonic, which is read as it is.
    const Record r = Sine(1, 2, 30, 1, 12, 1.0 / 12, 0, 0.4);
    const HarmonicFit fit = FitHarmonic(r.times, r.values, 1);
    EXPECT_EQ(fit.points, 12);
    EXPECT_NEAR(fit.Amplitude(), 2, 1e-9);
    EXPECT_NEAR(PhaseDeg(fit), 30, 1e-7);
    EXPECT_NEAR(fit.harmonicsRms, 0.4 / std::numbers::sqrt2, 1e-9);
}

TEST(HarmonicFit, NothingIsFittedOnTooFewPoints)
{
    // Level, trend, and the fundamental alone (its harmonics are above half the rate): 4 parameters need 8 points.
    const Record r = Sine(1.3, 1, 0, 0, 7, 0.2);
    EXPECT_EQ(FitHarmonic(r.times, r.values, 1.3).points, 0);
    const Record enough = Sine(1.3, 1, 0, 0, 8, 0.2);
    EXPECT_EQ(FitHarmonic(enough.times, enough.values, 1.3).points, 8);
}

}  // namespace
}  // namespace banc::analysis
