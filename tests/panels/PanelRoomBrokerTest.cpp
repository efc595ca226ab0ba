// A panel in the room through a broker of the test's own: its state and its
// station's bits as the room reads them, and the orders the room gives it.
#include <pwd.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QMessageBox>

#include <tarvic/Version.h>

#include "PanelFixture.h"
#include "common/PanelRoom.h"
#include "net/MqttClient.h"
#include "net/PayloadJson.h"
#include "net/support/MessageLog.h"
#include "net/support/RoomNews.h"
#include "net/support/TestBroker.h"
#include "varnok/VarnokVariant.h"

namespace {

using tarvic::test::MessageLog;
using tarvic::test::News;
using tarvic::test::TestBroker;

net::MqttSettings Local(int port, const char* poste) { return tarvic::test::LoopbackSettings(port, {"tp1", poste}); }

std::string Login() { return ::getpwuid(::getuid())->pw_name; }

std::string State(const char* activity, const char* card)
{
    return std::string("{\"schema\":1,\"type\":\"station\",\"nom\":\"Varnok\",\"mode\":\"\",\"etat\":\"") + activity +
           "\",\"carte\":\"" + card +
           "\",\"programme\":\"Varnok\",\"version\":\"" TARVIC_VERSION_STRING "\",\"utilisateur\":\"" + Login() +
           "\",\"horodatage\":\"T\"}";
}

std::string Bits(const char* inputs, const char* outputs, const char* text)
{
    return std::string("{\"schema\":1,\"entrees\":[") + inputs + "],\"sorties\":[" + outputs + "],\"texte\":\"" + text +
           "\",\"horodatage\":\"T\"}";
}

class PanelRoomOnBroker : public PanelFixture {
protected:
    // One cycle, its query answered with the inputs `lel`.
    void Cycle(const std::string& lel)
    {
        m_panel->OnTimer();
        // The test gives the cycles, whatever the event loop runs meanwhile.
        m_panel->Timer1().stop();
        ASSERT_EQ(NextLine(), "?LEL\r\n");
        Reply("!LEL" + lel + "\r\n");
    }
};

TEST_F(PanelRoomOnBroker, TellsItsStateAndItsBitsWhenTheyChange)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MessageLog log(broker.Port(), "tarvic/tp1/#");
    ASSERT_TRUE(log.Ready());
    Open(VarnokVariant());
    Identify(" CARDSIM 1.0");
    Cycle("1234 02");
    auto room = std::make_unique<CPanelRoom>(Local(broker.Port(), "pc07"), VarnokVariant());
    m_panel->SetRoom(room.get());

    Cycle("1234 02");  // reports the inputs of the last reply
    std::vector<std::string> expected{"etat " + State("libre", "CARDSIM 1.0"),
                                      "station " + Bits("18,52", "0,0", "POM: BD PH")};
    EXPECT_EQ(News(log, 2), expected);
    Cycle("1234 02");        // nothing new: nothing told
    Control(1030)->click();  // PO: bit 6 of the second byte
    ASSERT_EQ(NextLine(), "!ESR 0040\r\n");
    Reply("!OK\r\n");
    Cycle("1234 00");
    // An output on: the station runs.
    expected.push_back("etat " + State("essai", "CARDSIM 1.0"));
    expected.push_back("station " + Bits("18,52", "0,64", "POM: BD PH"));
    EXPECT_EQ(News(log, 4), expected);
    Cycle("1234 00");
    expected.push_back("station " + Bits("18,52", "0,64", "Fonctionnement normal"));
    EXPECT_EQ(News(log, 5), expected);

    m_panel.reset();
    room.reset();
    expected.push_back("etat " + State("hors-ligne", "CARDSIM 1.0"));
    EXPECT_EQ(News(log, 6), expected);
}

TEST_F(PanelRoomOnBroker, TakesTheRoomsOrdersAndRefusesAnythingElse)
{
    TARVIC_REQUIRE_MOSQUITTO();
    TestBroker broker;
    ASSERT_TRUE(broker.Running()) << broker.Log();
    MessageLog log(broker.Port(), "tarvic/tp1/pc07/etat");
    ASSERT_TRUE(log.Ready());
    Open(VarnokVariant());
    Identify(" CARDSIM 1.0");
    m_panel->Timer1().stop();
    auto room = std::make_unique<CPanelRoom>(Local(broker.Port(), "pc07"), VarnokVariant());
    m_panel->SetRoom(room.get());
    Control(1030)->click();
    ASSERT_EQ(NextLine(), "!ESR 0040\r\n");
    Reply("!OK\r\n");
    Cycle("0000 00");
    ASSERT_EQ(News(log, 1), (std::vector<std::string>{"etat " + State("essai", "CARDSIM 1.0")}));
    net::MqttClient teacher(Local(broker.Port(), "prof"), "prof", {});
    const std::string orders = "tarvic/tp1/pc07/ordre";

    // Its subscription comes after its connection: a message, harmless, is given until it shows.
    // UTF-8 on the wire, Latin-1 in the panel.
    const auto shown = [&] {
        return m_panel->RoomMessage() && m_panel->RoomMessage()->text().toLatin1() == "La s\xE9" "ance se termine.";
    };
    ASSERT_TRUE(SpinUntil([&] {
        teacher.Publish(orders, "{\"schema\":1,\"ordre\":\"message\",\"texte\":\"La s\xC3\xA9" "ance se termine.\"}",
                        false);
        return SpinUntil(shown, std::chrono::milliseconds(200));
    }));

    teacher.Publish(orders, R"({"schema":1,"ordre":"arreter"})", false);
    ASSERT_TRUE(SpinUntil([&] { return !Control(1030)->isChecked(); }));
    EXPECT_EQ(NextLine(), "!ESR 0000\r\n");
    Reply("!OK\r\n");
    Cycle("0000 00");
    EXPECT_EQ(News(log, 2), (std::vector<std::string>{"etat " + State("essai", "CARDSIM 1.0"),
                                                      "etat " + State("arret", "CARDSIM 1.0")}));

    const std::string unknown = R"({"schema":1,"ordre":"arreter","sorties":[255]})";
    net::Order order;
    const std::string why = net::FromJson(unknown, order);
    ASSERT_NE(why, "");
    teacher.Publish(orders, unknown, false);
    const auto refusal = "Ordre de la salle refus\xE9 : " + why;
    EXPECT_TRUE(SpinUntil([&] {
        const auto entries = Process().Journal()->Entrees();
        return !entries.empty() && entries.back().texte == refusal;
    }));
    // Nothing of it reached the card.
    EXPECT_EQ(Silence(), "");
    m_panel.reset();
}

}  // namespace
