#include <gtest/gtest.h>

#include <memory>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"
#include "engine/run/Experiment.h"
#include "engine/run/IdentificationRun.h"
#include "engine/run/RelayRun.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"

using namespace std::chrono_literals;
using namespace banc;
using banc::test::CardAnswer;
using tarvic::test::ScriptedCard;

namespace {

using Lines = std::vector<std::string>;
constexpr std::uint16_t kCell = 0x0100;  // every row of every point of the scripted blocks

class Watcher : public ExperimentObserver {
public:
    void Started(int lines) override { configured = lines; }
    void Resting(double seconds) override { rests.push_back(seconds); }
    void BlockAcquired(int acquired, int total) override { blocks.emplace_back(acquired, total); }
    int configured = 0;
    std::vector<double> rests;
    std::vector<std::pair<int, int>> blocks;
};

// Two blocks of 1.6 s on the air flow bench, on a card whose every block holds the same value.
class LabRunLinesTest : public ::testing::Test {
protected:
    void Configure(const char* mode, const char* command, const char* measure)
    {
        m_settings = banc::test::MakeSettings("debitair", mode);
        m_settings.duration = 3.2;
        m_settings.command = FindCommand(*m_settings.bench, command);
        m_settings.measure = FindMeasure(*m_settings.bench, measure);
        ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    Outcome Run(ScriptedCard& card, RunPlan& plan)
    {
        CardLink link(card.Path(), {1s, 3});
        EXPECT_TRUE(link.Open());
        Experiment experiment(m_elements, m_settings, link);
        experiment.SetObserver(&m_watcher);
        experiment.SetPollInterval(1ms);
        experiment.SetPlan(&plan);
        return experiment.Run();
    }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    Watcher m_watcher;
};

}  // namespace

TEST_F(LabRunLinesTest, TheIdentificationSendsItsStepOnceTheRestIsSteady)
{
    Configure("bo", "chauffage", "temperature");
    IdentificationRun plan(m_settings, m_elements, {});
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, kCell); });
    const Outcome outcome = Run(card, plan);
    EXPECT_EQ(outcome.status, Outcome::Status::Finished);
    // The step (50 %: 1632 counts) at rest first, 0.4 s of delay lengthened to
    // a block of 1.6 s and a millisecond: 1601 ms.
    const Lines lines = card.Lines();
    ASSERT_EQ(lines.size(), 14u + 19);
    EXPECT_EQ(Lines(lines.begin() + 8, lines.begin() + 14),
              (Lines{"!DSS", "!CBO0000", "!RED0641", "!CRBO0000", "!EMO", "!EVE0032"}));
    // The rest's two blocks are its own; the temperature asked live, the open loop's command read back.
    // The loop stopped for the step's value and the recording's arming alone, then started
    // again: the step's delay and the recording start at the same sample of the card.
    EXPECT_EQ(card.LinesFrom("!RD"),
              (Lines{"!RD", "?AEBC", "?ACO", "?TEM00", "?TSF00", "?TEM01", "?TSF01", "!EMO", "!RS", "!CBO0660",
                     "!EVE0032", "!RD", "?AEBC", "?ACO", "?TEM00", "?TSF00", "?TEM01", "?TSF01", "!RS"}));
    EXPECT_EQ(m_watcher.configured, 14);
    // Both blocks of the rest came in one turn, and each was judged as if it came alone.
    EXPECT_EQ(m_watcher.rests, (std::vector<double>{1.6, 3.2}));
    EXPECT_EQ(m_watcher.blocks, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_TRUE(plan.Rest().steady);
    // No step in a record of constant blocks: nothing settled, the whole recording.
    EXPECT_FALSE(plan.EndedSettled());
    float delay = 0;
    m_elements.generator->LitFParam(3, delay);
    EXPECT_FLOAT_EQ(delay, 1.6015f);
}

TEST_F(LabRunLinesTest, TheRelayTestIsolatesItsCommandAtRestThenSendsItsThresholds)
{
    Configure("tor", "chauffage", "temperature");
    RelayRun plan(m_settings, m_elements, kDefaultStabilisation);
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, kCell); });
    EXPECT_EQ(Run(card, plan).status, Outcome::Status::Finished);
    // Without noise the smallest threshold the element sends: 1 %, 32 counts of 3276.
    EXPECT_EQ(plan.Threshold(), 1.0f);
    // The thresholds and the setpoint's sequence while the command is isolated; the loop stopped
    // to wire the command and arm the recording, then started again: the relay from its bottom.
    EXPECT_EQ(
        card.LinesFrom("!DCPDFIT"),
        (Lines{"!DCPDFIT", "!TB2",     "!DSS",      "!CBF0660", "!RED0190", "!CRBF0000", "!EMO",     "!EVE0032", "!RD",
               "?AEBC",    "?AVS",     "?TEM00",    "?TSF00",   "?TEM01",   "?TSF01",    "!RBNFFE0", "!RBP0020", "!DSS",
               "!CBF0660", "!RED0190", "!CRBF0000", "!RS",      "!DCPDFTT", "!TB2",      "!EMO",     "!EVE0032", "!RD",
               "?AEBC",    "?AVS",     "?TEM00",    "?TSF00",   "?TEM01",   "?TSF01",    "!RS"}));
}

