#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "BancTestSupport.h"
#include "SimulatedRun.h"
#include "engine/lab/LabWork.h"
#include "engine/lab/LoopTuning.h"
#include "engine/run/Setup.h"

using namespace banc;

namespace {

// An open-loop run of a bench on one of its measurements.
Settings OpenLoop(const char* bench, const char* measure, const char* command = nullptr)
{
    Settings settings = banc::test::MakeSettings(bench, "bo");
    settings.measure = FindMeasure(*settings.bench, measure);
    if (command) settings.command = FindCommand(*settings.bench, command);
    return settings;
}

// The air flow bench's temperature as the simulated card's plant makes it, the fan
// at rest: 40 K of rise at a full heater over a sensor span of 60 K, 20 s, 1.5 s.
const analysis::ProcessModel kTemperature{analysis::ModelKind::FirstOrderDelay, 40.0 / 60, 20, 1.5};

analysis::Suggestion Pi(double kc, double ti)
{
    return {analysis::Rule::Simc, {analysis::ControllerType::PI, kc, ti, 0}};
}

// The closed loop made again from the settings a suggestion gives, as the console's options would set them.
Settings WrittenBack(const Settings& loop, const ControllerSettings& settings)
{
    Settings back = loop;
    for (const auto& [name, value] : {std::pair{"kp", settings.kp},
                                      {"ti", settings.ti},
                                      {"td", settings.td},
                                      {"kf", settings.kf},
                                      {"ks", settings.ks}})
        back.values.emplace_back(&banc::test::FindParameter(*loop.bench, name), value);
    back.actions = settings.actions;
    return back;
}

TEST(ClosedLoopTarget, ThePidModeOnTheMeasurementAndTheOutputOfTheOpenLoopRun)
{
    const LoopTarget target = ClosedLoopFor(OpenLoop("debitair", "temperature", "chauffage"));
    ASSERT_EQ(target.refusal, "");
    EXPECT_STREQ(target.settings.mode->name, "pid");
    EXPECT_STREQ(target.settings.Measure().name, "temperature");
    EXPECT_STREQ(target.settings.Command().name, "chauffage");
    EXPECT_TRUE(target.settings.values.empty());
}

TEST(ClosedLoopTarget, TheMotorisedBenchesLoopOnTheQuantityTheyWatched)
{
    EXPECT_STREQ(ClosedLoopFor(OpenLoop("iapv", "vitesse")).settings.mode->name, "vitesse");
    EXPECT_STREQ(ClosedLoopFor(OpenLoop("axnum", "position")).settings.mode->name, "position");
    EXPECT_EQ(ClosedLoopFor(OpenLoop("iapv", "courant")).refusal,
              "Le banc Moteur et charge n'a pas de boucle PID sur la mesure \"courant du moteur\" : pas de r\xE9glage "
              "\xE0 proposer.");
}

class SuggestedSettings : public ::testing::Test {
protected:
    std::shared_ptr<tarvic::MemoryProfile> m_profile = std::make_shared<tarvic::MemoryProfile>();
    Settings m_loop = ClosedLoopFor(OpenLoop("debitair", "temperature", "chauffage")).settings;
};

TEST_F(SuggestedSettings, KeepTheProfilesOutputGainAndMoveTheTimesOutOfK1)
{
    LoopTuner tuner(m_loop, m_profile);
    ASSERT_EQ(tuner.Error(), "");
    // Kc = 4 %/%, Ti = 20 s with the factory K2 = 1: K1 = 4, Ti' = K2 Ti / Kc = 5 s.
    const TunedSuggestion tuned = tuner.Tune(Pi(4, 20), &kTemperature);
    EXPECT_FLOAT_EQ(tuned.settings.kp, 4);
    EXPECT_FLOAT_EQ(tuned.settings.ti, 5);
    EXPECT_FLOAT_EQ(tuned.settings.ks, 1);
    EXPECT_EQ(tuned.settings.actions, "PI");
    // The scratch copy wrote nothing into the profile it read.
    EXPECT_EQ(m_profile->GetProfileString("FERZ", "TE", "absent"), "absent");
    EXPECT_EQ(m_profile->GetProfileString("D_MODE1_PID", "KP", "absent"), "absent");
}

TEST_F(SuggestedSettings, WrittenBackTheySendTheLinesThatWerePredicted)
{
    LoopTuner tuner(m_loop, m_profile);
    const TunedSuggestion tuned = tuner.Tune(Pi(4, 20), &kTemperature);
    const Settings back = WrittenBack(m_loop, tuned.settings);
    Elements elements;
    ASSERT_EQ(Configure(back, m_profile, elements).error, "");
    CEidElement& pid = *elements.controller;
    // K1 = 4: 4096; K2 = 1: 256 and 3276 x 1024 x 20; every 50 ms, 50 / 5 x 1024 / 1000 = 10.24.
    EXPECT_EQ(pid.ConfFerz(0), "RTRE103");
    EXPECT_EQ(pid.ConfFerz(1), "RER0032");
    EXPECT_EQ(pid.ConfFerz(2), "RKP1000010003FFC000");
    EXPECT_EQ(pid.ConfFerz(3), "RKI000A");
    const analysis::CardPid card = CardPidOf(pid, *elements.bench);
    EXPECT_EQ(card.k1, 4);
    EXPECT_EQ(card.k2, 1);
    EXPECT_EQ(card.integral, 10 / 1024.0);
    EXPECT_EQ(card.period, 0.05);
    // The run these elements make is the one predicted, point for point.
    const analysis::LoopPrediction predicted = PredictRun(kTemperature, back, elements);
    ASSERT_EQ(predicted.measure.size(), 640u);
    EXPECT_EQ(predicted.measure, tuned.prediction.measure);
    EXPECT_EQ(predicted.command, tuned.prediction.command);
}

TEST_F(SuggestedSettings, AGainBeyondK1sRangeGoesIntoK2)
{
    // Kc = 200 %/%: K1 stops at 63.999 and K2 takes the rest, the integral time following.
    LoopTuner tuner(m_loop, m_profile);
    const TunedSuggestion tuned = tuner.Tune(Pi(200, 20), &kTemperature);
    EXPECT_FLOAT_EQ(tuned.settings.kp, 63.999f);
    EXPECT_FLOAT_EQ(tuned.settings.ks, static_cast<float>(200 / 63.999));
    EXPECT_FLOAT_EQ(tuned.settings.ti, static_cast<float>(20 / 63.999));
    Elements elements;
    EXPECT_EQ(Configure(WrittenBack(m_loop, tuned.settings), m_profile, elements).error, "");
}

TEST_F(SuggestedSettings, AProfileWithoutOutputGainStartsFromOne)
{
    // A profile that was run before (it has its period), its K2 set to 0 by hand.
    m_profile->WriteProfileString("FERZ", "TE", "50");
    m_profile->WriteProfileString("D_MODE1_PID", "KS", "0.000");
    LoopTuner tuner(m_loop, m_profile);
    ASSERT_EQ(tuner.Error(), "");
    const TunedSuggestion tuned = tuner.Tune(Pi(4, 20), &kTemperature);
    EXPECT_FLOAT_EQ(tuned.settings.ks, 1);
    EXPECT_FLOAT_EQ(tuned.settings.kp, 4);
    EXPECT_FLOAT_EQ(tuned.settings.ti, 5);
}

TEST_F(SuggestedSettings, ADerivativeTimeIsScaledByTheGain)
{
    LoopTuner tuner(m_loop, m_profile);
    // Td' = Kc Td / K2 = 4 x 0.5.
    const TunedSuggestion tuned =
        tuner.Tune({analysis::Rule::Imc, {analysis::ControllerType::PID, 4, 20, 0.5}}, &kTemperature);
    EXPECT_FLOAT_EQ(tuned.settings.td, 2);
    EXPECT_EQ(tuned.settings.actions, "PID");
    Elements elements;
    const Settings back = WrittenBack(m_loop, tuned.settings);
    ASSERT_EQ(Configure(back, m_profile, elements).error, "");
    EXPECT_EQ(elements.controller->ConfFerz(0), "RTRE107");
    EXPECT_EQ(PredictRun(kTemperature, back, elements).measure, tuned.prediction.measure);
}

TEST(PredictedAgainstTheCard, APLoopOnTheTemperatureAsTheSimulatedCardRunsIt)
{
    // K1 = 3 on the heater, the factory step from 0 to 50 % after 0.4 s, 32 s at 50 ms.
    Settings settings = banc::test::MakeSettings("debitair", "pid", {{"kp", 3.0f}});
    settings.measure = FindMeasure(*settings.bench, "temperature");
    settings.command = FindCommand(*settings.bench, "chauffage");
    settings.actions = "P";
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    run.Run();
    const analysis::LoopPrediction predicted = PredictRun(kTemperature, settings, run.GetElements());
    const std::vector<float> measured = run.Values(run.Curves().measure);
    ASSERT_EQ(predicted.measure.size(), measured.size());
    // Within 0.05 % of the span at every point: the card's converters count 0.03 %.
    for (std::size_t i = 0; i < measured.size(); ++i) ASSERT_NEAR(measured[i], predicted.measure[i], 0.05) << i;
    // Still rising at the end towards K Kp / (1 + K Kp) x 50 % = 33.3 %.
    EXPECT_GT(predicted.measure.back(), 33.0);
    EXPECT_LT(predicted.measure.back(), 50 * 2.0 / 3);
    // Over the 32 s the two curves part by a hundredth of a percent on average.
    EXPECT_NEAR(analysis::IntegralAbsoluteDifference(std::vector<double>(measured.begin(), measured.end()),
                                                     predicted.measure, predicted.period),
                0, 0.32);
}

}  // namespace

