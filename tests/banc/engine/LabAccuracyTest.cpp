#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "BancTestSupport.h"
#include "SimulatedRun.h"
#include "engine/analysis/Identification.h"
#include "engine/lab/RecordedResponse.h"
#include "engine/link/CardLink.h"
#include "engine/run/Experiment.h"
#include "engine/run/IdentificationRun.h"
#include "support/TraceCapture.h"

using namespace std::chrono_literals;
using namespace banc;
using banc::test::SimulatedCardPeer;

namespace {

// An identification's run through the simulated card, then its identification.
struct IdentifiedRun {
    Outcome outcome;
    analysis::StepRecord record;
    analysis::Identification identification;
};

IdentifiedRun IdentifyOnCard(Settings& settings, double noise, std::uint32_t seed, cardsim::SimDuration turn,
                             double stabilisation)
{
    IdentifiedRun result;
    Elements elements;
    EXPECT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
    EXPECT_EQ(IdentificationRun::Refusal(settings, elements), "");
    IdentificationRun plan(settings, elements, {.stabilisation = stabilisation, .untilSettled = true});
    SimulatedCardPeer card(settings.bench->name, noise, seed, turn);
    CardLink link(card.Path(), {2s, 3});
    EXPECT_TRUE(link.Open());
    Experiment experiment(elements, settings, link);
    experiment.SetPollInterval(0ms);
    experiment.SetPlan(&plan);
    result.outcome = experiment.Run();
    EXPECT_TRUE(plan.EndedSettled());
    result.record = RecordedResponse(settings, elements);
    result.identification = analysis::Identify(result.record);
    return result;
}

// The air flow bench's temperature (the protocol page's plant) with the fan at
// 50 %: its flow lowers the heater's rise, 40 K x c / 100 / (1 + 50 / 100) =
// 0.2667 K a % of heater, or 0.4444 % of the 20-80 degC span; a lag of 20 s
// after a transport of 1.5 s. Recorded every 0.2 s.
constexpr double kFanFlow = 50;
constexpr double kGain = 40.0 / 100 / (1 + kFanFlow / 100) / 60 * 100;
constexpr double kLag = 20, kTransport = 1.5, kRecordingPeriod = 0.2;

class TemperatureAccuracy : public ::testing::TestWithParam<double> {
protected:
    tarvic::test::TraceCapture m_quiet;
};

}  // namespace

TEST_P(TemperatureAccuracy, TheIdentifiedModelIsThePlants)
{
    Settings settings = banc::test::MakeSettings(
        "debitair", "bo", {{"ci-debit", static_cast<float>(kFanFlow)}, {"tem", 200}, {"echelon", 60}});
    settings.factory = true;
    settings.duration = 400;
    settings.command = FindCommand(*settings.bench, "chauffage");
    settings.measure = FindMeasure(*settings.bench, "temperature");
    const IdentifiedRun run = IdentifyOnCard(settings, GetParam(), 3, 400ms, kDefaultStabilisation);
    EXPECT_EQ(run.outcome.status, Outcome::Status::Finished);
    ASSERT_TRUE(run.identification.Identified()) << run.identification.refusal;
    const analysis::ProcessModel& model = run.identification.fit->model;
    EXPECT_EQ(model.kind, analysis::ModelKind::FirstOrderDelay);
    EXPECT_NEAR(model.gain, kGain, 0.03 * kGain);
    EXPECT_NEAR(model.timeConstant, kLag, 0.03 * kLag);
    EXPECT_NEAR(model.delay, kTransport, kRecordingPeriod);
    std::printf("noise %g: K %.4f (%.2f %%), tau %.3f s (%.2f %%), theta %.3f s\n", GetParam(), model.gain,
                (model.gain / kGain - 1) * 100, model.timeConstant, (model.timeConstant / kLag - 1) * 100, model.delay);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutNoise, TemperatureAccuracy, ::testing::Values(0.0, 1.0),
                         [](const ::testing::TestParamInfo<double>& info) {
                             return info.param == 0 ? std::string("NoNoise") : std::string("OnePercentNoise");
                         });

TEST(LevelAccuracy, StrejcReadsTwoLagsOnTheSecondTank)
{
    tarvic::test::TraceCapture quiet;
    // The pump from 50 % to 60 %: both tanks from their rest at 50 % to 72 % ((a u / b)^2),
    // two lags in cascade, 60 s at 50 % and 72 s at 72 %, the second tank's
    // lagging the first's during the transient: a Tu / Ta a little below the
    // 0.104 of two equal lags, which the reading still takes for n = 2.
    Settings settings = banc::test::MakeSettings("niveaueau", "bo", {{"repos", 50}, {"echelon", 60}});
    settings.factory = true;
    settings.duration = 1600;
    settings.measure = FindMeasure(*settings.bench, "niveau2");
    const IdentifiedRun run = IdentifyOnCard(settings, 0, 1, 2s, 1200);
    EXPECT_EQ(run.outcome.status, Outcome::Status::Finished);
    ASSERT_TRUE(run.identification.Identified()) << run.identification.refusal;
    const auto strejc = std::find_if(run.identification.methods.begin(), run.identification.methods.end(),
                                     [](const analysis::MethodResult& method) { return method.key == "strejc"; });
    ASSERT_NE(strejc, run.identification.methods.end());
    EXPECT_EQ(strejc->model.order, 2);
    // 60 % is 1958 counts of 3264 (59.99 %): the level ends at 59.99^2 / 50 = 71.97 %, 2.20 % a %.
    EXPECT_NEAR(strejc->model.gain, 21.97 / 9.99, 0.05);
    std::printf("strejc n %d, tau %.2f s, theta %.2f s, K %.4f\n", strejc->model.order, strejc->model.timeConstant,
                strejc->model.delay, strejc->model.gain);
}
