#include "net/PostePublisher.h"

#include <gtest/gtest.h>

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "net/PayloadJson.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

namespace net {
namespace {

using tarvic::test::MessageLog;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

const std::string kTime = "2026-12-08T15:04:05.123Z";

MqttSettings Local(int port) { return tarvic::test::LoopbackSettings(port, {"B204", "poste07"}); }

PosteState Free(const std::string& time)
{
    PosteState state;
    state.name = "niveaueau";
    state.mode = "pid";
    state.activity = PosteActivity::Free;
    state.card = "cardsim";
    state.user = "alice";
    state.time = time;
    return state;
}

// A broker of the test's own and a subscriber to everything under tarvic/.
class PlaceOnTheBroker : public ::testing::Test {
protected:
    void SetUp() override
    {
        TARVIC_REQUIRE_MOSQUITTO();
        m_broker.emplace();
        ASSERT_TRUE(m_broker->Running()) << m_broker->Log();
        m_log.emplace(m_broker->Port(), "tarvic/#");
        ASSERT_TRUE(m_log->Ready());
    }
    // Stands for the room: orders written straight to the place's topic.
    void Order(const std::string& payload)
    {
        if (!m_room) {
            m_room.emplace(Local(m_broker->Port()), "salle-de-test", MqttClient::Will{});
        }
        m_room->Publish("tarvic/B204/poste07/ordre", payload, false);
    }

