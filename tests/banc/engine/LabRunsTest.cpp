#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "BancTestSupport.h"
#include "SimulatedRun.h"
#include "engine/analysis/Relay.h"
#include "engine/lab/RecordedResponse.h"
#include "engine/link/CardLink.h"
#include "engine/outputs/Results.h"
#include "engine/run/Experiment.h"
#include "engine/run/IdentificationRun.h"
#include "engine/run/RelayRun.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Text.h"

using namespace std::chrono_literals;
using namespace banc;
using banc::test::SimulatedCardPeer;

namespace {

using Lines = std::vector<std::string>;

// The air flow bench's temperature (the protocol page's plant): the heater's
// command in %, the temperature in % of its 20-80 degC span, the fan off.
// T rises by 40 K x c / 100 / (1 + 0): 0.4 K a % of heater, 0.4 / 60 of the span.
constexpr double kHeaterGain = 0.4 / 60 * 100;
constexpr double kTimeConstant = 20, kTransport = 1.5;
// Every 50 ms, as the bench's factory settings sample and record.
constexpr double kPeriod = 0.05;

// A run of the engine through the simulated card, each of its polling turns 0.4 s of the card's time.
class LabRunTest : public ::testing::Test {
protected:
    void Configure(const char* bench, const char* mode, std::initializer_list<std::pair<const char*, float>> values,
                   double duration)
    {
        m_settings = banc::test::MakeSettings(bench, mode, values);
        m_settings.factory = true;
        m_settings.duration = duration;
        ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    Outcome Run(SimulatedCardPeer& card, RunPlan& plan)
    {
        CardLink link(card.Path(), {2s, 3});
        EXPECT_TRUE(link.Open());
        Experiment experiment(m_elements, m_settings, link);
        m_experiment = &experiment;
        experiment.SetPollInterval(0ms);
        experiment.SetPlan(&plan);
        const Outcome outcome = experiment.Run();
        m_experiment = nullptr;
        return outcome;
    }
    int Blocks() const { return BlocksAcquired(*m_elements.recording); }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    Experiment* m_experiment = nullptr;
};

double Mean(const std::vector<double>& values, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += values[i];
    return sum / static_cast<double>(to - from);
}

}  // namespace

TEST_F(LabRunTest, TheIdentificationHoldsTheRestStepsAndStopsOnceSettled)
{
    // A heater step from 0 to 50 %, recorded for at most 300 s.
    Configure("debitair", "bo", {}, 300);
    m_settings.command = FindCommand(*m_settings.bench, "chauffage");
    m_settings.measure = FindMeasure(*m_settings.bench, "temperature");
    ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    ASSERT_EQ(IdentificationRun::Refusal(m_settings, m_elements), "");
    IdentificationRun plan(m_settings, m_elements, {});
    SimulatedCardPeer card("debitair", 0, 1, 400ms);
    const Outcome outcome = Run(card, plan);

    EXPECT_EQ(outcome.status, Outcome::Status::Finished);
    EXPECT_EQ(outcome.message, "");
    // The rest (the heater off: the room's temperature) is steady over its first window.
    EXPECT_TRUE(plan.Rest().steady);
    EXPECT_DOUBLE_EQ(plan.Rest().seconds, kRestWindowPoints * kPeriod);
    EXPECT_DOUBLE_EQ(plan.Rest().noise, 0);
    // Configured with the step at rest (after a block at rest and a millisecond); then the
    // loop stopped for the step's value (50 % of 3264 counts) and the recording's arming,
    // started again, and stopped once settled.
    const Lines configuration = card.OrdersFrom("!DSS");
    ASSERT_GE(configuration.size(), 7u);
    EXPECT_EQ(Lines(configuration.begin(), configuration.begin() + 7),
              (Lines{"!DSS", "!CBO0000", "!RED0641", "!CRBO0000", "!EMO", "!EVE0032", "!RD"}));
    EXPECT_EQ(card.OrdersFrom("!RD"), (Lines{"!RD", "!EMO", "!RS", "!CBO0660", "!EVE0032", "!RD", "!RS"}));

    // The first point one sample after the recording and the step's time
    // started again: the step a millisecond past 1.6 s, at the next sample, is its 33rd point.
    const analysis::StepRecord record = RecordedResponse(m_settings, m_elements);
    const StepFigures figures = ExperimentStep(m_settings, m_elements);
    EXPECT_EQ(figures.stepIndex, 32);
    EXPECT_EQ(record.command[31], 0);
    EXPECT_EQ(record.command[32], 50);
    EXPECT_TRUE(plan.EndedSettled());
    EXPECT_LT(Blocks(), m_elements.recording->LitParam(2));
    EXPECT_EQ(Blocks(), m_elements.recording->LitParam(5));

    // The plant's response: the heater's new command acts from the step's
    // sample on, the sensor sees it after the transport; within a count of the
    // converter (100 / 3276 %) at every point.
    ASSERT_EQ(figures.verdict, StepVerdict::Settled);
    double worst = 0;
    for (std::size_t i = 0; i < record.measure.size(); ++i) {
        const double t = (static_cast<double>(i) - 32) * kPeriod - kTransport;
        const double expected = t > 0 ? 50 * kHeaterGain * (1 - std::exp(-t / kTimeConstant)) : 0;
        worst = std::max(worst, std::fabs(record.measure[i] - expected));
    }
    EXPECT_LT(worst, 100.0 / 3276);
    // Recorded a quarter longer than it took to be seen settled: over five time constants.
    EXPECT_GT((static_cast<int>(record.measure.size()) - figures.stepIndex) * kPeriod, 5 * kTimeConstant);
}

TEST_F(LabRunTest, AnIdentificationStoppedAfterItsStepIsNotFinished)
{
    Configure("debitair", "bo", {}, 300);
    m_settings.command = FindCommand(*m_settings.bench, "chauffage");
    m_settings.measure = FindMeasure(*m_settings.bench, "temperature");
    ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    IdentificationRun plan(m_settings, m_elements, {});
    SimulatedCardPeer card("debitair", 0, 1, 400ms);
    // Stopped as the tenth block after the step is asked for.
    int blocks = 0;
    bool stepped = false;
    card.OnLine([&](const std::string& line) {
        stepped = stepped || line == "!CBO0660";
        if (stepped && line.rfind("?TSF", 0) == 0 && ++blocks == 10 && m_experiment) m_experiment->RequestStop();
    });
    const Outcome outcome = Run(card, plan);
    EXPECT_EQ(outcome.status, Outcome::Status::Interrupted);
    EXPECT_EQ(outcome.message, "Essai interrompu.");
    EXPECT_FALSE(plan.EndedSettled());
    EXPECT_LE(Blocks(), 10);
    // The loop stopped: the order may reach the card after the run took a late reply for it.
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return !card.OrdersFrom("!RS").empty(); }));
    EXPECT_EQ(card.Lines().back(), "!RS");
}

