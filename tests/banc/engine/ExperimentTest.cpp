#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/run/Experiment.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Text.h"

using namespace std::chrono_literals;
using namespace banc;
using banc::test::CardAnswer;
using tarvic::test::ScriptedCard;

namespace {

constexpr std::uint16_t kCell = 0x0100;  // every row of every point of the scripted blocks

// Counts what the experiment tells.
class Watcher : public ExperimentObserver {
public:
    void Started(int lines) override { configured = lines; }
    void Live(const LiveValues&) override { ++live; }
    void BlockAcquired(int acquired, int total) override { blocks.emplace_back(acquired, total); }
    int configured = 0;
    int live = 0;
    std::vector<std::pair<int, int>> blocks;
};

// A card that answers every line until its first block is asked for, and none after.
ScriptedCard::Answer SilentAfterTheFirstBlock()
{
    auto silent = std::make_shared<std::atomic<bool>>(false);
    return [silent](const std::string& line) -> std::optional<std::string> {
        if (*silent) return std::nullopt;
        *silent = line == "?TSF00";
        return CardAnswer(line, kCell);
    };
}

// A closed-loop PID on the air flow bench, recording two blocks of 1.6 s, on a scripted card.
class ExperimentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings = banc::test::MakeSettings("debitair", "pid");
        m_settings.duration = 3.2;
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    Outcome Run(ScriptedCard& card, std::function<void(Experiment&)> during = {}, LinkTiming timing = {100ms, 3})
    {
        CardLink link(card.Path(), timing);
        EXPECT_TRUE(link.Open());
        Experiment experiment(m_elements, m_settings, link);
        experiment.SetObserver(&m_watcher);
        experiment.SetPollInterval(1ms);
        std::thread helper;
        if (during) helper = std::thread([&] { during(experiment); });
        const Outcome outcome = experiment.Run();
        if (helper.joinable()) helper.join();
        return outcome;
    }
    // A run stopped as soon as the card is asked whether the second block is ready.
    Outcome RunStoppedAtTheSecondBlock(ScriptedCard& card, LinkTiming timing)
    {
        return Run(
            card,
            [&](Experiment& experiment) {
                tarvic::test::WaitUntil([&] { return !card.LinesFrom("?TEM01").empty(); });
                experiment.RequestStop();
            },
            timing);
    }
    int Blocks() const { return m_elements.recording->LitNbPoint() / 32; }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    Watcher m_watcher;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(ExperimentTest, BlocksAreFetchedAsTheyAreReadyAndTheLoopStopsAtTheEnd)
{
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, kCell); });
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Finished);
    EXPECT_EQ(outcome.message, "");
    // The flow measurement from the bench, the loop's values from the PID; each ready block at once.
    EXPECT_EQ(card.LinesFrom("!RD"), (Lines{"!RD", "?AMD", "?AVS", "?TEM00", "?TSF00", "?TEM01", "?TSF01", "!RS"}));
    EXPECT_EQ(card.Lines().size(), 20u + 8);  // 20 configuration lines before
    EXPECT_EQ(m_watcher.configured, 20);
    EXPECT_EQ(m_watcher.live, 1);
    EXPECT_EQ(m_watcher.blocks, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_FLOAT_EQ(m_elements.recording->LitPoint('M', 63), kCell * 100.0f / 3264);
}

TEST_F(ExperimentTest, ABlockOfTheWrongLengthIsAskedAgain)
{
    int short00 = 1;
    ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (line == "?TSF00" && short00-- > 0) return CardAnswer(line, kCell)->substr(0, 2055);
        return CardAnswer(line, kCell);
    });
    EXPECT_EQ(Run(card).status, Outcome::Status::Finished);
    EXPECT_EQ(card.LinesFrom("?TEM00"), (Lines{"?TEM00", "?TSF00", "?TSF00", "?TEM01", "?TSF01", "!RS"}));
    EXPECT_EQ(Blocks(), 2);
}

TEST_F(ExperimentTest, ABlockThatNeverComesRightStopsTheExperimentWithTheBlocksBefore)
{
    ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (line == "?TSF01") return CardAnswer(line, kCell)->substr(0, 100);
        return CardAnswer(line, kCell);
    });
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Refused);
    EXPECT_EQ(outcome.message, "Le bloc 2 de l'enregistrement reste illisible apr\xE8s 3 demandes.");
    EXPECT_EQ(card.LinesFrom("?TEM01"), (Lines{"?TEM01", "?TSF01", "?TSF01", "?TSF01", "!RS"}));
    EXPECT_EQ(Blocks(), 1);
}

