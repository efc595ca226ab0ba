#include <gtest/gtest.h>

#include "net/MqttClient.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

namespace net {
namespace {

using tarvic::test::MessageLog;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

constexpr char kTopic[] = "tarvic/B204/poste07/mesures";

MqttSettings Local(int port, int bound)
{
    MqttSettings settings = tarvic::test::LoopbackSettings(port);
    settings.bufferBound = bound;
    return settings;
}

std::vector<std::string> Numbers(int first, int last)
{
    std::vector<std::string> numbers;
    for (int n = first; n <= last; ++n) numbers.push_back(std::to_string(n));
    return numbers;
}

// The broker goes away under a connected client; `count` messages are
// published meanwhile; the broker comes back.
class BrokerAway : public ::testing::Test {
protected:
    void Run(int bound, int count)
    {
        ASSERT_TRUE(broker.Running()) << broker.Log();
        log = std::make_unique<MessageLog>(broker.Port(), "tarvic/#");
        ASSERT_TRUE(log->Ready());
        client = std::make_unique<MqttClient>(Local(broker.Port(), bound), "essai-tampon", MqttClient::Will{});
        ASSERT_TRUE(WaitUntil([&] { return client->Counters().connected; }));
        broker.Stop();
        ASSERT_TRUE(WaitUntil([&] { return !client->Counters().connected; }));
        for (int n = 1; n <= count; ++n) client->Publish(kTopic, std::to_string(n), false);
        away = client->Counters();
        ASSERT_TRUE(broker.Start()) << broker.Log();
    }

    TestBroker broker;
    std::unique_ptr<MessageLog> log;  // durable: the broker keeps what comes while it reconnects
    std::unique_ptr<MqttClient> client;
    LinkCounters away;
};

TEST_F(BrokerAway, BufferedMessagesGoOutInOrderOnReconnection)
{
    TARVIC_REQUIRE_MOSQUITTO();
    Run(1000, 50);
    EXPECT_EQ(away.published, 50u);
    EXPECT_EQ(away.buffered, 50u);
    EXPECT_EQ(away.delivered, 0u);
    EXPECT_FALSE(away.connected);
    ASSERT_TRUE(log->WaitFor(50));
    EXPECT_EQ(log->Payloads(), Numbers(1, 50));
    ASSERT_TRUE(WaitUntil([&] { return client->Counters().delivered == 50; }));
    const LinkCounters back = client->Counters();
    EXPECT_EQ(back.dropped, 0u);
    EXPECT_EQ(back.buffered, 0u);
    EXPECT_TRUE(back.connected);
}

TEST_F(BrokerAway, BeyondTheBoundTheOldestAreDroppedAndCounted)
{
    TARVIC_REQUIRE_MOSQUITTO();
    Run(10, 25);
    EXPECT_EQ(away.published, 25u);
    EXPECT_EQ(away.dropped, 15u);
    EXPECT_EQ(away.buffered, 10u);
    ASSERT_TRUE(log->WaitFor(10));
    EXPECT_EQ(log->Payloads(), Numbers(16, 25));
    ASSERT_TRUE(WaitUntil([&] { return client->Counters().delivered == 10; }));
    const LinkCounters back = client->Counters();
    EXPECT_EQ(back.dropped, 15u);
    EXPECT_EQ(back.buffered, 0u);
}

}  // namespace
}  // namespace net