TEST_F(LabRunTest, TheIdentificationsRestEndsAfterItsLongestWhenTheMeasurementDrifts)
{
    // A heater at 30 % at rest from the room's temperature: still rising after 10 s.
    // (30 % and 60 % of 3264 counts: 979 and 1958.)
    Configure("debitair", "bo", {{"repos", 30}, {"echelon", 60}}, 300);
    m_settings.command = FindCommand(*m_settings.bench, "chauffage");
    m_settings.measure = FindMeasure(*m_settings.bench, "temperature");
    ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    IdentificationRun plan(m_settings, m_elements, {.stabilisation = 10, .untilSettled = true});
    SimulatedCardPeer card("debitair", 0, 1, 400ms);
    // Stopped at the first request after the step is chosen: this test is about the rest.
    bool stepped = false;
    card.OnLine([&](const std::string& line) {
        stepped = stepped || line == "!CBO07A6";
        if (stepped && line == "?AEBC" && m_experiment) m_experiment->RequestStop();
    });
    EXPECT_EQ(Run(card, plan).status, Outcome::Status::Interrupted);
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return !card.OrdersFrom("!RS").empty(); }));
    EXPECT_FALSE(plan.Rest().steady);
    // Whole blocks of 1.6 s: the first 10 s or more.
    EXPECT_DOUBLE_EQ(plan.Rest().seconds, 7 * 32 * kPeriod);
    EXPECT_GT(plan.Rest().drift, plan.Rest().noise);
    EXPECT_EQ(card.OrdersFrom("!RD"), (Lines{"!RD", "!EMO", "!RS", "!CBO07A6", "!EVE0032", "!RD", "!RS"}));
}