TEST_F(ExperimentTest, ACardSilencedMidRunEndsTheRunWithTheBlocksAcquired)
{
    ScriptedCard card(SilentAfterTheFirstBlock());
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Silent);
    EXPECT_EQ(outcome.message,
              "La carte ne r\xE9pond plus : \xAB TEM01 \xBB envoy\xE9 3 fois, chaque fois sans r\xE9ponse "
              "au bout de 0,1 s (0,3 s en tout).");
    // Asked three times, then one try at stopping the loop.
    EXPECT_EQ(card.LinesFrom("?TSF00"), (Lines{"?TSF00", "?TEM01", "?TEM01", "?TEM01", "!RS"}));
    EXPECT_EQ(Blocks(), 1);
    EXPECT_FLOAT_EQ(m_elements.recording->LitPoint('2', 31), kCell * 100.0f / 3264);
}

TEST_F(ExperimentTest, ACardThatHangsUpEndsTheRunWithoutAnotherLine)
{
    ScriptedCard* hangUp = nullptr;
    ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (line == "?TEM01") {
            hangUp->HangUp();
            return std::nullopt;
        }
        return CardAnswer(line, kCell);
    });
    hangUp = &card;
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Lost);
    EXPECT_EQ(outcome.message.substr(0, 50), "La liaison avec la carte est perdue : le port /dev");
    EXPECT_EQ(card.Lines().back(), "?TEM01");
    EXPECT_EQ(Blocks(), 1);
}

TEST_F(ExperimentTest, ARefusedConfigurationLineStopsBeforeTheLoopStarts)
{
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line.rfind("!RKP", 0) == 0) return "!Erreur";
        return CardAnswer(line, kCell);
    });
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Refused);
    EXPECT_EQ(outcome.message, "La carte a refus\xE9 la ligne \xAB RKP0400010003FFC000 \xBB (r\xE9ponse !Erreur).");
    EXPECT_EQ(card.Lines().back(), "!RKP0400010003FFC000");  // no "?VER": the card took the bench's first lines
    EXPECT_EQ(m_watcher.configured, 0);
    EXPECT_FALSE(outcome.unusable);
}

TEST_F(ExperimentTest, ACardThatRefusesTheBenchsFirstLineIsAskedWhoItIs)
{
    // A station's card: it knows "?VER" and none of the bench's lines.
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        return line == "?VER" ? "!VER CARDSIM 1.0" : "!Erreur";
    });
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Refused);
    EXPECT_TRUE(outcome.unusable);
    EXPECT_EQ(
        outcome.message,
        "La carte qui r\xE9pond se pr\xE9sente comme \xAB CARDSIM 1.0 \xBB et a refus\xE9 la premi\xE8re ligne du "
        "banc debitair (\xAB DFS14 \xBB, r\xE9ponse !Erreur) : ce n'est pas la carte de ce banc.");
    // Asked once who it is; no loop was started, so none is stopped.
    EXPECT_EQ(card.Lines(), (Lines{"!DFS14", "?VER"}));
    EXPECT_EQ(m_watcher.configured, 0);
}

TEST_F(ExperimentTest, ACardThatRefusesTheFirstLineAndGivesNoNameIsQuestioned)
{
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line == "?VER") return std::nullopt;
        return "!Erreur";
    });
    const Outcome outcome = Run(card);
    EXPECT_TRUE(outcome.unusable);
    EXPECT_EQ(
        outcome.message,
        "La carte a refus\xE9 la premi\xE8re ligne du banc debitair (\xAB DFS14 \xBB, r\xE9ponse !Erreur) et ne se "
        "pr\xE9sente pas \xE0 ?VER : est-ce bien la carte de ce banc ?");
    // "?VER" once only: the card already showed that it answers.
    EXPECT_EQ(card.Lines(), (Lines{"!DFS14", "?VER"}));
}

TEST_F(ExperimentTest, ACardSilentFromTheFirstLineIsUnusableAfterItsTries)
{
    ScriptedCard card([](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    const Outcome outcome = Run(card);
    EXPECT_EQ(outcome.status, Outcome::Status::Silent);
    EXPECT_TRUE(outcome.unusable);
    EXPECT_EQ(outcome.message,
              "La carte ne r\xE9pond pas : \xAB DFS14 \xBB envoy\xE9 3 fois, chaque fois sans r\xE9ponse "
              "au bout de 0,1 s (0,3 s en tout).");
    EXPECT_EQ(card.Lines(), (Lines{"!DFS14", "!DFS14", "!DFS14"}));
}

TEST_F(ExperimentTest, AStopRequestEndsTheRunStopsTheLoopAndKeepsTheBlocks)
{
    // The second block never gets ready.
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line == "?TEM01") return "!TEM01N";
        return CardAnswer(line, kCell);
    });
    const Outcome outcome = Run(card, [&](Experiment& experiment) {
        tarvic::test::WaitUntil([&] {
            const auto lines = card.Lines();
            return !lines.empty() && lines.back() == "?TEM01";
        });
        experiment.RequestStop();
    });
    EXPECT_EQ(outcome.status, Outcome::Status::Interrupted);
    EXPECT_EQ(outcome.message, "Essai interrompu.");
    EXPECT_EQ(card.Lines().back(), "!RS");
    EXPECT_EQ(Blocks(), 1);
    EXPECT_FALSE(m_elements.recording->LitStart());
}

