#include <gtest/gtest.h>

#include "net/MqttClient.h"
#include "net/support/TestAuthority.h"
#include "net/support/TestBroker.h"
#include "support/TempFolder.h"

namespace net {
namespace {

using tarvic::test::TempFolder;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

// A broker whose only listener is TLS, with a certificate of the test's own
// authority "ecole"; a second authority, "autre", signed nothing of it.
class TlsBroker : public ::testing::Test {
protected:
    void SetUp() override
    {
        TARVIC_REQUIRE_MOSQUITTO();
        ASSERT_TRUE(tarvic::test::MakeTestAuthority(certificates.Path().string(), "ecole"));
        ASSERT_TRUE(tarvic::test::MakeTestAuthority(certificates.Path().string(), "autre"));
        broker = std::make_unique<TestBroker>("allow_anonymous true\ncafile " + (certificates / "ecole.crt") +
                                              "\ncertfile " + (certificates / "ecole-courtier.crt") + "\nkeyfile " +
                                              (certificates / "ecole-courtier.key") + "\n");
        ASSERT_TRUE(broker->Running()) << broker->Log();
    }

    MqttSettings Checked(const std::string& authority)
    {
        MqttSettings settings = tarvic::test::LoopbackSettings(broker->Port());
        settings.caFile = certificates / authority;
        return settings;
    }

    TempFolder certificates{"tarvic-tls"};
    std::unique_ptr<TestBroker> broker;
};

TEST_F(TlsBroker, ClientTrustingTheAuthorityTalksThroughTls)
{
    std::mutex mutex;  // before the client: its handler runs until the client is gone
    std::vector<std::string> payloads;
    MqttClient client(Checked("ecole.crt"), "banc-tls", {});
    client.Subscribe("tarvic/B204/poste07/ordre", [&](const std::string&, const std::string& payload) {
        std::lock_guard lock(mutex);
        payloads.push_back(payload);
    });
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().connected; })) << client.Counters().lastError;
    // Subscribed once its own message comes back.
    ASSERT_TRUE(WaitUntil([&] {
        client.Publish("tarvic/B204/poste07/ordre", "chiffr\xC3\xA9", false);
        std::lock_guard lock(mutex);
        return !payloads.empty();
    }));
    std::lock_guard lock(mutex);
    EXPECT_EQ(payloads.front(), "chiffr\xC3\xA9");
}

TEST_F(TlsBroker, BrokerOfAnotherAuthorityIsNamedAsATlsFailure)
{
    MqttClient client(Checked("autre.crt"), "banc-tls", {});
    const std::string expected = "\xC9" "chec TLS avec le courtier MQTT 127.0.0.1:" + std::to_string(broker->Port()) +
                                 " : il n'est pas reconnu par l'autorit\xE9 " + (certificates / "autre.crt") +
                                 ", ou ne parle pas TLS sur ce port.";
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().lastError == expected; })) << client.Counters().lastError;
    EXPECT_FALSE(client.Counters().connected);
}

TEST_F(TlsBroker, TlsClientOfAPlainBrokerIsNamedAsATlsFailure)
{
    TestBroker plain;
    ASSERT_TRUE(plain.Running()) << plain.Log();
    MqttSettings settings = Checked("ecole.crt");
    settings.port = plain.Port();
    MqttClient client(settings, "banc-tls", {});
    const std::string expected = "\xC9" "chec TLS avec le courtier MQTT 127.0.0.1:" + std::to_string(plain.Port()) +
                                 " : il n'est pas reconnu par l'autorit\xE9 " + (certificates / "ecole.crt") +
                                 ", ou ne parle pas TLS sur ce port.";
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().lastError == expected; })) << client.Counters().lastError;
}

TEST_F(TlsBroker, PlainClientIsNotServed)
{
    MqttSettings plain = Checked("ecole.crt");
    plain.caFile.clear();
    MqttClient client(plain, "banc-clair", {});
    const std::string expected = "Courtier MQTT injoignable : 127.0.0.1:" + std::to_string(broker->Port()) + ".";
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().lastError == expected; })) << client.Counters().lastError;
}

}  // namespace
}  // namespace net
