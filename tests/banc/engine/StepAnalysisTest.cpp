#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "engine/analysis/StepAnalysis.h"
#include "engine/outputs/StepText.h"
#include "tarvic/platform/Text.h"

using namespace banc;

namespace {

using Signal = std::function<float(double t)>;

// A record sampled every `period` seconds for `seconds`: the setpoint at
// `before` until `stepAt`, at `after` from there on; the measurement given as
// a function of the time since the step (its value before it is its value at 0).
struct Record {
    std::vector<float> setpoint, measure;
};
Record Sample(double period, double seconds, double stepAt, float before, float after, const Signal& response)
{
    Record record;
    const int points = static_cast<int>(std::lround(seconds / period));
    for (int i = 0; i < points; ++i) {
        const double t = i * period;
        record.setpoint.push_back(t < stepAt - period / 2 ? before : after);
        record.measure.push_back(response(std::max(0.0, t - stepAt)));
    }
    return record;
}

Signal FirstOrder(float from, float to, double tau)
{
    return [=](double t) { return static_cast<float>(from + (to - from) * (1 - std::exp(-t / tau))); };
}

const StepUnits kPercent{"%", "%"};

}  // namespace

TEST(StepAnalysis, AFirstOrderStepGivesItsTextbookTimes)
{
    // 50 % on a setpoint step from 0 at 1 s, tau = 2 s, sampled every 50 ms for 40 s.
    const double tau = 2;
    const Record record = Sample(0.05, 40, 1, 0, 50, FirstOrder(0, 50, tau));
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.05f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    EXPECT_EQ(figures.stepIndex, 20);
    EXPECT_FLOAT_EQ(figures.initial, 0);
    EXPECT_NEAR(*figures.final, 50, 1e-4);
    EXPECT_NEAR(*figures.riseTime, tau * std::log(9.0), 2e-3);       // 4.394 s
    EXPECT_NEAR(*figures.settlingTime, tau * std::log(20.0), 2e-3);  // 5.991 s
    EXPECT_NEAR(*figures.timeConstant, tau, 2e-3);
    EXPECT_NEAR(*figures.overshoot, 0, 1e-4);
    EXPECT_NEAR(figures.band, 2.5, 1e-4);
    // The tail: the last fifth of the 780 points after the step.
    EXPECT_EQ(figures.tailPoints, 156);
    EXPECT_EQ(StepSummary(figures, kPercent),
              "Valeur finale : 50.00 % (moyenne des 156 derniers points ; consigne 50.00 %, d\xE9part 0.00 %)\n"
              "D\xE9passement : 0.0 % de l'\xE9" "chelon de consigne (maximum 50.00 %, valeur finale 50.00 %)\n"
              "Temps de mont\xE9" "e (10 \xE0 90 %) : 4.39 s\n"
              "Temps d'\xE9tablissement \xE0 5 % : 5.99 s\n");
}

TEST(StepAnalysis, AFastBenchsTimesAreWrittenToItsSamplingsResolution)
{
    // The axis's 10 ms points: tau = 20 ms rises in 43.9 ms and settles in 59.9 ms, not "0.0 s".
    const double tau = 0.02;
    const Record record = Sample(0.01, 6.4, 0.1, 0, 144, FirstOrder(0, 144, tau));
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.01f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    const std::string summary = StepSummary(figures, {"\xB0", "\xB0"});
    EXPECT_NE(summary.find(tarvic::Format("Temps de mont\xE9" "e (10 \xE0 90 %%) : %.2f s\n", tau * std::log(9.0))),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("Temps d'\xE9tablissement \xE0 5 % : 0.06 s\n"), std::string::npos) << summary;
}

TEST(StepAnalysis, AFallingFirstOrderStepIsReadTheSameWay)
{
    const double tau = 0.5;
    const Record record = Sample(0.01, 10, 0.5, 80, 20, FirstOrder(80, 20, tau));
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.01f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    EXPECT_NEAR(*figures.final, 20, 1e-4);
    EXPECT_NEAR(*figures.riseTime, tau * std::log(9.0), 1e-3);
    EXPECT_NEAR(*figures.settlingTime, tau * std::log(20.0), 1e-3);
    EXPECT_NEAR(*figures.overshoot, 0, 1e-4);
}