TEST_F(ExperimentTest, ACardThatSendsByteByByteCompletesTheRunWithOneRequestPerBlock)
{
    constexpr int kBlocks = 5;
    m_settings.duration = 1.6 * kBlocks;
    ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    // Each block takes longer than the reply's time-out: 129 pieces at least 5 ms apart, against
    // 0.5 s, so that a loaded machine's pauses between two pieces stay well under the time-out.
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, kCell); }, {16, 5ms});
    const Outcome outcome = Run(card, {}, {500ms, 3});
    EXPECT_EQ(outcome.status, Outcome::Status::Finished);
    EXPECT_EQ(Blocks(), kBlocks);
    ASSERT_EQ(m_watcher.blocks.size(), static_cast<std::size_t>(kBlocks));
    EXPECT_EQ(m_watcher.blocks.back(), std::make_pair(kBlocks, kBlocks));
    Lines requests;
    for (const auto& line : card.Lines())
        if (line.rfind("?TSF", 0) == 0) requests.push_back(line);
    Lines expected;
    for (int block = 0; block < kBlocks; ++block) expected.push_back(tarvic::Format("?TSF%02X", block));
    EXPECT_EQ(requests, expected);
    EXPECT_FLOAT_EQ(m_elements.recording->LitPoint('2', kBlocks * 32 - 1), kCell * 100.0f / 3264);
    EXPECT_EQ(card.Lines().back(), "!RS");
}

TEST_F(ExperimentTest, AStopGivesUpTheWaitOnALateCardAtOnceThenStopsTheLoop)
{
    // After the first block the card answers nothing but the order that stops its loop.
    std::atomic<bool> late{false};
    ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (late && line != "!RS") return std::nullopt;
        late = late || line == "?TSF00";
        return CardAnswer(line, kCell);
    });
    // Were the wait kept after the stop, "?TEM01" would go again at each time-out.
    const Outcome outcome = RunStoppedAtTheSecondBlock(card, {5s, 3});
    EXPECT_EQ(outcome.status, Outcome::Status::Interrupted);
    EXPECT_EQ(outcome.message, "Essai interrompu.");
    EXPECT_EQ(card.LinesFrom("?TSF00"), (Lines{"?TSF00", "?TEM01", "!RS"}));
    EXPECT_EQ(Blocks(), 1);
    EXPECT_FALSE(m_elements.recording->LitStart());
}

TEST_F(ExperimentTest, ASecondStopGivesUpTheOrderThatStopsTheLoop)
{
    ScriptedCard card(SilentAfterTheFirstBlock());
    const Outcome outcome = Run(card,
                                [&](Experiment& experiment) {
                                    tarvic::test::WaitUntil([&] { return !card.LinesFrom("?TEM01").empty(); });
                                    experiment.RequestStop();
                                    tarvic::test::WaitUntil([&] { return !card.LinesFrom("!RS").empty(); });
                                    experiment.RequestStop();
                                },
                                {5s, 3});
    EXPECT_EQ(outcome.status, Outcome::Status::Interrupted);
    // One try at stopping a card that may have gone silent, given up by the second stop.
    EXPECT_EQ(card.LinesFrom("?TSF00"), (Lines{"?TSF00", "?TEM01", "!RS"}));
    EXPECT_EQ(Blocks(), 1);
}

TEST_F(ExperimentTest, AfterAStopACardThatStaysQuietIsNotWaitedForAsLongAsAReply)
{
    ScriptedCard card(SilentAfterTheFirstBlock());
    // Were the order that stops the loop given the whole time-out, this test would outlast its own.
    const Outcome outcome = RunStoppedAtTheSecondBlock(card, {600s, 3});
    EXPECT_EQ(outcome.status, Outcome::Status::Interrupted);
    EXPECT_EQ(outcome.message, "Essai interrompu.");
    EXPECT_EQ(card.LinesFrom("?TSF00"), (Lines{"?TSF00", "?TEM01", "!RS"}));
    EXPECT_EQ(Blocks(), 1);
}
