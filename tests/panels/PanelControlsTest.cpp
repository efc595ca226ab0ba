// Indicators lit from the input bytes, outputs sent from the check boxes, and
// the controls each program's dialog carries.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "common/AboutDlg.h"
#include "quillon/QuillonVariant.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

using PanelControls = PanelFixture;

TEST_F(PanelControls, QuillonLightsE2E4A3hA4Ap2For0A0B0C)
{
    Open(QuillonVariant());
    Identify();
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL0A0B0C\r\n");
    EXPECT_EQ(Process().LitEntree(0), 0x0A);
    EXPECT_EQ(Process().LitEntree(1), 0x0B);
    EXPECT_EQ(Process().LitEntree(2), 0x0C);
    EXPECT_TRUE(CheckedIndicators().empty());  // shown one cycle later
    m_panel->OnTimer();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1000, 1002, 1006, 1008, 1009}));
    EXPECT_EQ(Control(1002)->text(), "e2");
    EXPECT_EQ(Control(1009)->text(), "a3h");
}

TEST_F(PanelControls, QuillonShowsSensorsOfTheThirdByte)
{
    Open(QuillonVariant());
    Identify();
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL000003\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1015, 1016}));
}

TEST_F(PanelControls, VarnokLightsItsTableFor1234)
{
    Open(VarnokVariant()).OnTimer();
    ASSERT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER 2.1\r\n");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL1234 02\r\n");
    m_panel->OnTimer();
    // 0x12: ar, bd; 0x34: cr2, cr1, pp.
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1009, 1006, 1018, 1017, 1015}));
    EXPECT_EQ(Control(1018)->text(), "cr2");
}

TEST_F(PanelControls, BrakmorLightsOneBitOfEachByte)
{
    Open(BrakmorVariant());
    Identify();
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL80010201\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1001, 1000, 1022, 1031}));
    EXPECT_EQ(Control(1022)->text(), "Pince verticale");
    EXPECT_EQ(Control(1025)->text(), QString::fromLatin1("pince ferm\xE9" "e"));
}

TEST_F(PanelControls, BrakmorLightsTheSwappedBitsOfItsFourthByte)
{
    Open(BrakmorVariant());
    Identify();
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL000000C0\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1025, 1024}));
}

TEST_F(PanelControls, TorvaneLightsItsTableFor4110)
{
    Open(TorvaneVariant());
    Identify();
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL4110\r\n");
    m_panel->OnTimer();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1009, 1005, 1007}));
}

TEST_F(PanelControls, AClickOnAnIndicatorIsUndoneAtTheNextUpdate)
{
    Open(VarnokVariant());
    Identify();  // the indicators are greyed until then
    Control(1001)->click();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1001}));
    m_panel->OnTimer();
    EXPECT_TRUE(CheckedIndicators().empty());
}

TEST_F(PanelControls, IndicatorsAreIndependentOfEachOther)
{
    Open(VarnokVariant());
    Identify();  // the indicators are greyed until then
    Control(1001)->click();
    Control(1012)->click();
    EXPECT_EQ(CheckedIndicators(), (std::set<int>{1001, 1012}));
}

TEST_F(PanelControls, BrakmorMServiceSendsThreeBytes)
{
    Open(BrakmorVariant());
    Identify();  // the outputs are greyed until then
    Control(1033)->click();
    EXPECT_EQ(NextLine(), "!ESR 010000\r\n");
    Reply("!OK\r\n");
    Control(1047)->click();
    EXPECT_EQ(NextLine(), "!ESR 014000\r\n");
}

TEST_F(PanelControls, TorvaneCmAndL2Send11)
{
    Open(TorvaneVariant());
    Identify();  // the outputs are greyed until then
    Control(1015)->click();
    EXPECT_EQ(NextLine(), "!ESR 01\r\n");
    Reply("!OK\r\n");
    Control(1019)->click();
    EXPECT_EQ(NextLine(), "!ESR 11\r\n");
}

