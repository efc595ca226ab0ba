#include <cmath>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

#include "engine/analysis/Relay.h"

namespace banc::analysis {
namespace {

struct Oscillation {
    std::vector<double> command, measure;
};

// An on/off loop's trace: the command 0 or 80 %, the measurement a triangle of
// ±2 around 50 that rises while the command is high; a start-up first, then
// whole periods of `periods` points each (the first half high).
Oscillation Relay(const std::vector<int>& periods)
{
    Oscillation trace;
    // The start-up: the command high until the measurement first reaches the top.
    for (int i = 0; i < 30; ++i) {
        trace.command.push_back(80);
        trace.measure.push_back(40 + 12.0 * i / 30);
    }
    double level = 52;
    for (int length : periods) {
        const int half = length / 2;
        for (int i = 0; i < length; ++i) {
            const bool high = i >= half;  // the command falls at the top, rises at the bottom
            trace.command.push_back(high ? 80 : 0);
            level += high ? 4.0 / (length - half) : -4.0 / half;
            trace.measure.push_back(level);
        }
    }
    return trace;
}

TEST(RelayTest, KuAndPuOfASteadyOscillation)
{
    // Periods of 80 points at 50 ms: 4 s; d = 40, a = 2.
    const Oscillation trace = Relay({80, 80, 80, 80, 80});
    const RelayResult r = AnalyseRelay(trace.command, trace.measure, 0.05);
    ASSERT_EQ(r.refusal, "");
    EXPECT_NEAR(r.ultimatePeriod, 4.0, 1e-12);
    EXPECT_NEAR(r.relayAmplitude, 40, 1e-12);
    // Each period holds a crest at 52 and a trough at 48.
    EXPECT_NEAR(r.amplitude, 2, 1e-9);
    EXPECT_NEAR(r.ultimateGain, 4 * 40 / (std::numbers::pi * 2), 1e-9);
    // Five high states begin after the start-up: four whole periods, the first left out.
    EXPECT_EQ(r.periods, 3);
}

TEST(RelayTest, NoiseOnTheMeasurementWidensTheSwingByItsExtremesOnly)
{
    Oscillation trace = Relay({80, 80, 80, 80, 80});
    std::mt19937 generator(1);
    std::normal_distribution<double> noise(0, 0.02);
    for (double& value : trace.measure) value += noise(generator);
    const RelayResult r = AnalyseRelay(trace.command, trace.measure, 0.05);
    ASSERT_EQ(r.refusal, "");
    EXPECT_NEAR(r.ultimatePeriod, 4.0, 1e-12);  // read on the command, which has none
    // The crest and the trough of each period move by a few deviations at most.
    EXPECT_NEAR(r.amplitude, 2, 0.1);
    EXPECT_GT(r.amplitude, 2 - 0.02);
}

TEST(RelayTest, ACommandThatNeverSwitchesIsNoOscillation)
{
    const std::vector<double> command(400, 80), measure(400, 50);
    const RelayResult r = AnalyseRelay(command, measure, 0.05);
    EXPECT_EQ(r.refusal,
              "Pas d'oscillation entretenue : la commande du relais ne bascule pas ou la mesure ne bouge pas.");
    EXPECT_EQ(r.ultimateGain, 0);
}

TEST(RelayTest, TooFewPeriodsAfterTheStartUp)
{
    const Oscillation trace = Relay({80, 80, 80});
    const RelayResult r = AnalyseRelay(trace.command, trace.measure, 0.05);
    EXPECT_EQ(r.refusal,
              "Trop peu de p\xE9riodes d'oscillation enregistr\xE9" "es apr\xE8s la mise en route (1, il en "
              "faut au moins 2) : allongez l'essai.");
}

TEST(RelayTest, AnIrregularOscillationIsRefused)
{
    // From one rise of the command to the next: 60, 80, 100 and 80 points after the first period.
    const Oscillation trace = Relay({80, 80, 40, 120, 80, 80});
    const RelayResult r = AnalyseRelay(trace.command, trace.measure, 0.05);
    EXPECT_EQ(r.refusal,
              "Oscillation irr\xE9guli\xE8re : ses p\xE9riodes ou ses amplitudes s'\xE9" "cartent de plus de 20 % "
              "de leur moyenne.");
}

}  // namespace
}  // namespace banc::analysis