namespace {

TEST(RelayRun, TheOnOffLoopsOscillationGivesTheUltimateGainsSettings)
{
    // The heater on and off at ±1 % around the factory's 50 %, for 150 s every 100 ms.
    Settings settings = banc::test::MakeSettings("debitair", "tor", {{"rbn", -1}, {"rbp", 1}, {"tem", 100}});
    settings.measure = FindMeasure(*settings.bench, "temperature");
    settings.command = FindCommand(*settings.bench, "chauffage");
    settings.duration = 150;
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    run.Run();
    const auto profile = std::make_shared<tarvic::MemoryProfile>();
    const RelayLabResult lab = AnalyseRelayRun(settings, run.GetElements(), profile);
    ASSERT_EQ(lab.relay.refusal, "");
    EXPECT_EQ(lab.tuningRefusal, "");
    // The heater switches between 0 and 100 %: d = 50 %.
    EXPECT_NEAR(lab.relay.relayAmplitude, 50, 1e-3);
    EXPECT_GE(lab.relay.periods, 2);
    ASSERT_EQ(lab.suggestions.size(), 5u);
    // Ziegler-Nichols' P: 0.5 Ku, in K1 with the factory K2 = 1 (the same percent on both sides).
    EXPECT_EQ(lab.suggestions[0].suggestion.rule, analysis::Rule::RelayZieglerNichols);
    EXPECT_FLOAT_EQ(lab.suggestions[0].settings.kp, static_cast<float>(0.5 * lab.relay.ultimateGain));
    EXPECT_EQ(lab.suggestions[0].settings.actions, "P");
    // Tyreus-Luyben's PI: Ku / 3.2, and Ti' = K2 x 2.2 Pu / Kc.
    const TunedSuggestion& tl = lab.suggestions[3];
    EXPECT_EQ(tl.suggestion.rule, analysis::Rule::TyreusLuyben);
    EXPECT_FLOAT_EQ(tl.settings.kp, static_cast<float>(lab.relay.ultimateGain / 3.2));
    EXPECT_FLOAT_EQ(tl.settings.ti,
                    static_cast<float>(2.2 * lab.relay.ultimatePeriod / (lab.relay.ultimateGain / 3.2)));
    EXPECT_TRUE(tl.prediction.measure.empty());
    // Near 50 % the heater on raises the air by (66.7 - 50) / 20 = 0.83 %/s, off it
    // cools by 2.5 %/s, and each switch shows 1.5 s late: on, 1.5 s of cooling
    // (3.75 %) then 5.75 % to climb, 8.4 s; off, 1.5 s more of warming then 3.25 %
    // down, 2.8 s. About 11 s, less as the lag rounds the turns.
    EXPECT_GT(lab.relay.ultimatePeriod, 9);
    EXPECT_LT(lab.relay.ultimatePeriod, 11.5);
}

}  // namespace

