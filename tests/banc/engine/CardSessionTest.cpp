#include <gtest/gtest.h>

#include <algorithm>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/link/CardSession.h"
#include "engine/outputs/Results.h"
#include "engine/run/IdentificationRun.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"

using namespace std::chrono_literals;
using namespace banc;
using banc::test::CardAnswer;
using tarvic::test::ScriptedCard;
using tarvic::test::WaitUntil;

namespace {

using Lines = std::vector<std::string>;

// What the session tells, kept for the test's thread.
class Listener : public SessionListener {
public:
    void Live(const LiveValues& values) override
    {
        std::lock_guard lock(m_mutex);
        ++live;
        last = values;
    }
    void Silent(const std::string& message) override
    {
        std::lock_guard lock(m_mutex);
        silences.push_back(message);
    }
    void OrderRefused(const std::string& message) override
    {
        std::lock_guard lock(m_mutex);
        refusals.push_back(message);
    }
    void RunEnded(const Outcome& outcome) override
    {
        std::lock_guard lock(m_mutex);
        outcomes.push_back(outcome.status);
    }
    template <class T>
    T Get(const T& field)
    {
        std::lock_guard lock(m_mutex);
        return field;
    }

    int live = 0;
    LiveValues last;
    std::vector<std::string> silences;
    std::vector<std::string> refusals;
    std::vector<Outcome::Status> outcomes;

private:
    std::mutex m_mutex;
};

// The air flow bench's PID, two blocks of 1.6 s, on a scripted card.
class CardSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings = banc::test::MakeSettings("debitair", "pid");
        m_settings.duration = 3.2;
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    int Count(const ScriptedCard& card, const std::string& line)
    {
        const Lines lines = card.Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    std::mutex m_lock;
    Listener m_listener;
};

}  // namespace

TEST_F(CardSessionTest, TheWatchAsksEveryMeasureAndSendsTheOrdersGivenThenARunTakesItsPlace)
{
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, 0x0100); });
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_listener, 1ms);
    session.Attach(m_elements, m_settings);
    // The flow's own request and the inputs' (the temperature), then the PID's read-back.
    ASSERT_TRUE(WaitUntil([&] { return m_listener.Get(m_listener.live) >= 2; }));
    const Lines first = card.Lines();
    EXPECT_EQ(Lines(first.begin(), first.begin() + 6), (Lines{"?AMD", "?AEBC", "?AVS", "?AMD", "?AEBC", "?AVS"}));
    EXPECT_EQ(m_listener.Get(m_listener.last).measures.size(), 2u);
    // No configuration without a run: the order given is the only one.
    session.Send({"RKP0400010003FFC000"});
    ASSERT_TRUE(WaitUntil([&] { return Count(card, "!RKP0400010003FFC000") == 1; }));
    const Lines orders = [&] {
        Lines all = card.Lines(), kept;
        std::copy_if(all.begin(), all.end(), std::back_inserter(kept),
                     [](const std::string& l) { return l[0] == '!'; });
        return kept;
    }();
    EXPECT_EQ(orders, Lines{"!RKP0400010003FFC000"});

    ASSERT_TRUE(session.StartRun(1ms));
    EXPECT_TRUE(session.Running());
    ASSERT_TRUE(WaitUntil([&] { return !m_listener.Get(m_listener.outcomes).empty(); }));
    EXPECT_EQ(m_listener.Get(m_listener.outcomes), std::vector<Outcome::Status>{Outcome::Status::Finished});
    EXPECT_EQ(BlocksAcquired(*m_elements.recording), 2);
    // The run asks only the measure it records; the watch starts again after its "RS".
    const Lines run = card.LinesFrom("!RD");
    EXPECT_EQ(Lines(run.begin(), run.begin() + 4), (Lines{"!RD", "?AMD", "?AVS", "?TEM00"}));
    ASSERT_TRUE(WaitUntil([&] {
        const Lines after = card.LinesFrom("!RS");
        return after.size() >= 3 && after[1] == "?AMD" && after[2] == "?AEBC";
    }));
    EXPECT_FALSE(session.Running());
}

