// The window in the room, through a broker of the test's own: its state as
// the room reads it, the run's end, and the room's two orders.
#include <gtest/gtest.h>

#include <QMessageBox>

#include <tarvic/Version.h>
#include <tarvic/recording/Enregistrement.h>

#include "WindowFixture.h"
#include "engine/outputs/Results.h"
#include "net/MqttClient.h"
#include "net/PayloadJson.h"
#include "net/support/MessageLog.h"
#include "net/support/RoomNews.h"
#include "net/support/TestBroker.h"
#include "window/RunStatus.h"
#include "window/WindowArguments.h"

using namespace banc;
using banc::test::SpinUntil;
using tarvic::test::MessageLog;
using tarvic::test::News;
using tarvic::test::TestBroker;

namespace {

constexpr char kOrders[] = "tarvic/tp1/pc07/ordre";

net::MqttSettings Local(int port, const char* poste) { return tarvic::test::LoopbackSettings(port, {"tp1", poste}); }

std::string State(const char* activity)
{
    return std::string("etat {\"schema\":1,\"type\":\"banc\",\"nom\":\"niveaueau\",\"mode\":\"pid\",\"etat\":\"") +
           activity +
           "\",\"carte\":\"cardsim (carte simul\xC3\xA9" "e)\",\"programme\":\"tarvic-banc-fenetre\",\"version\":\"" TARVIC_VERSION_STRING
           "\",\"utilisateur\":\"eleve-07\",\"horodatage\":\"T\"}";
}

std::string MessageOrder(const std::string& utf8)
{
    return "{\"schema\":1,\"ordre\":\"message\",\"texte\":\"" + utf8 + "\"}";
}

// The water level PID at twenty times the clock: twenty blocks of 16 s, 16 s in all.
class WindowRoom : public ::testing::Test {
protected:
    void SetUp() override
    {
        TARVIC_REQUIRE_MOSQUITTO();
        ASSERT_TRUE(m_broker.Running()) << m_broker.Log();
        ASSERT_TRUE(m_states.Ready());
        m_fixture.mqtt = Local(m_broker.Port(), "pc07");
        m_fixture.student = "eleve-07";
        m_fixture.Prefer("niveaueau", "pid", 20);
        m_fixture.Open();
        ASSERT_EQ(Bench().SetRecording(320, 500), "");
        ASSERT_TRUE(SpinUntil([&] { return Bench().Card().State() == window::LinkState::Answering; }));
        // The window subscribes to its orders once connected: a message, harmless, is given until it shows.
        ASSERT_TRUE(SpinUntil([&] {
            m_teacher.Publish(kOrders, MessageOrder("Bonjour."), false);
            return SpinUntil([&] { return Shown() == "Bonjour."; }, std::chrono::milliseconds(200));
        }));
    }
    window::Workbench& Bench() { return m_fixture.Bench(); }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    std::string Shown() { return Window().RoomMessage() ? Window().RoomMessage()->text().toStdString() : ""; }
    std::string Notice() { return Window().Status()->NoticeText().toStdString(); }

    TestBroker m_broker;
    MessageLog m_states{m_broker.Port(), "tarvic/tp1/pc07/etat"};
    MessageLog m_runs{m_broker.Port(), "tarvic/tp1/pc07/essai"};
    net::MqttClient m_teacher{Local(m_broker.Port(), "prof"), "prof", {}};
    test::WindowFixture m_fixture;
};

TEST_F(WindowRoom, ArreterStopsTheRunAsTheButtonDoesAndTheRoomHearsItsEnd)
{
    Window().Do(window::Action::Start);
    ASSERT_TRUE(Bench().Running());
    ASSERT_TRUE(SpinUntil([&] { return Bench().LiveElements().recording->LitNbPoint() >= kPointsPerBlock; }));
    m_teacher.Publish(kOrders, R"({"schema":1,"ordre":"arreter"})", false);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));

    EXPECT_EQ(Bench().LastKept().run.outcome, history::RunOutcome::Interrupted);
    EXPECT_EQ(News(m_states, 3), (std::vector<std::string>{State("libre"), State("essai"), State("arret")}));
    ASSERT_TRUE(m_runs.WaitFor(1));
    net::RunEnd run;
    ASSERT_EQ(net::FromJson(m_runs.Payloads().front(), run), "");
    EXPECT_EQ(run.number, Bench().LastKept().number);
    EXPECT_EQ(run.bench, "niveaueau");
    EXPECT_EQ(run.mode, "pid");
    EXPECT_EQ(run.user, "eleve-07");
    EXPECT_EQ(run.outcome, "interrompu");
    EXPECT_EQ(run.archive, Bench().LastKept().run.archive);
}