TEST_F(PanelControls, VarnokBdAndPoSend8040AndUncheckingClears)
{
    Open(VarnokVariant());
    Identify();  // the outputs are greyed until then
    Control(1002)->click();
    EXPECT_EQ(NextLine(), "!ESR 8000\r\n");
    Reply("!OK\r\n");
    Control(1030)->click();
    EXPECT_EQ(NextLine(), "!ESR 8040\r\n");
    Reply("!OK\r\n");
    Control(1002)->click();
    EXPECT_EQ(NextLine(), "!ESR 0040\r\n");
}

TEST_F(PanelControls, QuillonOutputsOfTheSecondByte)
{
    Open(QuillonVariant());
    Identify();  // the outputs are greyed until then
    Control(1019)->click();
    EXPECT_EQ(NextLine(), "!ESR 0001\r\n");
    Reply("!OK\r\n");
    Control(1026)->click();
    EXPECT_EQ(NextLine(), "!ESR 0101\r\n");
}

TEST_F(PanelControls, ClicksWhileTheCardIsSilentQueueOneCopyOfEachLine)
{
    Open(VarnokVariant());
    Identify();              // the outputs are greyed until then
    Control(1002)->click();  // 8000, written
    ASSERT_EQ(NextLine(), "!ESR 8000\r\n");
    Control(1030)->click();  // 8040
    Control(1030)->click();  // 8000 again: a different line from the waiting one
    Control(1030)->click();  // 8040, identical to the one still waiting
    EXPECT_EQ(Queue(),
              (std::vector<std::string>{"!ESR 8000\r\n|sent", "!ESR 8040\r\n|waiting", "!ESR 8000\r\n|waiting"}));
}

TEST_F(PanelControls, AboutBoxNamesTheProgramAndItsVersion)
{
    EnsureApplication();
    CPanelDlg panel(TorvaneVariant());
    auto* about = panel.findChild<QAbstractButton*>("16");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&A propos de Torvane...");
    QString title, text;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        for (auto* label : dialog->findChildren<QLabel*>()) text += label->text();
        dialog->accept();
    });
    about->click();
    EXPECT_EQ(title, "A propos de Torvane");
    EXPECT_EQ(text, "Torvane version 1.0");
}

TEST_F(PanelControls, QuillonHasNoAboutBox)
{
    EnsureApplication();
    CPanelDlg panel(QuillonVariant());
    EXPECT_EQ(panel.findChild<QAbstractButton*>("16"), nullptr);
}

struct Layout {
    const PanelVariant* variant;
    int indicators;
    int outputs;
    const char* inputTitle;
    const char* outputTitle;
    const char* caption;
};
void PrintTo(const Layout& layout, std::ostream* os) { ::PrintTo(layout.variant, os); }

class PanelLayout : public PanelFixture, public ::testing::WithParamInterface<Layout> {};

TEST_P(PanelLayout, CarriesItsControlsAndTitles)
{
    const Layout& layout = GetParam();
    EnsureApplication();
    CPanelDlg panel(*layout.variant);
    EXPECT_EQ(panel.findChildren<QRadioButton*>().size(), layout.indicators);
    EXPECT_EQ(panel.findChildren<QCheckBox*>().size(), layout.outputs);
    QStringList titles;
    for (auto* group : panel.findChildren<QGroupBox*>()) titles << group->title();
    EXPECT_EQ(titles, (QStringList{QString::fromLatin1(layout.inputTitle), QString::fromLatin1(layout.outputTitle)}));
    EXPECT_EQ(panel.windowTitle(), QString::fromLatin1(layout.caption));
    EXPECT_FALSE(panel.windowIcon().isNull());
}

INSTANTIATE_TEST_SUITE_P(Stations, PanelLayout,
                         ::testing::Values(Layout{&BrakmorVariant(), 32, 15, "Entr\xE9" "e", "Sortie", "QT4RX802K"},
                                           Layout{&VarnokVariant(), 16, 13, "Entr\xE9" "es", "Sortie", "Varnok"},
                                           Layout{&QuillonVariant(), 18, 10, "Entr\xE9" "es", "Sorties", "Quillon"},
                                           Layout{&TorvaneVariant(), 13, 5, "Entr\xE9" "es", "Sorties", "Torvane"}),
                         [](const auto& info) { return std::string(info.param.variant->name); });

}  // namespace