// A run whose rest is over at once and which holds what it is for after its first block.
class OneBlockPlan : public RunPlan {
public:
    OneBlockPlan(const Settings& settings, Elements& elements) : m_settings(settings), m_elements(elements) {}
    std::vector<std::string> RestConfiguration() override { return ConfigurationLines(m_elements, m_settings); }
    bool RestEnough(const std::vector<float>&, double) override { return true; }
    RunStart RunLines() override { return {{"EMO"}, {"EVE0032"}}; }
    bool Complete() override { return BlocksAcquired(*m_elements.recording) == 1; }

private:
    const Settings& m_settings;
    Elements& m_elements;
};

TEST_F(LabRunLinesTest, APlannedRunEndsOnTheBlockThatCompletesItThoughMoreAreReady)
{
    Configure("bo", "chauffage", "temperature");
    OneBlockPlan plan(m_settings, m_elements);
    // Every block is ready at once: a turn would fetch both.
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, kCell); });
    EXPECT_EQ(Run(card, plan).status, Outcome::Status::Finished);
    // The rest's turn fetched both its blocks; the run's stops after its first.
    EXPECT_EQ(card.LinesFrom("!RD"), (Lines{"!RD", "?AEBC", "?ACO", "?TEM00", "?TSF00", "?TEM01", "?TSF01", "!EMO",
                                            "!RS", "!EVE0032", "!RD", "?AEBC", "?ACO", "?TEM00", "?TSF00", "!RS"}));
    EXPECT_EQ(BlocksAcquired(*m_elements.recording), 1);
    EXPECT_EQ(m_watcher.blocks, (std::vector<std::pair<int, int>>{{1, 2}}));
}

TEST(LabRunRefusals, AnIdentificationIsAnOpenLoopStep)
{
    tarvic::test::TraceCapture quiet;
    const auto refusal = [](const char* mode, std::initializer_list<std::pair<const char*, float>> values,
                            std::optional<int> signal = std::nullopt) {
        Settings settings = banc::test::MakeSettings("debitair", mode, values);
        settings.signal = signal;
        Elements elements;
        EXPECT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
        return IdentificationRun::Refusal(settings, elements);
    };
    EXPECT_EQ(refusal("bo", {}), "");
    EXPECT_EQ(refusal("pid", {}),
              "L'identification se fait sur un \xE9" "chelon en boucle ouverte (--mode bo), pas en "
              "mode pid.");
    EXPECT_EQ(refusal("bo", {}, 1), "L'identification se fait sur un \xE9" "chelon de la commande (--signal echelon).");
    // 20.005 % and 20 % are both 652 counts of 3264 (652.96 and 652.8): the card would play no step.
    EXPECT_EQ(
        refusal("bo", {{"echelon", 20.005f}, {"repos", 20}}),
        "L'\xE9" "chelon de la commande est \xE9gal \xE0 son repos : il n'y a pas d'\xE9" "chelon \xE0 identifier.");
    EXPECT_EQ(refusal("bo", {{"echelon", 20.05f}, {"repos", 20}}), "");
}

TEST(LabRunRefusals, ARelayTestIsTheOnOffLoopOfAnAnalogBench)
{
    Settings axis = banc::test::MakeSettings("axnum", "position");
    EXPECT_EQ(RelayRun::Refusal(axis),
              "Le test du relais se fait avec le correcteur tout ou rien (mode tor), que seuls "
              "ont les bancs niveaueau, debitair : pas le banc axnum.");
    EXPECT_EQ(RelayRun::Refusal(banc::test::MakeSettings("niveaueau", "pid")),
              "Le test du relais se fait en mode tor, pas en mode pid.");
    Settings isolated = banc::test::MakeSettings("niveaueau", "tor");
    EXPECT_EQ(RelayRun::Refusal(isolated), "");
    isolated.routed = false;
    EXPECT_EQ(RelayRun::Refusal(isolated),
              "Le test du relais demande la commande branch\xE9" "e et la mesure en retour.");
}
