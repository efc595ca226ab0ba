#include <atomic>
#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

#include "net/MqttClient.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"

namespace net {
namespace {

using tarvic::test::MessageLog;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

MqttSettings Local(int port, int bound = 1000)
{
    MqttSettings settings = tarvic::test::LoopbackSettings(port, {"B204", "poste07"});
    settings.bufferBound = bound;
    return settings;
}

// What a client's handler saw, for the test's thread.
class Received {
public:
    void Add(const std::string& topic, const std::string& payload)
    {
        std::lock_guard lock(m_mutex);
        m_messages.emplace_back(topic, payload);
    }
    std::vector<MessageLog::Message> Messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    bool WaitFor(std::size_t count) const
    {
        return WaitUntil([&] { return Messages().size() >= count; });
    }

private:
    mutable std::mutex m_mutex;
    std::vector<MessageLog::Message> m_messages;
};

TEST(MqttLink, PublishesTopicAndPayloadAsGiven)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MessageLog log(broker.Port(), "tarvic/#");
    ASSERT_TRUE(log.Ready());

    MqttClient client(Local(broker.Port()), "essai-publication", {});
    client.Publish("tarvic/B204/poste07/mesures", "{\"v\":1}", false);
    client.Publish("tarvic/B204/poste07/mesures", "{\"v\":2}", false);
    ASSERT_TRUE(log.WaitFor(2));
    EXPECT_EQ(log.Messages(), (std::vector<MessageLog::Message>{{"tarvic/B204/poste07/mesures", "{\"v\":1}"},
                                                                {"tarvic/B204/poste07/mesures", "{\"v\":2}"}}));
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().delivered == 2; }));
    const LinkCounters counters = client.Counters();
    EXPECT_EQ(counters.published, 2u);
    EXPECT_EQ(counters.dropped, 0u);
    EXPECT_EQ(counters.buffered, 0u);
    EXPECT_TRUE(counters.connected);
    EXPECT_EQ(counters.lastError, "");
}

TEST(MqttLink, SubscriptionTakesOnlyWhatItsFilterMatches)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    Received received;
    MqttClient reader(Local(broker.Port()), "essai-lecteur", {});
    reader.Subscribe("tarvic/B204/+/ordre",
                     [&](const std::string& topic, const std::string& payload) { received.Add(topic, payload); });
    ASSERT_TRUE(WaitUntil([&] { return reader.Counters().connected; }));

    // The subscriber's own log tells when the broker has the subscription.
    MessageLog log(broker.Port(), "tarvic/#");
    ASSERT_TRUE(log.Ready());
    MqttClient writer(Local(broker.Port()), "essai-ecrivain", {});
    writer.Publish("tarvic/B204/p1/etat", "etat", false);
    writer.Publish("tarvic/C101/p1/ordre", "autre salle", false);
    writer.Publish("tarvic/B204/p1/ordre", "ordre p1", false);
    writer.Publish("tarvic/B204/p2/ordre", "ordre p2", false);
    ASSERT_TRUE(log.WaitFor(4));
    ASSERT_TRUE(received.WaitFor(2));
    EXPECT_EQ(received.Messages(), (std::vector<MessageLog::Message>{{"tarvic/B204/p1/ordre", "ordre p1"},
                                                                     {"tarvic/B204/p2/ordre", "ordre p2"}}));
}

TEST(MqttLink, RetainedStateGoesToLaterSubscribers)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MqttClient client(Local(broker.Port()), "essai-retenu", {});
    client.Publish("tarvic/B204/poste07/etat", "libre", true);
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().delivered == 1; }));
    MessageLog late(broker.Port(), "tarvic/+/+/etat");
    ASSERT_TRUE(late.WaitFor(1));
    EXPECT_EQ(late.Messages(), (std::vector<MessageLog::Message>{{"tarvic/B204/poste07/etat", "libre"}}));
}

TEST(MqttLink, ConnectedHandlerRunsOnEveryConnection)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    std::atomic<int> connections{0};
    MqttClient client(Local(broker.Port()), "essai-connexions", {});
    client.OnConnected([&] { ++connections; });
    ASSERT_TRUE(WaitUntil([&] { return connections == 1; }));
    broker.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !client.Counters().connected; }));
    ASSERT_TRUE(broker.Start()) << broker.Log();
    ASSERT_TRUE(WaitUntil([&] { return connections == 2; }));
    EXPECT_TRUE(client.Counters().connected);
}

// A console republishes its state from the connected handler, under the
// lock its run holds while it publishes. Run on the link's own thread, inside
// the library's call, the handler would hold the connection's lock, and a
// publication at that moment would wait for ever.
TEST(MqttLink, APublicationDuringAReconnectionsHandlerGoesThrough)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MqttClient client(Local(broker.Port()), "essai-republication", {});
    std::mutex publisherLock;  // the run's
    std::atomic<bool> armed{false}, entered{false};
    client.OnConnected([&] {
        if (!armed) return;
        entered = true;
        const std::lock_guard lock(publisherLock);
        client.Publish("tarvic/B204/poste07/etat", "{\"v\":\"republie\"}", true);
    });
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().connected; }));
    broker.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !client.Counters().connected; }));
    {
        const std::lock_guard lock(publisherLock);
        armed = true;
        ASSERT_TRUE(broker.Start()) << broker.Log();
        ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
        client.Publish("tarvic/B204/poste07/mesures", "{\"v\":1}", false);  // waited for ever
    }
    EXPECT_TRUE(WaitUntil([&] { return client.Counters().delivered == 2; }));
}

// Publications are written on the caller's thread. A broker that stops
// reading must not hold the caller up: the socket fills, the bound drops the
// oldest, and once the broker reads again the client's thread sends the
// rest without waiting for another publication.
TEST(MqttLink, ABrokerThatStopsReadingHoldsNoPublicationUp)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MqttClient client(Local(broker.Port(), 100), "essai-rafale", {});
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().connected; }));
    broker.Freeze();
    constexpr int kCount = 20000;  // 20 MB: more than the loopback's buffers take
    const std::string padding(1000, 'x');
    for (int n = 1; n <= kCount; ++n)
        client.Publish("tarvic/B204/poste07/mesures", std::to_string(n) + padding, false, MqttClient::Qos::AtMostOnce);
    const LinkCounters frozen = client.Counters();
    broker.Thaw();
    EXPECT_EQ(frozen.buffered, 100u);
    EXPECT_GT(frozen.dropped, 0u);
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().buffered == 0; })) << client.Counters().buffered;
    const LinkCounters after = client.Counters();
    EXPECT_EQ(after.delivered + after.dropped, static_cast<std::uint64_t>(kCount));
    EXPECT_TRUE(after.connected);
}

TEST(MqttLink, UnreachableBrokerIsReportedInFrench)
{
    TARVIC_REQUIRE_MOSQUITTO();
    int port = 0;
    {
        TestBroker gone;  // a port that was free a moment ago, and nobody listens on now
        port = gone.Port();
    }
    std::mutex mutex;
    std::string why;
    MqttClient client(Local(port), "essai-injoignable", {});
    client.OnFailure([&](const std::string& text) {
        std::lock_guard lock(mutex);
        why = text;
    });
    const std::string expected = "Courtier MQTT injoignable : 127.0.0.1:" + std::to_string(port) + ".";
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().lastError == expected; }));
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(mutex);
        return why == expected;
    }));
    EXPECT_FALSE(client.Counters().connected);
}

}  // namespace
}  // namespace net
