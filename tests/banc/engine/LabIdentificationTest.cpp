#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "BancTestSupport.h"
#include "SimulatedRun.h"
#include "engine/lab/LabWork.h"
#include "engine/run/Setup.h"

using namespace banc;

namespace {

// The open-loop step of the air flow bench from 0 to 50 %, recorded for 150 s every 100 ms.
Settings OpenLoopStep(const char* command, std::initializer_list<std::pair<const char*, float>> more = {})
{
    Settings settings = banc::test::MakeSettings("debitair", "bo", {{"echelon", 50}, {"tem", 100}});
    for (const auto& [name, value] : more)
        settings.values.emplace_back(&banc::test::FindParameter(*settings.bench, name), value);
    settings.measure = FindMeasure(*settings.bench, "temperature");
    settings.command = FindCommand(*settings.bench, command);
    settings.duration = 150;
    return settings;
}

TEST(IdentifiedRun, TheHeatersStepGivesEveryRulesSettingsForTheTemperatureLoop)
{
    const Settings settings = OpenLoopStep("chauffage");
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    run.Run();
    const auto profile = std::make_shared<tarvic::MemoryProfile>();
    const LabResult lab = IdentifyRun(settings, run.GetElements(), profile);
    ASSERT_TRUE(lab.identification.Identified()) << lab.identification.refusal;
    EXPECT_EQ(lab.tuningRefusal, "");
    const analysis::ProcessModel& model = lab.identification.fit->model;
    // The plant: 40 K of 60 at a full heater, 20 s, 1.5 s.
    EXPECT_NEAR(model.gain, 40.0 / 60, 0.01);
    EXPECT_NEAR(model.timeConstant, 20, 0.5);
    // τ/θ above 10: Broïda's P, PI and PID with the three of Ziegler-Nichols, Cohen-Coon,
    // both of Chien-Hrones-Reswick, IMC's PI and PID and SIMC's PI.
    ASSERT_EQ(lab.suggestions.size(), 18u);
    for (const TunedSuggestion& tuned : lab.suggestions) {
        // Passed back as the console's options, every suggestion is accepted and
        // makes the loop that was predicted for it.
        Settings back = ClosedLoopFor(settings).settings;
        for (const auto& [name, value] : {std::pair{"kp", tuned.settings.kp},
                                          {"ti", tuned.settings.ti},
                                          {"td", tuned.settings.td},
                                          {"kf", tuned.settings.kf},
                                          {"ks", tuned.settings.ks}})
            back.values.emplace_back(&banc::test::FindParameter(*back.bench, name), value);
        back.actions = tuned.settings.actions;
        Elements elements;
        const auto written = std::make_shared<tarvic::MemoryProfile>();
        ASSERT_EQ(Configure(back, written, elements).error, "") << analysis::RuleKey(tuned.suggestion.rule);
        EXPECT_EQ(PredictRun(model, back, elements).measure, tuned.prediction.measure)
            << analysis::RuleKey(tuned.suggestion.rule) << " " << tuned.settings.actions;
        EXPECT_EQ(tuned.prediction.measure.size(), 640u);
    }
    // SIMC's PI with τc = θ and the factory K2 = 1: K1 = τ / 2Kθ, Ti' = min(τ, 8θ) / K1.
    const TunedSuggestion& simc = lab.suggestions.back();
    ASSERT_EQ(simc.suggestion.rule, analysis::Rule::Simc);
    const double k1 = model.timeConstant / (2 * model.gain * model.delay);
    EXPECT_FLOAT_EQ(simc.settings.kp, static_cast<float>(k1));
    EXPECT_FLOAT_EQ(simc.settings.ti, static_cast<float>(std::min(model.timeConstant, 8 * model.delay) / k1));
    EXPECT_EQ(simc.settings.actions, "PI");
}

TEST(IdentifiedRun, ACoolingProcessGetsNoSuggestion)
{
    // The heater held at 50 %, the fan's step cools the air: the console has no reverse action.
    const Settings settings = OpenLoopStep("debit", {{"ci-temp", 50}});
    banc::test::SimulatedRun run(settings);
    ASSERT_EQ(run.Error(), "");
    // The air warms up to its rest first.
    run.Card().Advance(std::chrono::seconds(200));
    run.Run();
    const LabResult lab = IdentifyRun(settings, run.GetElements(), std::make_shared<tarvic::MemoryProfile>());
    ASSERT_TRUE(lab.identification.Identified()) << lab.identification.refusal;
    EXPECT_LT(lab.identification.fit->model.gain, 0);
    EXPECT_EQ(lab.tuningRefusal,
              "Le proc\xE9" "d\xE9 r\xE9pond \xE0 l'envers (gain n\xE9gatif) : le pupitre ne propose pas "
              "de r\xE9glage en action inverse.");
    EXPECT_TRUE(lab.suggestions.empty());
}

}  // namespace