    std::optional<TestBroker> m_broker;
    std::optional<MessageLog> m_log;
    std::optional<MqttClient> m_room;
};

TEST_F(PlaceOnTheBroker, TheStateIsRetainedUnderTheBenchsPlace)
{
    PostePublisher place(Local(m_broker->Port()), PosteKind::Bench, "tarvic-banc", "1.0.0");
    place.PublishState(Free(kTime));
    ASSERT_TRUE(m_log->WaitFor(1));
    EXPECT_EQ(m_log->Messages()[0].first, "tarvic/B204/poste07/etat");
    EXPECT_EQ(m_log->Messages()[0].second,
              "{\"schema\":1,\"type\":\"banc\",\"nom\":\"niveaueau\",\"mode\":\"pid\",\"etat\":\"libre\","
              "\"carte\":\"cardsim\",\"programme\":\"tarvic-banc\",\"version\":\"1.0.0\",\"utilisateur\":\"alice\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
    // A room view that comes later finds it at once.
    MessageLog later(m_broker->Port(), "tarvic/+/+/etat");
    ASSERT_TRUE(later.WaitFor(1));
    EXPECT_EQ(later.Payloads()[0], m_log->Messages()[0].second);
}

TEST_F(PlaceOnTheBroker, AProgramLeavingCleanlySaysItIsOfflineUnderItsLastName)
{
    {
        PostePublisher place(Local(m_broker->Port()), PosteKind::Bench, "tarvic-banc", "1.0.0");
        place.PublishState(Free(kTime));
        ASSERT_TRUE(m_log->WaitFor(1));
    }
    ASSERT_TRUE(m_log->WaitFor(2));
    EXPECT_EQ(m_log->Messages()[1].first, "tarvic/B204/poste07/etat");
    PosteState state;
    ASSERT_EQ(FromJson(m_log->Messages()[1].second, state), "");
    EXPECT_EQ(state.activity, PosteActivity::Offline);
    EXPECT_EQ(state.name, "niveaueau");
    EXPECT_EQ(state.mode, "pid");
    EXPECT_EQ(state.user, "alice");
    EXPECT_EQ(state.program, "tarvic-banc");
    EXPECT_NE(state.time, kTime);
}

TEST_F(PlaceOnTheBroker, TheStateIsPublishedAgainAfterTheBrokerCameBack)
{
    PostePublisher place(Local(m_broker->Port()), PosteKind::Bench, "tarvic-banc", "1.0.0");
    place.PublishState(Free(kTime));
    ASSERT_TRUE(m_log->WaitFor(1));
    m_broker->Stop();
    ASSERT_TRUE(m_broker->Start()) << m_broker->Log();
    const auto first = m_log->Messages()[0];
    // The broker's going cut the connection: it gave the will (its subscribers
    // may get it twice: queued, then retained), then the state came again.
    ASSERT_TRUE(WaitUntil([&] {
        const auto messages = m_log->Messages();
        return messages.size() > 2 && messages.back() == first;
    })) << ::testing::PrintToString(m_log->Messages());
    const auto messages = m_log->Messages();
    for (std::size_t i = 1; i + 1 < messages.size(); ++i) {
        PosteState will;
        ASSERT_EQ(FromJson(messages[i].second, will), "");
        EXPECT_EQ(will.activity, PosteActivity::Offline);
        // It names the place as its first state did.
        EXPECT_EQ(will.name, "niveaueau");
        EXPECT_EQ(will.user, "alice");
    }
}

TEST_F(PlaceOnTheBroker, TheKindProgramAndVersionAreThePublishersOwn)
{
    PostePublisher place(Local(m_broker->Port()), PosteKind::Station, "Varnok", "1.0.0");
    PosteState state = Free(kTime);
    state.name = "Varnok";
    state.mode.clear();
    state.program = "autre";
    place.PublishState(state);
    ASSERT_TRUE(m_log->WaitFor(1));
    EXPECT_EQ(m_log->Messages()[0].second,
              "{\"schema\":1,\"type\":\"station\",\"nom\":\"Varnok\",\"mode\":\"\",\"etat\":\"libre\","
              "\"carte\":\"cardsim\",\"programme\":\"Varnok\",\"version\":\"1.0.0\",\"utilisateur\":\"alice\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
}

TEST_F(PlaceOnTheBroker, MeasuresAndARunsEndGoToTheirTopics)
{
    PostePublisher place(Local(m_broker->Port()), PosteKind::Bench, "tarvic-banc", "1.0.0");
    place.PublishMeasures([] { return Measures{{{"Niveau 1", 48.5, "%"}}, kTime}; });
    bool builtTooSoon = false;
    place.PublishMeasures([&] {
        builtTooSoon = true;
        return Measures{{{"Niveau 1", 49.0, "%"}}, kTime};
    });
    EXPECT_FALSE(builtTooSoon);
    RunEnd run;
    run.number = 3;
    run.startedAt = "2026-12-08T15:02:05.000Z";
    run.time = kTime;
    run.outcome = "interrompu";
    run.archive = "TARVIC";
    place.PublishRun(run);
    ASSERT_TRUE(m_log->WaitFor(2));
    const auto messages = m_log->Messages();
    EXPECT_EQ(messages[0].first, "tarvic/B204/poste07/mesures");
    EXPECT_EQ(messages[0].second,
              "{\"schema\":1,\"valeurs\":[{\"nom\":\"Niveau 1\",\"valeur\":48.5,\"unite\":\"%\"}],"
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
    EXPECT_EQ(messages[1].first, "tarvic/B204/poste07/essai");
    EXPECT_EQ(messages[1].second, ToJson(run));
    RunEnd read;
    ASSERT_EQ(FromJson(messages[1].second, read), "");
    EXPECT_EQ(read.archive, "TARVIC");
}

TEST_F(PlaceOnTheBroker, AStationsChangeWithinTheSecondGoesOutWhenTheSecondIsUp)
{
    PostePublisher place(Local(m_broker->Port()), PosteKind::Station, "Varnok", "1.0.0");
    place.PublishStation({{1}, {0}, "Pr\xEAt", kTime});
    place.PublishStation({{1}, {0}, "Pr\xEAt", "2026-12-08T15:04:05.200Z"});  // no change: nothing
    place.PublishStation({{3}, {0}, "Pr\xEAt", "2026-12-08T15:04:05.300Z"});
    place.PublishStation({{7}, {2}, "Pr\xEAt", "2026-12-08T15:04:05.400Z"});
    ASSERT_TRUE(m_log->WaitFor(2));
    const auto messages = m_log->Messages();
    EXPECT_EQ(messages[0].first, "tarvic/B204/poste07/station");
    EXPECT_EQ(messages[0].second,
              "{\"schema\":1,\"entrees\":[1],\"sorties\":[0],\"texte\":\"Pr\xC3\xAAt\","
              "\"horodatage\":\"2026-12-08T15:04:05.123Z\"}");
    EXPECT_EQ(messages[1].first, "tarvic/B204/poste07/station");
    EXPECT_EQ(messages[1].second,
              "{\"schema\":1,\"entrees\":[7],\"sorties\":[2],\"texte\":\"Pr\xC3\xAAt\","
              "\"horodatage\":\"2026-12-08T15:04:05.400Z\"}");
}

// The orders as the place's handlers saw them.
class Taken {
public:
    void Order(const net::Order& order)
    {
        const std::lock_guard lock(m_mutex);
        m_seen.push_back(order.kind == Order::Kind::Stop ? "arreter" : "message:" + order.text);
    }
    void Refused(const std::string& why)
    {
        const std::lock_guard lock(m_mutex);
        m_seen.push_back("refus:" + why);
    }
    std::vector<std::string> Seen() const
    {
        const std::lock_guard lock(m_mutex);
        return m_seen;
    }
    bool WaitFor(std::size_t count) const
    {
        return WaitUntil([&] { return Seen().size() >= count; });
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_seen;
};

TEST_F(PlaceOnTheBroker, OrdersAreTakenAndWhatCannotBeReadIsRefusedWithWhy)
{
    PostePublisher place(Local(m_broker->Port()), PosteKind::Bench, "tarvic-banc", "1.0.0");
    Taken taken;
    place.OnOrder([&taken](const net::Order& order) { taken.Order(order); },
                  [&taken](const std::string& why) { taken.Refused(why); });
    place.PublishState(Free(kTime));
    // The state is out: the place is subscribed to its orders by then.
    ASSERT_TRUE(m_log->WaitFor(1));
    Order("{\"schema\":1,\"ordre\":\"message\",\"texte\":\"Fin de s\xC3\xA9" "ance\"}");
    Order("{\"schema\":1,\"ordre\":\"ecrire\",\"sortie\":255}");
    Order("{\"schema\":1,\"ordre\":\"arreter\",\"sortie\":255}");
    Order("pas du JSON");
    Order("{\"schema\":1,\"ordre\":\"arreter\"}");
    ASSERT_TRUE(taken.WaitFor(5));
    EXPECT_EQ(taken.Seen(), (std::vector<std::string>{"message:Fin de s\xE9" "ance",
                                                      "refus:champ \"ordre\" : l'un de arreter, message attendu",
                                                      "refus:champ \"sortie\" inconnu : refus\xE9 par prudence",
                                                      "refus:ce n'est pas du JSON (UTF-8)", "arreter"}));
}

TEST_F(PlaceOnTheBroker, AnotherPlacesOrdersAreNotTaken)
{
    MqttSettings other = Local(m_broker->Port());
    other.poste.poste = "poste08";
    PostePublisher place(other, PosteKind::Bench, "tarvic-banc", "1.0.0");
    Taken taken;
    place.OnOrder([&taken](const net::Order& order) { taken.Order(order); },
                  [&taken](const std::string& why) { taken.Refused(why); });
    place.PublishState(Free(kTime));
    ASSERT_TRUE(m_log->WaitFor(1));
    Order("{\"schema\":1,\"ordre\":\"arreter\"}");
    m_room->Publish("tarvic/B204/poste08/ordre", "{\"schema\":1,\"ordre\":\"message\",\"texte\":\"\\u00e0 toi\"}",
                    false);
    ASSERT_TRUE(taken.WaitFor(1));
    // The order for poste07 went first: had it been taken, it would come first.
    EXPECT_EQ(taken.Seen(), (std::vector<std::string>{"message:\xE0 toi"}));
}

TEST_F(PlaceOnTheBroker, AnOrderLeftOnTheBrokerIsNotTakenByAPlaceThatComesLater)
{
    // Retained by hand against the rules: it would stop every run ever started there.
    Order("{\"schema\":1,\"ordre\":\"message\",\"texte\":\"avant\"}");
    m_room->Publish("tarvic/B204/poste07/ordre", "{\"schema\":1,\"ordre\":\"arreter\"}", true);
    ASSERT_TRUE(m_log->WaitFor(2));
    PostePublisher place(Local(m_broker->Port()), PosteKind::Bench, "tarvic-banc", "1.0.0");
    Taken taken;
    place.OnOrder([&taken](const net::Order& order) { taken.Order(order); },
                  [&taken](const std::string& why) { taken.Refused(why); });
    place.PublishState(Free(kTime));
    ASSERT_TRUE(m_log->WaitFor(3));
    Order("{\"schema\":1,\"ordre\":\"message\",\"texte\":\"apr\\u00e8s\"}");
    ASSERT_TRUE(taken.WaitFor(1));
    // The broker hands the kept order over first: had it been taken, it would come first.
    EXPECT_EQ(taken.Seen(), (std::vector<std::string>{"message:apr\xE8s"}));
}

}  // namespace
}  // namespace net