TEST_F(CardSessionTest, ARunWithAPlanHoldsItsRestBeforeItsRecording)
{
    m_settings = banc::test::MakeSettings("debitair", "bo");
    m_settings.duration = 3.2;
    ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    IdentificationRun plan(m_settings, m_elements, {});
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, 0x0100); });
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_listener, 1ms);
    session.Attach(m_elements, m_settings);
    ASSERT_TRUE(session.StartRun(1ms, &plan));
    ASSERT_TRUE(WaitUntil([&] { return !m_listener.Get(m_listener.outcomes).empty(); }));
    EXPECT_EQ(m_listener.Get(m_listener.outcomes), std::vector<Outcome::Status>{Outcome::Status::Finished});
    // Two blocks at rest, then the step (50 %: 1632 counts) and the recording started together with the loop.
    const Lines run = card.LinesFrom("!RD");
    ASSERT_GE(run.size(), 12u);
    EXPECT_EQ(Lines(run.begin() + 3, run.begin() + 12),
              (Lines{"?TEM00", "?TSF00", "?TEM01", "?TSF01", "!EMO", "!RS", "!CBO0660", "!EVE0032", "!RD"}));
    EXPECT_EQ(BlocksAcquired(*m_elements.recording), 2);
    EXPECT_TRUE(plan.Rest().steady);
}

TEST_F(CardSessionTest, ASilentCardIsToldOnceAndWatchedUntilItAnswersAgain)
{
    std::atomic<bool> silent{true};
    ScriptedCard card([&](const std::string& line) -> std::optional<std::string> {
        if (silent) return std::nullopt;
        return CardAnswer(line);
    });
    CardLink link(card.Path(), {20ms, 2});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_listener, 1ms);
    session.Attach(m_elements, m_settings);
    // Asked twice, then once more at every turn.
    ASSERT_TRUE(WaitUntil([&] { return Count(card, "?AMD") >= 6; }));
    EXPECT_EQ(m_listener.Get(m_listener.silences),
              std::vector<std::string>{"La carte ne r\xE9pond pas : \xAB AMD \xBB envoy\xE9 2 fois, chaque fois sans "
                                       "r\xE9ponse au bout de 0,02 s (0,04 s en tout)."});
    EXPECT_EQ(m_listener.Get(m_listener.live), 0);
    silent = false;
    ASSERT_TRUE(WaitUntil([&] { return m_listener.Get(m_listener.live) > 0; }));
    EXPECT_EQ(m_listener.Get(m_listener.silences).size(), 1u);
}

TEST_F(CardSessionTest, AnOrderTheCardRefusesIsToldAndTheWatchGoesOn)
{
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line == "!CIDD99") return "!Erreur";
        return CardAnswer(line);
    });
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_listener, 1ms);
    session.Attach(m_elements, m_settings);
    session.Send({"CIDD99", "CIDT33"});
    ASSERT_TRUE(WaitUntil([&] { return Count(card, "!CIDT33") == 1; }));
    EXPECT_EQ(m_listener.Get(m_listener.refusals),
              std::vector<std::string>{"La carte a refus\xE9 la ligne \xAB CIDD99 \xBB (r\xE9ponse !Erreur)."});
    const int before = m_listener.Get(m_listener.live);
    ASSERT_TRUE(WaitUntil([&] { return m_listener.Get(m_listener.live) > before; }));
}

TEST_F(CardSessionTest, DetachingGivesUpTheExchangeOfASilentCardAndLetsTheElementsGo)
{
    ScriptedCard card([](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    // Were the exchange waited for, this test would outlast its time-out.
    CardLink link(card.Path(), {std::chrono::milliseconds(100000), 3});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_listener, 1ms);
    session.Attach(m_elements, m_settings);
    ASSERT_TRUE(WaitUntil([&] { return Count(card, "?AMD") == 1; }));
    session.Detach();
    EXPECT_FALSE(session.StartRun(1ms));  // nothing attached
    // The link carries exchanges again for the next elements.
    session.Attach(m_elements, m_settings);
    ASSERT_TRUE(WaitUntil([&] { return Count(card, "?AMD") == 2; }));
}

TEST_F(CardSessionTest, ClosingDuringARunStopsTheCardsLoopFirst)
{
    // The second block never gets ready.
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line == "?TEM01") return "!TEM01N";
        return CardAnswer(line);
    });
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    {
        CardSession session(link, m_lock, m_listener, 1ms);
        session.Attach(m_elements, m_settings);
        ASSERT_TRUE(session.StartRun(1ms));
        ASSERT_TRUE(WaitUntil([&] { return Count(card, "?TEM01") >= 1; }));
    }
    EXPECT_EQ(card.Lines().back(), "!RS");
    EXPECT_EQ(m_listener.Get(m_listener.outcomes), std::vector<Outcome::Status>{Outcome::Status::Interrupted});
    EXPECT_EQ(BlocksAcquired(*m_elements.recording), 1);
}
