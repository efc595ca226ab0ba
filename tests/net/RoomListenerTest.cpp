#include <algorithm>
#include <mutex>

#include <gtest/gtest.h>

#include "net/MqttClient.h"
#include "net/PayloadJson.h"
#include "net/RoomListener.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

namespace net {
namespace {

using tarvic::test::MessageLog;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

MqttSettings Local(int port, const std::string& salle) { return tarvic::test::LoopbackSettings(port, {salle, ""}); }

// Everything a listener reported, one line each, in order.
class Report {
public:
    RoomListener::Handlers Handlers()
    {
        RoomListener::Handlers handlers;
        handlers.state = [this](const Poste& p, const PosteState& s) {
            Add(Where(p) + " etat " + s.name + " " + s.mode + " " + s.user);
        };
        handlers.measures = [this](const Poste& p, const Measures& m) {
            Add(Where(p) + " mesures " + std::to_string(m.values.size()) + " " + m.values.front().name);
        };
        handlers.run = [this](const Poste& p, const RunEnd& r) {
            Add(Where(p) + " essai " + r.bench + " " + r.outcome);
        };
        handlers.station = [this](const Poste& p, const StationBits& b) { Add(Where(p) + " station " + b.stateText); };
        handlers.unreadable = [this](const Poste& p, const std::string& topic, const std::string& why) {
            Add(Where(p) + " illisible " + topic + " : " + why);
        };
        return handlers;
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    bool WaitFor(std::size_t count) const
    {
        return WaitUntil([&] { return Lines().size() >= count; });
    }

private:
    static std::string Where(const Poste& poste) { return poste.salle + "/" + poste.poste; }
    void Add(const std::string& line)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(line);
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

PosteState BenchState()
{
    PosteState state;
    state.name = "niveaueau";
    state.mode = "pid";
    state.activity = PosteActivity::Running;
    state.program = "tarvic-banc";
    state.version = "1.0.0";
    state.user = "alice";
    state.time = "2026-12-08T15:04:05.123Z";
    return state;
}

TEST(RoomListening, RetainedStatesOfTheRoomAreDiscovered)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MqttClient place(Local(broker.Port(), "B204"), "place", {});
    place.Publish("tarvic/B204/poste07/etat", ToJson(BenchState()), true);
    place.Publish("tarvic/C101/poste01/etat", ToJson(BenchState()), true);  // another room
    ASSERT_TRUE(WaitUntil([&] { return place.Counters().delivered == 2; }));

    Report report;
    RoomListener listener(Local(broker.Port(), "B204"), report.Handlers());
    ASSERT_TRUE(report.WaitFor(1));
    // A later state of the room: the other room's, had it come, would be before it.
    PosteState later = BenchState();
    later.user = "bob";
    place.Publish("tarvic/B204/poste08/etat", ToJson(later), true);
    ASSERT_TRUE(report.WaitFor(2));
    EXPECT_EQ(report.Lines(), (std::vector<std::string>{"B204/poste07 etat niveaueau pid alice",
                                                        "B204/poste08 etat niveaueau pid bob"}));
}

TEST(RoomListening, EveryChannelReachesItsHandler)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    Report report;
    RoomListener listener(Local(broker.Port(), ""), report.Handlers());
    ASSERT_TRUE(WaitUntil([&] { return listener.Counters().connected; }));
    MessageLog log(broker.Port(), "tarvic/#");  // the listener subscribed before this did
    ASSERT_TRUE(log.Ready());

    Measures measures;
    measures.values = {{"Niveau", 12.5, "cm"}, {"Commande", 40, "%"}};
    measures.time = "2026-12-08T15:04:05.500Z";
    RunEnd run;
    run.bench = "niveaueau";
    run.mode = "pid";
    run.outcome = "complet";
    run.startedAt = "2026-12-08T15:03:05.500Z";
    run.time = "2026-12-08T15:04:05.500Z";
    StationBits bits;
    bits.inputs = {0x12};
    bits.outputs = {0x01};
    bits.stateText = "Cycle en cours";
    bits.time = "2026-12-08T15:04:05.500Z";
    MqttClient place(Local(broker.Port(), "C101"), "place", {});
    place.Publish("tarvic/C101/poste02/mesures", ToJson(measures), false);
    place.Publish("tarvic/C101/poste02/essai", ToJson(run), false);
    place.Publish("tarvic/C101/poste03/station", ToJson(bits), false);
    ASSERT_TRUE(report.WaitFor(3));
    EXPECT_EQ(report.Lines(),
              (std::vector<std::string>{"C101/poste02 mesures 2 Niveau", "C101/poste02 essai niveaueau complet",
                                        "C101/poste03 station Cycle en cours"}));
}

TEST(RoomListening, WhatCannotBeReadIsShownNeverUsed)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MqttClient garbage(Local(broker.Port(), "B204"), "dechets", {});
    garbage.Publish("tarvic/B204/poste07/etat", "pas du json", true);
    garbage.Publish("tarvic/B204/poste08/inconnu", "{}", true);
    garbage.Publish("tarvic/B204/poste09/etat", "", true);  // a state taken off: nothing to show
    garbage.Publish("tarvic/B204/poste10/mesures", "{\"schema\":2}", true);
    ASSERT_TRUE(WaitUntil([&] { return garbage.Counters().delivered == 4; }));

    PosteState state;
    const std::string notJson = FromJson("pas du json", state);
    ASSERT_NE(notJson, "");
    Measures measures;
    const std::string otherSchema = FromJson("{\"schema\":2}", measures);
    ASSERT_NE(otherSchema, "");
    Report report;
    RoomListener listener(Local(broker.Port(), "B204"), report.Handlers());
    ASSERT_TRUE(report.WaitFor(3));
    std::vector<std::string> lines = report.Lines();
    std::sort(lines.begin(), lines.end());  // the broker keeps retained messages in no set order
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "B204/poste07 illisible tarvic/B204/poste07/etat : " + notJson,
                  "B204/poste08 illisible tarvic/B204/poste08/inconnu : sujet inconnu : tarvic/B204/poste08/inconnu",
                  "B204/poste10 illisible tarvic/B204/poste10/mesures : " + otherSchema,
              }));
}

TEST(RoomListening, OrdersGoToThePlaceStamped)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MessageLog log(broker.Port(), "tarvic/+/+/ordre");
    ASSERT_TRUE(log.Ready());
    RoomListener listener(Local(broker.Port(), "B204"), {});
    listener.Send({"B204", "poste07"}, {Order::Kind::Stop, "", "2026-12-08T15:04:05.123Z"});
    listener.Send({"B204", "poste08"}, {Order::Kind::Message, "Rangez le banc, la s\xE9" "ance se termine.", ""});
    ASSERT_TRUE(log.WaitFor(2));
    const auto messages = log.Messages();
    EXPECT_EQ(messages[0], (MessageLog::Message{
                               "tarvic/B204/poste07/ordre",
                               "{\"schema\":1,\"ordre\":\"arreter\",\"horodatage\":\"2026-12-08T15:04:05.123Z\"}"}));
    EXPECT_EQ(messages[1].first, "tarvic/B204/poste08/ordre");
    Order order;
    ASSERT_EQ(FromJson(messages[1].second, order), "");
    EXPECT_EQ(order.kind, Order::Kind::Message);
    EXPECT_EQ(order.text, "Rangez le banc, la s\xE9" "ance se termine.");
    EXPECT_EQ(order.time.size(), std::string("2026-12-08T15:04:05.123Z").size());  // stamped when sent
    EXPECT_EQ(order.time.back(), 'Z');
}

}  // namespace
}  // namespace net
