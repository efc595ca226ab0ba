// The room's two orders to a panel: a stop switches every output off, as the
// user would untick each box, and a message shows in a box that leaves the
// panel free.
#include <QAbstractButton>
#include <QMessageBox>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "common/PanelRoom.h"
#include "net/Payloads.h"
#include "quillon/QuillonVariant.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

// No broker there: the orders are handed to the room as the network's thread would.
net::MqttSettings NoBroker()
{
    net::MqttSettings settings;
    settings.host = "127.0.0.1";
    settings.port = 1;  // nothing listens on it
    settings.poste = {"tp1", "pc07"};
    return settings;
}

net::Order Stop() { return {net::Order::Kind::Stop, "", ""}; }
net::Order Message(const char* text) { return {net::Order::Kind::Message, text, ""}; }

std::string Shown(const QMessageBox* box) { return box->text().toLatin1().toStdString(); }

std::string LastNote(const CJournal& journal)
{
    std::string note = "<none>";
    for (const CJournal::Entree& entree : journal.Entrees())
        if (entree.sens == CJournal::Sens::Note) note = entree.texte;
    return note;
}

using PanelRoomOrder = PanelFixture;

TEST_F(PanelRoomOrder, StopUnticksEveryOutputAndSendsThemAllOff)
{
    CPanelRoom room(NoBroker(), VarnokVariant());
    Open(VarnokVariant()).SetRoom(&room);
    Identify();
    Control(1002)->click();  // BD: bit 7 of the first byte
    ASSERT_EQ(NextLine(), "!ESR 8000\r\n");
    Reply("!OK\r\n");
    Control(1033)->click();  // AR3: bit 3 of the second
    ASSERT_EQ(NextLine(), "!ESR 8008\r\n");
    Reply("!OK\r\n");

    room.Take(Stop());

    EXPECT_EQ(NextLine(), "!ESR 0000\r\n");
    EXPECT_FALSE(Control(1002)->isChecked());
    EXPECT_FALSE(Control(1033)->isChecked());
    EXPECT_EQ(Process().LitSortie(0), 0);
    EXPECT_EQ(Process().LitSortie(1), 0);
    EXPECT_EQ(LastNote(*Process().Journal()), "Ordre de la salle : arr\xEAter");
    const QMessageBox* box = m_panel->RoomMessage();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(Shown(box), "La salle a arr\xEAt\xE9 la station : toutes ses sorties sont coup\xE9" "es.");
}

// Ticked again by the user, an output goes out as before.
TEST_F(PanelRoomOrder, AnOutputTickedAfterAStopGoesOutAlone)
{
    CPanelRoom room(NoBroker(), VarnokVariant());
    Open(VarnokVariant()).SetRoom(&room);
    Identify();
    Control(1002)->click();
    ASSERT_EQ(NextLine(), "!ESR 8000\r\n");
    Reply("!OK\r\n");
    room.Take(Stop());
    ASSERT_EQ(NextLine(), "!ESR 0000\r\n");
    Reply("!OK\r\n");
    Control(1022)->click();  // BG: bit 6 of the first byte
    EXPECT_EQ(NextLine(), "!ESR 4000\r\n");
}

struct StationOff {
    const PanelVariant* variant;
    int output;
    const char* on;
    const char* off;
};
void PrintTo(const StationOff& station, std::ostream* os) { ::PrintTo(station.variant, os); }

class PanelRoomStop : public PanelFixture, public ::testing::WithParamInterface<StationOff> {};

TEST_P(PanelRoomStop, SendsEveryOutputByteAtZero)
{
    const StationOff& station = GetParam();
    CPanelRoom room(NoBroker(), *station.variant);
    Open(*station.variant).SetRoom(&room);
    Identify();
    Control(station.output)->click();
    ASSERT_EQ(NextLine(), station.on);
    Reply("!OK\r\n");
    room.Take(Stop());
    EXPECT_EQ(NextLine(), station.off);
    EXPECT_FALSE(Control(station.output)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Stations, PanelRoomStop,
                         ::testing::Values(StationOff{&BrakmorVariant(), 1033, "!ESR 010000\r\n", "!ESR 000000\r\n"},
                                           StationOff{&VarnokVariant(), 1030, "!ESR 0040\r\n", "!ESR 0000\r\n"},
                                           StationOff{&QuillonVariant(), 1018, "!ESR 0002\r\n", "!ESR 0000\r\n"},
                                           StationOff{&TorvaneVariant(), 1015, "!ESR 01\r\n", "!ESR 00\r\n"}),
                         [](const auto& info) { return std::string(info.param.variant->name); });

TEST_F(PanelRoomOrder, MessagesShareOneBoxShowingTheLastAsPlainText)
{
    CPanelRoom room(NoBroker(), TorvaneVariant());
    Open(TorvaneVariant()).SetRoom(&room);
    room.Take(Message("Rangez la station, la s\xE9" "ance se termine."));
    const QMessageBox* first = m_panel->RoomMessage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Shown(first), "Rangez la station, la s\xE9" "ance se termine.");

    room.Take(Message("<b>Plus que</b> cinq minutes."));
    EXPECT_EQ(m_panel->RoomMessage(), first);
    EXPECT_EQ(Shown(first), "<b>Plus que</b> cinq minutes.");
    EXPECT_EQ(first->textFormat(), Qt::PlainText);
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->windowTitle().toStdString(), "Message de la salle");
    EXPECT_EQ(LastNote(*Process().Journal()), "Message de la salle : <b>Plus que</b> cinq minutes.");
    // A message touches no output.
    EXPECT_EQ(Silence(), "");
}

}  // namespace
