#include <gtest/gtest.h>

#include <condition_variable>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/link/CardSession.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"

using namespace std::chrono_literals;
using namespace banc;
using banc::test::CardAnswer;
using tarvic::test::ScriptedCard;
using tarvic::test::WaitUntil;

namespace {

// The ends of the runs the session tells.
class Ends : public SessionListener {
public:
    void RunEnded(const Outcome& outcome) override
    {
        std::lock_guard lock(m_mutex);
        outcomes.push_back(outcome);
    }
    std::vector<Outcome> Get()
    {
        std::lock_guard lock(m_mutex);
        return outcomes;
    }

private:
    std::mutex m_mutex;
    std::vector<Outcome> outcomes;
};

// A job that sends one order of its own through the link, then waits to be stopped.
class WaitingJob : public SessionJob {
public:
    Outcome Run(CardLink& link, std::mutex&, ExperimentObserver&) override
    {
        link.Exchange('!', "JOB");
        std::unique_lock lock(m_mutex);
        running = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return stopped; });
        return {Outcome::Status::Interrupted, "Essai interrompu."};
    }
    void RequestStop() override
    {
        std::lock_guard lock(m_mutex);
        stopped = true;
        m_changed.notify_all();
    }
    bool Running()
    {
        std::lock_guard lock(m_mutex);
        return running;
    }

    bool running = false;
    bool stopped = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// The air flow bench in open loop on a scripted card, watched every millisecond.
class SessionJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings = banc::test::MakeSettings("debitair", "bo");
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    std::mutex m_lock;
    Ends m_ends;
};

}  // namespace

TEST_F(SessionJobTest, AJobTakesTheWatchsPlaceUntilStoppedThenTheWatchGoesOn)
{
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, 0x0100); });
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_ends, 1ms);
    session.Attach(m_elements, m_settings);
    ASSERT_TRUE(WaitUntil([&] { return card.Lines().size() >= 3; }));
    WaitingJob job;
    ASSERT_TRUE(session.StartJob(job));
    EXPECT_TRUE(session.Running());
    ASSERT_TRUE(WaitUntil([&] { return job.Running(); }));
    // No second run nor job while it runs; the orders given wait for its end.
    WaitingJob other;
    EXPECT_FALSE(session.StartJob(other));
    EXPECT_FALSE(session.StartRun(1ms));
    session.Send({"CIDD99"});
    const std::size_t during = card.Lines().size();
    EXPECT_EQ(card.Lines().back(), "!JOB");

    session.StopRun();
    ASSERT_TRUE(WaitUntil([&] { return !m_ends.Get().empty(); }));
    ASSERT_EQ(m_ends.Get().size(), 1u);
    EXPECT_EQ(m_ends.Get()[0].status, Outcome::Status::Interrupted);
    EXPECT_EQ(m_ends.Get()[0].message, "Essai interrompu.");
    EXPECT_TRUE(job.stopped);
    EXPECT_FALSE(other.running);
    // The watch again, the order given meanwhile first.
    ASSERT_TRUE(WaitUntil([&] { return card.Lines().size() >= during + 3; }));
    EXPECT_EQ(card.Lines()[during], "!CIDD99");
    EXPECT_FALSE(session.Running());
}

TEST_F(SessionJobTest, DetachingStopsAJobAndWaitsForItsEnd)
{
    ScriptedCard card([](const std::string& line) { return CardAnswer(line, 0x0100); });
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    CardSession session(link, m_lock, m_ends, 1ms);
    session.Attach(m_elements, m_settings);
    WaitingJob job;
    ASSERT_TRUE(session.StartJob(job));
    ASSERT_TRUE(WaitUntil([&] { return job.Running(); }));
    session.Detach();
    // Detach returned: the job is over, its end told.
    EXPECT_TRUE(job.stopped);
    ASSERT_TRUE(WaitUntil([&] { return m_ends.Get().size() == 1; }));
    EXPECT_FALSE(session.Running());
}
