// The one-second cycle of each program: greeting, identification, polling.
#include <QAbstractButton>
#include <QLineEdit>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "quillon/QuillonVariant.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

using PanelCycle = PanelFixture;

int Occurrences(const std::string& text, const std::string& what)
{
    int count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

TEST_F(PanelCycle, VarnokFirstCycleQueuesVerThenLelAndWritesLelAfterTheReply)
{
    Open(VarnokVariant()).OnTimer();
    EXPECT_EQ(NextLine(), "?VER\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?VER\r\n|sent", "?LEL\r\n|waiting"}));
    EXPECT_EQ(Text(1004), "Mis en communication...");
    Reply("!VER 2.1\r\n");
    EXPECT_EQ(NextLine(), "?LEL\r\n");
}

TEST_F(PanelCycle, VarnokSendsEmdOnceAfterTheIdentification)
{
    Open(VarnokVariant()).OnTimer();
    ASSERT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER 2.1\r\n");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL0000 00\r\n");
    EXPECT_EQ(NextLine(), "!EMD 1\r\n");
    Reply("!OK\r\n");
    std::string later;
    for (int cycle = 0; cycle < 3; ++cycle) {
        m_panel->OnTimer();
        later += NextLine();
        Reply("!LEL0000 00\r\n");
    }
    EXPECT_EQ(later, "?LEL\r\n?LEL\r\n?LEL\r\n");
    EXPECT_EQ(Text(1004), " 2.1");
    EXPECT_TRUE(Control(1005)->isEnabled());
}

TEST_F(PanelCycle, VarnokConnectShowsTheIdentificationAgain)
{
    Open(VarnokVariant());
    EXPECT_FALSE(Control(1005)->isEnabled());
    Identify(" 2.1");
    Control(1005)->click();
    EXPECT_FALSE(Control(1005)->isEnabled());
    EXPECT_FALSE(m_panel->Connecte());
    m_panel->OnTimer();
    EXPECT_TRUE(m_panel->Connecte());
    EXPECT_TRUE(Control(1005)->isEnabled());
    EXPECT_EQ(Text(1004), " 2.1");
}

TEST_F(PanelCycle, VarnokShowsTheStateTextOrTheEmergencyStop)
{
    Open(VarnokVariant());
    m_panel->OnTimer();
    EXPECT_EQ(Text(1003), "Fonctionnement normal");
    ASSERT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER 2.1\r\n");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL1234 02\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(Text(1003), "POM: BD PH");
    ASSERT_EQ(NextLine(), "!EMD 1\r\n");
    Reply("!OK\r\n");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL0040 01\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(Text(1003), "Arr\xEAt d'urgence enclencher");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL0000 07\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(Text(1003), "");
}

TEST_F(PanelCycle, QuillonQueuesEmdFromTheCycleAndShowsTheInputs)
{
    Open(QuillonVariant());
    std::vector<std::string> status;
    auto* edit = m_panel->findChild<QLineEdit*>("1028");
    QObject::connect(edit, &QLineEdit::textChanged,
                     [&status](const QString& text) { status.push_back(text.toLatin1().toStdString()); });
    m_panel->OnTimer();
    EXPECT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER Q1\r\n");
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return Queue().empty(); }));
    m_panel->OnTimer();
    EXPECT_EQ(NextLine(), "!EMD 1\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"!EMD 1\r\n|sent", "?LEL\r\n|waiting"}));
    EXPECT_EQ(Text(1029), " Q1");
    EXPECT_EQ(status, (std::vector<std::string>{"Mis en communication...", "Communcation \xE9tablie", "LEL 00 00 00"}));
    Reply("!OK\r\n");
    EXPECT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL0A0B0C\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(NextLine(), "?LEL\r\n");
    EXPECT_EQ(Text(1028), "LEL 0C 0B 0A");
    EXPECT_EQ(Occurrences(Silence(), "EMD"), 0);
}

TEST_F(PanelCycle, TorvaneShowsItsTwoInputsHighestFirst)
{
    Open(TorvaneVariant());
    Identify(" T");
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL4110\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(Text(1001), "LEL 10 41");
    EXPECT_EQ(Text(1029), " T");
}

TEST_F(PanelCycle, BrakmorEndsEveryCycleWithAru)
{
    Open(BrakmorVariant()).OnTimer();
    EXPECT_EQ(NextLine(), "?VER\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?VER\r\n|sent", "?ARU\r\n|waiting"}));
    EXPECT_EQ(Text(1034), "Mis en communication...");
    Reply("!VER B7\r\n");
    EXPECT_EQ(NextLine(), "?ARU\r\n");
    Reply("!ARU 00\r\n");
    EXPECT_EQ(NextLine(), "!EMD 1\r\n");
    Reply("!OK\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(NextLine(), "?LEL\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?LEL\r\n|sent", "?ARU\r\n|waiting"}));
    EXPECT_EQ(Text(1034), " B7");
}

TEST_F(PanelCycle, BrakmorStartsWithAShortFirstPeriod)
{
    Open(BrakmorVariant()).StartTimer();
    EXPECT_EQ(m_panel->Timer1().interval(), 100);
    m_panel->OnTimer();
    EXPECT_TRUE(m_panel->Timer1().isActive());
    EXPECT_EQ(m_panel->Timer1().interval(), 1000);
}

class NoPollBeforeIdentification : public PanelFixture, public ::testing::WithParamInterface<const PanelVariant*> {};

TEST_P(NoPollBeforeIdentification, QueuesNoLelWhileTheCardIsSilent)
{
    Open(*GetParam());
    m_panel->OnTimer();
    EXPECT_EQ(NextLine(), "?VER\r\n");
    for (int cycle = 0; cycle < 3; ++cycle) m_panel->OnTimer();
    std::vector<std::string> expected{"?VER\r\n|sent"};
    if (GetParam() == &BrakmorVariant()) expected.push_back("?ARU\r\n|waiting");
    expected.push_back("?VER\r\n|waiting");
    EXPECT_EQ(Queue(), expected);
    EXPECT_TRUE(CheckedIndicators().empty());
}

INSTANTIATE_TEST_SUITE_P(Stations, NoPollBeforeIdentification,
                         ::testing::Values(&BrakmorVariant(), &QuillonVariant(), &TorvaneVariant()),
                         [](const auto& info) { return std::string(info.param->name); });

TEST_F(PanelCycle, VarnokPollsEvenBeforeIdentificationAndKeepsOneCopyOfEach)
{
    Open(VarnokVariant());
    m_panel->OnTimer();
    EXPECT_EQ(NextLine(), "?VER\r\n");
    for (int cycle = 0; cycle < 3; ++cycle) m_panel->OnTimer();
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?VER\r\n|sent", "?LEL\r\n|waiting", "?VER\r\n|waiting"}));
    EXPECT_EQ(Text(1004), "Mis en communication...");
}

TEST_F(PanelCycle, OpensInItsWaitingStateOnAPortThatCannotBeOpened)
{
    m_profile->WriteProfileString("CONFIGURATION", "PORT", "/nonexistent/tty");
    m_panel = std::make_unique<CPanelDlg>(VarnokVariant());
    m_panel->StartProcess();
    // Waiting, and saying why once the port has been tried.
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return Process().LitErreurPort() != 0; }));
    m_panel->OnTimer();
    EXPECT_EQ(Text(1004), "Port /nonexistent/tty introuvable");
    EXPECT_FALSE(Control(1002)->isEnabled());
    m_panel->StopProcess();
    EXPECT_EQ(m_traces.Count("\nQuitter process Varnok\n"), 1);
}

}  // namespace
