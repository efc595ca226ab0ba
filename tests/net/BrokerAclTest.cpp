#include <cstdlib>

#include <gtest/gtest.h>

#include "net/MqttClient.h"
#include "net/MqttSettings.h"
#include "net/support/MessageLog.h"
#include "net/support/TestBroker.h"
#include "support/TempFolder.h"

namespace net {
namespace {

using tarvic::test::MessageLog;
using tarvic::test::TempFolder;
using tarvic::test::TestBroker;
using tarvic::test::WaitUntil;

// The room's broker as packaging/mosquitto sets it up: accounts made by its
// script, its ACL as it stands.
class RoomBroker : public ::testing::Test {
protected:
    void SetUp() override
    {
        TARVIC_REQUIRE_MOSQUITTO();
        const std::string script = std::string(TARVIC_MOSQUITTO_DIR) + "/tarvic-comptes";
        ASSERT_EQ(
            std::system((script + " " + accounts.Path().string() + " professeur poste07 poste08 > /dev/null").c_str()),
            0);
        broker = std::make_unique<TestBroker>("allow_anonymous false\npassword_file " + (accounts / "motsdepasse") +
                                              "\nacl_file " + TARVIC_MOSQUITTO_DIR + "/acl\n");
        ASSERT_TRUE(broker->Running()) << broker->Log();
    }

    std::string Password(const std::string& account)
    {
        std::string password;
        EXPECT_EQ(ReadPasswordFile(accounts / (account + ".mdp"), password), "");
        return password;
    }

    MqttSettings Account(const std::string& account)
    {
        MqttSettings settings = tarvic::test::LoopbackSettings(broker->Port());
        settings.user = account;
        settings.password = Password(account);
        return settings;
    }

    std::unique_ptr<MqttClient> Connected(const std::string& account, const std::string& clientId)
    {
        auto client = std::make_unique<MqttClient>(Account(account), clientId, MqttClient::Will{});
        EXPECT_TRUE(WaitUntil([&] { return client->Counters().connected; })) << client->Counters().lastError;
        return client;
    }

    TempFolder accounts{"tarvic-comptes"};
    std::unique_ptr<TestBroker> broker;
};

TEST_F(RoomBroker, PlacePublishesOnlyUnderItsOwnName)
{
    MessageLog teacher(broker->Port(), "tarvic/#", "professeur", Password("professeur"));
    ASSERT_TRUE(teacher.Ready());
    auto bench = Connected("poste07", "banc-poste07");
    bench->Publish("tarvic/B204/poste08/etat", "usurpe", true);
    bench->Publish("tarvic/B204/poste08/ordre", "{\"ordre\":\"arreter\"}", false);
    bench->Publish("tarvic/B204/poste07/etat", "le sien", true);
    ASSERT_TRUE(teacher.WaitFor(1));
    // The broker keeps the publications in order: the refused ones would have come first.
    EXPECT_EQ(teacher.Messages(), (std::vector<MessageLog::Message>{{"tarvic/B204/poste07/etat", "le sien"}}));
}

TEST_F(RoomBroker, PlaceReadsOnlyItsOwnOrders)
{
    std::mutex mutex;  // before the client: its handler runs until the client is gone
    std::vector<std::string> orders;
    auto bench = Connected("poste07", "banc-poste07");
    bench->Subscribe("tarvic/B204/+/ordre", [&](const std::string& topic, const std::string&) {
        std::lock_guard lock(mutex);
        orders.push_back(topic);
    });
    MessageLog spy(broker->Port(), "tarvic/B204/poste08/#", "poste07", Password("poste07"));
    MessageLog own(broker->Port(), "tarvic/B204/poste07/ordre", "poste07", Password("poste07"));
    ASSERT_TRUE(own.Ready());
    auto teacher = Connected("professeur", "vue-professeur");
    teacher->Publish("tarvic/B204/poste08/ordre", "pour poste08", false);
    teacher->Publish("tarvic/B204/poste07/ordre", "pour poste07", false);
    ASSERT_TRUE(own.WaitFor(1));
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(mutex);
        return !orders.empty();
    }));
    EXPECT_EQ(own.Payloads(), std::vector<std::string>{"pour poste07"});
    EXPECT_EQ(spy.Payloads(), std::vector<std::string>{});
    std::lock_guard lock(mutex);
    EXPECT_EQ(orders, std::vector<std::string>{"tarvic/B204/poste07/ordre"});
}

TEST_F(RoomBroker, TeacherGivesOrdersButWritesNothingElse)
{
    MessageLog watcher(broker->Port(), "tarvic/#", "professeur", Password("professeur"));
    ASSERT_TRUE(watcher.Ready());
    auto teacher = Connected("professeur", "vue-professeur");
    teacher->Publish("tarvic/B204/poste07/etat", "faux", true);
    teacher->Publish("tarvic/B204/poste07/essai", "faux", false);
    teacher->Publish("tarvic/B204/poste07/ordre", "{\"ordre\":\"arreter\"}", false);
    ASSERT_TRUE(watcher.WaitFor(1));
    EXPECT_EQ(watcher.Messages(),
              (std::vector<MessageLog::Message>{{"tarvic/B204/poste07/ordre", "{\"ordre\":\"arreter\"}"}}));
}

TEST_F(RoomBroker, WrongPasswordIsNamedAsAnAuthenticationFailure)
{
    MqttSettings settings = Account("poste07");
    settings.password = "pas le bon";
    MqttClient client(settings, "banc-poste07", {});
    const std::string expected =
        "Authentification refus\xE9" "e par le courtier MQTT 127.0.0.1:" + std::to_string(broker->Port()) +
        " : utilisateur \xAB poste07 \xBB ou mot de passe refus\xE9.";
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().lastError == expected; })) << client.Counters().lastError;
    EXPECT_FALSE(client.Counters().connected);
}

TEST_F(RoomBroker, AnonymousIsNamedAsAnAuthenticationFailure)
{
    MqttSettings settings = Account("poste07");
    settings.user.clear();
    settings.password.clear();
    MqttClient client(settings, "anonyme", {});
    const std::string expected =
        "Authentification refus\xE9" "e par le courtier MQTT 127.0.0.1:" + std::to_string(broker->Port()) +
        " : il demande un utilisateur et un mot de passe (--mqtt-utilisateur, --mqtt-mdp).";
    ASSERT_TRUE(WaitUntil([&] { return client.Counters().lastError == expected; })) << client.Counters().lastError;
}

}  // namespace
}  // namespace net