TEST_F(LabRunTest, TheRelayTestOscillatesAroundTheSetpointWithThresholdsAboveTheNoise)
{
    // The water level bench's tank 1 with a noise of 1 % of its span, around the
    // on/off mode's setpoint (50 %), recording every 0.5 s for at most 20 min.
    Configure("niveaueau", "tor", {}, 1200);
    ASSERT_EQ(RelayRun::Refusal(m_settings), "");
    RelayRun plan(m_settings, m_elements, kDefaultStabilisation);
    SimulatedCardPeer card("niveaueau", 1, 7, 2s);
    const Outcome outcome = Run(card, plan);
    EXPECT_EQ(outcome.status, Outcome::Status::Finished);

    // The noise at rest (the pump off, the tank empty) is the card's: 1 % of the span.
    EXPECT_TRUE(plan.Rest().steady);
    EXPECT_NEAR(plan.Rest().noise, 1.0, 0.15);
    const int threshold = static_cast<int>(std::ceil(3 * plan.Rest().noise));
    EXPECT_EQ(plan.Threshold(), threshold);
    // Sent as the on/off element sends whole percent: t x 3276 / 100 counts.
    const std::string negative = tarvic::Format("!RBN%04X", (-threshold * 3276 / 100) & 0xFFFF);
    const std::string positive = tarvic::Format("!RBP%04X", threshold * 3276 / 100);
    // At rest its command isolated, then thresholds and the setpoint (50 % of 3264 counts)
    // played again; the loop stopped for the wiring to the pump and level 1 and the
    // recording, and started again.
    EXPECT_EQ(card.OrdersFrom("!DCPNFI1")[0], "!DCPNFI1");
    EXPECT_EQ(card.OrdersFrom("!RD"), (Lines{"!RD", negative, positive, "!DSS", "!CBF0660", "!RED0190", "!CRBF0000",
                                             "!RS", "!DCPNFP1", "!TB2", "!EMO", "!EVE01F4", "!RD", "!RS"}));

    // Ended once the relay made its periods, before the recording's end.
    EXPECT_LT(Blocks(), m_elements.recording->LitParam(2));
    const analysis::StepRecord record = RecordedResponse(m_settings, m_elements);
    // The points where the relay's command rises.
    std::vector<std::size_t> rises;
    for (std::size_t i = 1; i < record.command.size(); ++i)
        if (record.command[i - 1] < 50 && record.command[i] >= 50) rises.push_back(i);
    // The last block brought the period that completed them.
    EXPECT_GT(static_cast<int>(rises.size()), RelayRun::kRelayPeriods);
    const std::size_t beforeLastBlock = record.command.size() - 32;
    EXPECT_LE(std::count_if(rises.begin(), rises.end(), [&](std::size_t i) { return i < beforeLastBlock; }),
              RelayRun::kRelayPeriods);
    // The level swings around the setpoint, beyond the thresholds either side.
    const std::size_t half = record.measure.size() / 2;
    const auto [low, high] =
        std::minmax_element(record.measure.begin() + static_cast<long>(half), record.measure.end());
    EXPECT_NEAR(Mean(record.measure, half, record.measure.size()), 50, 1.5);
    EXPECT_LT(*low, 50 - threshold);
    EXPECT_GT(*high, 50 + threshold);

    // What the relay's analysis makes of it: the pump's 0-100 % swing, and the
    // period between the command's rises after the first.
    const analysis::RelayResult relay = analysis::AnalyseRelay(record.command, record.measure, record.period);
    ASSERT_EQ(relay.refusal, "");
    EXPECT_GE(relay.periods, 4);
    EXPECT_DOUBLE_EQ(relay.relayAmplitude, 50);
    EXPECT_NEAR(relay.ultimateGain, 4 * 50 / (std::numbers::pi * relay.amplitude), 1e-9);
    const double meanPeriod =
        static_cast<double>(rises.back() - rises[1]) / static_cast<double>(rises.size() - 2) * record.period;
    EXPECT_NEAR(relay.ultimatePeriod, meanPeriod, 0.1 * meanPeriod);
}