namespace {

// Whatever the model, the predicted setpoint is the one the card records, point for point.
void ExpectTheRecordedSetpoint(Settings settings)
{
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    run.Run();
    const analysis::ProcessModel model{analysis::ModelKind::FirstOrderDelay, 1, 0.1, 0};
    const analysis::LoopPrediction predicted = PredictRun(model, settings, run.GetElements());
    const std::vector<float> recorded = run.Values(run.Curves().setpoint);
    ASSERT_EQ(predicted.setpoint.size(), recorded.size());
    EXPECT_DOUBLE_EQ(predicted.period, run.PeriodSeconds());
    for (std::size_t i = 0; i < recorded.size(); ++i) ASSERT_NEAR(predicted.setpoint[i], recorded[i], 1e-3) << i;
    EXPECT_NE(recorded.front(), recorded.back());
}

// The temperature loop with K1 = 10, Ti' = 1.2 s and `actions`: the heater stays
// at 100 % for some 20 s while the integral waits, then the loop closes on 50 %;
// 64 s at 100 ms. The card's run and its prediction, point by point.
void ExpectTheRunPredicted(const char* actions, double commandTolerance)
{
    Settings settings = banc::test::MakeSettings("debitair", "pid", {{"kp", 10.0f}, {"ti", 1.2f}, {"tem", 100}});
    settings.measure = FindMeasure(*settings.bench, "temperature");
    settings.command = FindCommand(*settings.bench, "chauffage");
    settings.actions = actions;
    settings.duration = 64;
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    run.Run();
    const analysis::LoopPrediction predicted = PredictRun(kTemperature, settings, run.GetElements());
    const std::vector<float> measured = run.Values(run.Curves().measure);
    const std::vector<float> command = run.Values(run.Curves().command);
    ASSERT_EQ(predicted.measure.size(), measured.size());
    EXPECT_EQ(predicted.command[100], 100.0);
    // Within 0.05 % of the span: the card's converters count 0.03 % of the
    // measurement, which the gains pass on to the command.
    for (std::size_t i = 0; i < measured.size(); ++i) {
        ASSERT_NEAR(measured[i], predicted.measure[i], 0.05) << i;
        ASSERT_NEAR(command[i], predicted.command[i], commandTolerance) << i;
    }
    // The integral, held back while the heater was full, brings the last half percent in slowly.
    EXPECT_EQ(predicted.figures.verdict, StepVerdict::Settled);
    EXPECT_NEAR(*predicted.figures.final, 50, 0.5);
}

TEST(PredictedAgainstTheCard, APiHeldAtFullHeatAsTheSimulatedCardRunsIt) { ExpectTheRunPredicted("PI", 0.5); }

// The factory's Td = 0.4 s and alpha = 8 on the error: the derivative of a count of the
// converter is 5 counts of command.
TEST(PredictedAgainstTheCard, APidAsTheSimulatedCardRunsIt) { ExpectTheRunPredicted("PID", 1.0); }

TEST(PredictedAgainstTheCard, TheSetpointStepsWhenTheCardsDoesInTheRecordsUnits)
{
    // The speed loop's factory step, in tr/min from whole counts a window.
    ExpectTheRecordedSetpoint(banc::test::MakeSettings("iapv", "vitesse"));
    ExpectTheRecordedSetpoint(banc::test::MakeSettings("axnum", "position", {{"retard", 0.35f}}));
    ExpectTheRecordedSetpoint(banc::test::MakeSettings("niveaueau", "pid", {{"repos", 20}, {"retard", 3}}));
}

TEST(PredictedAgainstTheCard, NoPredictionForAnotherSignalThanAStep)
{
    Settings settings = banc::test::MakeSettings("debitair", "pid");
    settings.signal = CGeneFonction::Rampe;
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    EXPECT_TRUE(PredictRun(kTemperature, settings, run.GetElements()).measure.empty());
}

}  // namespace
