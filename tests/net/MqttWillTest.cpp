#include <gtest/gtest.h>

#include "net/MqttClient.h"
#include "net/support/ChildProcess.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

namespace net {
namespace {

using tarvic::test::ChildProcess;
using tarvic::test::MessageLog;
using tarvic::test::TestBroker;

constexpr char kStateTopic[] = "tarvic/B204/poste07/etat";

ChildProcess Peer(const TestBroker& broker)
{
    return ChildProcess({TARVIC_WILL_PEER, std::to_string(broker.Port()), kStateTopic, "hors-ligne"});
}

TEST(LastWill, KilledClientLeavesItsWillRetained)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    {
        ChildProcess peer = Peer(broker);
        ASSERT_EQ(peer.ReadLine(), "connecte");
        peer.Kill();
    }
    // Retained: a view that starts after the death still learns of it.
    MessageLog later(broker.Port(), "tarvic/+/+/etat");
    ASSERT_TRUE(later.WaitFor(1));
    EXPECT_EQ(later.Messages(), (std::vector<MessageLog::Message>{{kStateTopic, "hors-ligne"}}));
}

TEST(LastWill, CleanCloseKeepsTheWillBack)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MessageLog log(broker.Port(), "tarvic/+/+/etat");
    ASSERT_TRUE(log.Ready());
    {
        ChildProcess peer = Peer(broker);
        ASSERT_EQ(peer.ReadLine(), "connecte");
        EXPECT_EQ(peer.CloseInputAndWait(), 0);
    }
    // Whatever the broker sent for the peer came before this.
    MqttClient marker(tarvic::test::LoopbackSettings(broker.Port()), "essai-marqueur", {});
    marker.Publish(kStateTopic, "marqueur", false);
    ASSERT_TRUE(log.WaitFor(1));
    EXPECT_EQ(log.Messages(), (std::vector<MessageLog::Message>{{kStateTopic, "marqueur"}}));
}

}  // namespace
}  // namespace net
