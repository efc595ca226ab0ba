#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "BancTestSupport.h"
#include "engine/publish/RoomReport.h"
#include "engine/run/Setup.h"
#include "net/MqttClient.h"
#include "net/PayloadJson.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

namespace banc::test {
namespace {

using tarvic::test::MessageLog;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

TEST(RoomReportOff, WithoutABrokerEveryCallDoesNothing)
{
    publish::RoomReport room(net::MqttSettings{}, "tarvic-banc", "alice");
    EXPECT_FALSE(room.On());
    Settings settings = MakeSettings("niveaueau", "pid");
    Elements elements;
    ASSERT_EQ(Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements).error, "");
    room.RunStarted(settings, elements, "cardsim");
    room.Live(LiveValues{});
    room.RunEnded(history::KeptInHistory{});
    const net::LinkCounters counters = room.Counters();
    EXPECT_EQ(counters.published, 0u);
    EXPECT_FALSE(counters.connected);
}

// A console's report on a broker of the test's own, and the room's side of it.
class RoomReportOnABroker : public ::testing::Test {
protected:
    void SetUp() override
    {
        TARVIC_REQUIRE_MOSQUITTO();
        m_broker.emplace();
        ASSERT_TRUE(m_broker->Running()) << m_broker->Log();
        m_log.emplace(m_broker->Port(), "tarvic/+/+/etat");
        ASSERT_TRUE(m_log->Ready());
        m_settings = MakeSettings("niveaueau", "pid");
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    net::MqttSettings Mqtt() const { return tarvic::test::LoopbackSettings(m_broker->Port(), {"B204", "pc07"}); }
    void Order(const std::string& payload)
    {
        if (!m_teacher) m_teacher.emplace(Mqtt(), "salle-de-test", net::MqttClient::Will{});
        m_teacher->Publish("tarvic/B204/pc07/ordre", payload, false);
    }
    net::PosteState State(std::size_t index) const
    {
        net::PosteState state;
        EXPECT_EQ(net::FromJson(m_log->Payloads().at(index), state), "");
        return state;
    }

    std::optional<TestBroker> m_broker;
    std::optional<MessageLog> m_log;
    std::optional<net::MqttClient> m_teacher;
    Settings m_settings;
    Elements m_elements;
};

TEST_F(RoomReportOnABroker, TheStateFollowsTheRunFromFreeToRunningToStopped)
{
    publish::RoomReport room(Mqtt(), "tarvic-banc-fenetre", "alice");
    ASSERT_TRUE(room.On());
    room.Free(m_settings, "");
    room.RunStarted(m_settings, m_elements, "cardsim (carte simul\xE9" "e)");
    history::KeptInHistory kept;
    kept.run.bench = "niveaueau";
    kept.run.mode = "pid";
    kept.run.card = "cardsim (carte simul\xE9" "e)";
    kept.run.startedAt = "2026-12-08 15:04:05";
    kept.run.outcome = history::RunOutcome::Interrupted;
    room.RunEnded(kept);
    ASSERT_TRUE(m_log->WaitFor(3));
    const net::PosteActivity expected[] = {net::PosteActivity::Free, net::PosteActivity::Running,
                                           net::PosteActivity::Stopped};
    for (std::size_t i = 0; i < 3; ++i) {
        const net::PosteState state = State(i);
        EXPECT_EQ(state.activity, expected[i]) << i;
        EXPECT_EQ(state.name, "niveaueau");
        EXPECT_EQ(state.mode, "pid");
        EXPECT_EQ(state.program, "tarvic-banc-fenetre");
        EXPECT_EQ(state.user, "alice");
    }
    EXPECT_EQ(State(0).card, "");
    EXPECT_EQ(State(1).card, "cardsim (carte simul\xE9" "e)");
}

// The handlers' calls, for the test's thread.
class Calls {
public:
    void Add(std::string call)
    {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    std::vector<std::string> Seen() const
    {
        const std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

TEST_F(RoomReportOnABroker, OrdersGoToTheHandlersOfTheMomentAndNoneOnceReplaced)
{
    publish::RoomReport room(Mqtt(), "tarvic-banc", "alice");
    Calls calls;
    room.SetOrders({[&calls] { calls.Add("arreter"); }, [&calls](const std::string& text) { calls.Add(text); },
                    [&calls](const std::string& why) { calls.Add("refus : " + why); }});
    room.Free(m_settings, "");
    ASSERT_TRUE(m_log->WaitFor(1));  // connected, and subscribed to its orders by then
    Order("{\"schema\":1,\"ordre\":\"message\",\"texte\":\"Pause\"}");
    Order("{\"schema\":1,\"ordre\":\"arreter\"}");
    Order("{\"schema\":2,\"ordre\":\"arreter\"}");
    ASSERT_TRUE(WaitUntil([&] { return calls.Seen().size() == 3; }));
    EXPECT_EQ(calls.Seen(),
              (std::vector<std::string>{"Pause", "arreter", "refus : sch\xE9ma 2 inconnu (version 1 attendue)"}));
    // Without a run: a stop has nothing to stop, the messages still come.
    room.SetOrders({{}, [&calls](const std::string& text) { calls.Add(text); }, {}});
    Order("{\"schema\":1,\"ordre\":\"arreter\"}");
    Order("{\"schema\":1,\"ordre\":\"message\",\"texte\":\"Fin\"}");
    ASSERT_TRUE(WaitUntil([&] { return calls.Seen().size() == 4; }));
    EXPECT_EQ(calls.Seen().back(), "Fin");
}

}  // namespace
}  // namespace banc::test