TEST_F(WindowRoom, ArreterWithoutARunSaysSoAndStartsNothing)
{
    m_teacher.Publish(kOrders, R"({"schema":1,"ordre":"arreter"})", false);
    const std::string said = "Arr\xC3\xAAt demand\xC3\xA9 par la salle : aucun essai en cours.";
    EXPECT_TRUE(SpinUntil([&] { return Notice() == said; })) << Notice();
    EXPECT_FALSE(Bench().Running());
    EXPECT_EQ(News(m_states, 1), (std::vector<std::string>{State("libre")}));
}

TEST_F(WindowRoom, MessagesShareOneBoxThatLeavesTheWindowFree)
{
    QMessageBox* box = Window().RoomMessage();
    m_teacher.Publish(kOrders, MessageOrder("<b>La s\xC3\xA9" "ance</b> se termine."), false);
    ASSERT_TRUE(SpinUntil([&] { return Shown() == "<b>La s\xC3\xA9" "ance</b> se termine."; }));
    EXPECT_EQ(Window().RoomMessage(), box);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->windowTitle().toStdString(), "Message de la salle");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WindowRoom, AnOrderNotReadIsShownAndNothingElseHappens)
{
    const std::string unknown = R"({"schema":1,"ordre":"arreter","fichier":"/etc/passwd"})";
    net::Order order;
    const std::string why = net::FromJson(unknown, order);
    ASSERT_NE(why, "");
    Window().Do(window::Action::Start);
    ASSERT_TRUE(Bench().Running());
    m_teacher.Publish(kOrders, unknown, false);
    const QString said = QString::fromLatin1(("Ordre de la salle refus\xE9 : " + why).c_str());
    EXPECT_TRUE(SpinUntil([&] { return Window().Status()->NoticeText() == said; })) << Notice();
    EXPECT_TRUE(Bench().Running());
    Window().Do(window::Action::Stop);
    ASSERT_TRUE(SpinUntil([&] { return !Bench().Running(); }));
}

window::ArgumentsAnswer Answer(QStringList arguments)
{
    arguments.prepend(QStringLiteral("tarvic-banc-fenetre"));
    return window::AnswerArguments(arguments, true);
}

TEST(WindowRoomArguments, TheRoomsOptionsAreTakenAsTheNetworkLibraryReadsThem)
{
    const window::ArgumentsAnswer given =
        Answer({"--mqtt", "courtier:1884", QString::fromUtf8("--salle=B\xC3\xA9ta"), "--poste", "pc07",
                "--mqtt-utilisateur", "pc07", "--mqtt-mdp", "/etc/tarvic/pc07.mdp", "--mqtt-ca", "/etc/tarvic/ca.crt"});
    EXPECT_FALSE(given.exitStatus);
    EXPECT_EQ(given.errors, "");
    EXPECT_EQ(given.mqtt.broker, "courtier:1884");
    EXPECT_EQ(given.mqtt.salle, "B\xE9ta");
    EXPECT_EQ(given.mqtt.poste, "pc07");
    EXPECT_EQ(given.mqtt.user, "pc07");
    EXPECT_EQ(given.mqtt.passwordFile, "/etc/tarvic/pc07.mdp");
    EXPECT_EQ(given.mqtt.caFile, "/etc/tarvic/ca.crt");
}

TEST(WindowRoomArguments, AnOptionGivenTwiceOrEmptyEndsTheProgramSayingWhich)
{
    const window::ArgumentsAnswer twice = Answer({"--salle", "B204", "--salle", "B210"});
    EXPECT_EQ(twice.exitStatus, 2);
    EXPECT_EQ(twice.errors.toStdString(), "tarvic-banc-fenetre : --salle est donn\xC3\xA9 deux fois.\n");
    const window::ArgumentsAnswer empty = Answer({"--mqtt="});
    EXPECT_EQ(empty.exitStatus, 2);
    EXPECT_EQ(empty.errors.toStdString(), "tarvic-banc-fenetre : --mqtt : la valeur est vide.\n");
}

TEST(WindowRoomArguments, HelpListsTheRoomsOptions)
{
    const window::ArgumentsAnswer help = window::AnswerArguments({"tarvic-banc-fenetre", "--help"}, false);
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.output.contains(QString::fromLatin1(net::MqttOptionsHelp())));
}

}  // namespace