TEST(StepAnalysis, AnUnderdampedSecondOrderOvershootsItsSetpointStepByTheTextbookShare)
{
    // zeta = 0.3, omega_n = 2 rad/s, from 10 % to 60 %.
    const double zeta = 0.3, omega = 2, damped = omega * std::sqrt(1 - zeta * zeta);
    const Signal response = [&](double t) {
        const double envelope = std::exp(-zeta * omega * t);
        return static_cast<float>(10 + 50 * (1 - envelope * (std::cos(damped * t) + zeta / std::sqrt(1 - zeta * zeta) *
                                                                                        std::sin(damped * t))));
    };
    const Record record = Sample(0.01, 30, 2, 10, 60, response);
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.01f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    const double expected = 100 * std::exp(-std::numbers::pi * zeta / std::sqrt(1 - zeta * zeta));  // 37.23 %
    EXPECT_NEAR(*figures.overshoot, expected, 0.01);
    EXPECT_NEAR(figures.peak, 60 + 50 * expected / 100, 0.005);
    // The peak half a damped period after the step.
    EXPECT_EQ(figures.peakIndex, 200 + std::lround(std::numbers::pi / damped / 0.01));
    EXPECT_NEAR(*figures.final, 60, 1e-3);
}

TEST(StepAnalysis, AResponseSettlingAboveItsSetpointOvershootsTheSetpointStep)
{
    // 62.5 % for a setpoint of 50 %: a quarter beyond the step asked for.
    const Record record = Sample(0.5, 320, 0, 50, 50, FirstOrder(0, 62.5f, 5));
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.5f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    EXPECT_NEAR(*figures.overshoot, 25, 1e-3);
    EXPECT_NEAR(*figures.final, 62.5, 1e-4);
    const std::string summary = StepSummary(figures, kPercent);
    EXPECT_NE(summary.find(
                  "D\xE9passement : 25.0 % de l'\xE9" "chelon de consigne (maximum 62.50 %, valeur finale 62.50 %)\n"),
              std::string::npos)
        << summary;
}

TEST(StepAnalysis, InOpenLoopTheOvershootIsOfTheMeasurementsOwnChange)
{
    // The command steps to 60 %, the measurement (in another unit) to 300 with a 10 % peak.
    const Signal response = [](double t) { return static_cast<float>(t < 1 ? 330 * t : (t < 2 ? 330 : 300)); };
    const Record record = Sample(0.1, 20, 0, 60, 60, response);
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.1f, OvershootOf::FinalChange);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    EXPECT_NEAR(*figures.overshoot, 10, 1e-3);
    const std::string summary = StepSummary(figures, {"tr/min", "%"});
    EXPECT_EQ(
        summary.substr(0, summary.find('\n') + 1),
        "Valeur finale : 300.00 tr/min (moyenne des 40 derniers points ; consigne 60.00 %, d\xE9part 0.00 tr/min)\n");
    EXPECT_NE(summary.find("D\xE9passement : 10.0 % de la variation (maximum 330.00 tr/min)\n"), std::string::npos);
}

TEST(StepAnalysis, AResponseStillRisingAtTheEndIsNotSettled)
{
    // 16 s of a tau = 20 s approach to 50 %: it ends near 28 %.
    const double tau = 20;
    const Signal response = FirstOrder(0, 50, tau);
    const Record record = Sample(0.5, 16, 0, 50, 50, response);
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.5f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Rising);
    EXPECT_FALSE(figures.final);
    EXPECT_FALSE(figures.overshoot);
    EXPECT_FALSE(figures.riseTime);
    EXPECT_FALSE(figures.settlingTime);
    // The tail's 8 points, 3.5 s: it rises at the slope of its middle.
    EXPECT_EQ(figures.tailPoints, 8);
    const double middle = 15.5 - 1.75, slope = 50 / tau * std::exp(-middle / tau);
    EXPECT_NEAR(figures.drift, slope * 3.5, 0.01);
    const float last = response(15.5);
    EXPECT_EQ(StepSummary(figures, kPercent),
              tarvic::Format("La mesure monte encore \xE0 la fin de l'enregistrement : %+.2f %% en 3.5 s.\n",
                             double{figures.drift}) +
                  tarvic::Format("Valeur finale : non \xE9tablie, la mesure n'est pas stabilis\xE9" "e (derni\xE8re "
                                 "mesure %.2f %% ; consigne 50.00 %%, d\xE9part 0.00 %%)\n",
                                 double{last}) +
                  "D\xE9passement : non \xE9tabli, la mesure n'est pas stabilis\xE9" "e\n"
                  "Temps de mont\xE9" "e (10 \xE0 90 %) : non \xE9tabli, la mesure n'est pas stabilis\xE9" "e\n"
                  "Temps d'\xE9tablissement \xE0 5 % : non atteint, la mesure n'est pas stabilis\xE9" "e\n");
}

TEST(StepAnalysis, ASustainedLimitCycleIsSaidToOscillateWithItsAmplitudeAndPeriod)
{
    // A rise to 50 % with tau = 1 s under a swing of 6 % and 2.5 s that never dies, 25 ms a point for 40 s.
    const double period = 2.5, amplitude = 6;
    const Signal response = [&](double t) {
        return static_cast<float>(50 * (1 - std::exp(-t)) +
                                  amplitude * std::sin(2 * std::numbers::pi * (t - 0.1) / period));
    };
    const Record record = Sample(0.025, 40, 0, 50, 50, response);
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.025f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Oscillating);
    ASSERT_TRUE(figures.oscillation);
    EXPECT_NEAR(figures.oscillation->amplitude, amplitude, 1e-3);
    EXPECT_NEAR(figures.oscillation->period, period, 1e-3);
    EXPECT_NEAR(figures.oscillation->centre, 50, 1e-3);
    // The second half, 20 to 40 s, rises through its mean at 20.1, 22.6... 37.6 s: seven whole periods.
    EXPECT_EQ(figures.oscillation->periods, 7);
    EXPECT_FALSE(figures.final);
    EXPECT_FALSE(figures.overshoot);
    const std::string summary = StepSummary(figures, kPercent);
    EXPECT_EQ(
        summary.substr(0, summary.find('\n') + 1),
        "La mesure oscille : amplitude 6.00 % autour de 50.00 %, p\xE9riode 2.50 s (7 p\xE9riodes enregistr\xE9" "es).\n");
    EXPECT_NE(
        summary.find(tarvic::Format("Valeur finale : non \xE9tablie, la mesure oscille (derni\xE8re mesure %.2f %%",
                                    double{record.measure.back()})),
        std::string::npos);
    EXPECT_NE(summary.find("D\xE9passement : non \xE9tabli, la mesure oscille\n"), std::string::npos);
}

TEST(StepAnalysis, AnOscillationThatShrinksIsSaidToDieOut)
{
    // zeta = 0.05: each period keeps 73 % of the previous one's swing, still beyond the band at the end.
    const double zeta = 0.05, omega = 2 * std::numbers::pi / 2, damped = omega * std::sqrt(1 - zeta * zeta);
    const Signal response = [&](double t) {
        return static_cast<float>(50 * (1 - std::exp(-zeta * omega * t) * std::cos(damped * t)));
    };
    const Record record = Sample(0.02, 20, 0, 50, 50, response);
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.02f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::DyingOut);
    EXPECT_NEAR(figures.oscillation->period, 2 * std::numbers::pi / damped, 0.01);
    EXPECT_FALSE(figures.overshoot);
}

TEST(StepAnalysis, NoiseAloneKeepsASettledResponseSettled)
{
    // A settled first order under normal noise of 0.3 %, the same draw every time.
    std::mt19937 draw(7);
    std::normal_distribution<float> noise(0, 0.3f);
    const Signal clean = FirstOrder(0, 50, 1);
    const Record record = Sample(0.1, 64, 0, 50, 50, [&](double t) { return clean(t) + noise(draw); });
    const StepFigures figures = AnalyseStep(record.setpoint, record.measure, 0.1f, OvershootOf::SetpointStep);
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    EXPECT_NEAR(*figures.final, 50, 0.1);
}

TEST(StepAnalysis, WhatIsNoStepResponseIsSaidSo)
{
    // A measurement that never moves.
    const Record flat = Sample(0.5, 32, 0, 50, 50, [](double) { return 30.0f; });
    const StepFigures still = AnalyseStep(flat.setpoint, flat.measure, 0.5f, OvershootOf::SetpointStep);
    EXPECT_EQ(still.verdict, StepVerdict::NoResponse);
    EXPECT_EQ(StepSummary(still, kPercent),
              "La mesure est rest\xE9" "e \xE0 30.00 % : pas de r\xE9ponse \xE0 un \xE9" "chelon.\n");
    // A ramp of the setpoint.
    Record ramp = Sample(0.5, 32, 0, 0, 0, FirstOrder(0, 50, 2));
    for (std::size_t i = 0; i < ramp.setpoint.size(); ++i) ramp.setpoint[i] = static_cast<float>(i);
    EXPECT_EQ(AnalyseStep(ramp.setpoint, ramp.measure, 0.5f, OvershootOf::SetpointStep).verdict, StepVerdict::NotAStep);
    // Fifteen points after the step: too few to judge the end of it.
    const Record brief = Sample(0.5, 7.5, 0, 50, 50, FirstOrder(0, 50, 0.5));
    const StepFigures shortOne = AnalyseStep(brief.setpoint, brief.measure, 0.5f, OvershootOf::SetpointStep);
    EXPECT_EQ(shortOne.verdict, StepVerdict::TooShort);
    EXPECT_EQ(StepSummary(shortOne, kPercent), "Pas assez de points apr\xE8s l'\xE9" "chelon pour une r\xE9ponse.\n");
}
