// A signal closes the panel through its normal path; another port chosen
// opens it again at once on that port.
#include <csignal>
#include <cstdlib>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "common/PanelApp.h"
#include "common/SelPort.h"
#include "support/ScriptedCard.h"
#include "support/TempFolder.h"
#include "tarvic/platform/SignalClose.h"
#include "varnok/VarnokVariant.h"

namespace {

class PanelSignal : public PanelFixture, public ::testing::WithParamInterface<int> {};

TEST_P(PanelSignal, ClosesThePanelWhichSendsItsClosingOrder)
{
    const tarvic::SignalClose closer;
    m_panel = std::make_unique<CPanelDlg>(VarnokVariant());
    QTimer::singleShot(0, [] { std::raise(GetParam()); });
    EXPECT_EQ(m_panel->DoModal(), 0);
    EXPECT_EQ(closer.Received(), GetParam());
    EXPECT_FALSE(m_panel->PortChange());
    EXPECT_EQ(NextLine(), "!EMD 0\r\n");
    EXPECT_EQ(m_traces.Count("\nQuitter process Varnok\n"), 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, PanelSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

using PanelSignalFaults = PanelFixture;

TEST_F(PanelSignalFaults, ASignalWhileThePortDialogIsOpenClosesBoth)
{
    const tarvic::SignalClose closer;
    m_panel = std::make_unique<CPanelDlg>(VarnokVariant());
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            dialogSeen = qobject_cast<CSelPort*>(QApplication::activeModalWidget()) != nullptr;
            std::raise(SIGTERM);
        });
        m_panel->findChild<QPushButton*>("1021")->click();
    });
    m_panel->DoModal();
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(m_profile->GetProfileString("CONFIGURATION", "PORT", ""), m_card.SlavePath());
    EXPECT_EQ(NextLine(), "!EMD 0\r\n");
}

TEST_F(PanelSignalFaults, WithoutTheCloserTheHandlersAreBackAsTheyWere)
{
    struct sigaction before = {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        const tarvic::SignalClose closer;
    }
    struct sigaction after = {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

TEST_F(PanelSignalFaults, AnotherPortChosenOpensThePanelAgainAtOnceOnIt)
{
    const tarvic::test::TempFolder folder("panel-signal");
    ::setenv("TARVIC_REGISTRY_FILE", (folder / "registry.ini").c_str(), 1);
    tarvic::test::ScriptedCard second;

    // The panel on the first card is told to use the second; the panel on the
    // second, once it has greeted its card, gets a SIGTERM.
    bool chosen = false;
    QTimer script;
    script.setInterval(10);
    QObject::connect(&script, &QTimer::timeout, [&] {
        auto* panel = qobject_cast<CPanelDlg*>(QApplication::activeModalWidget());
        if (!panel || !panel->Process()) return;
        if (!chosen) {
            chosen = true;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<CSelPort*>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                dialog->Combo()->setEditText(QString::fromStdString(second.Path()));
                dialog->accept();
            });
            panel->findChild<QPushButton*>("1032")->click();
        } else if (panel->Process()->LitPort() == second.Path() && !second.Lines().empty()) {
            script.stop();
            std::raise(SIGTERM);
        }
    });
    script.start();
    EXPECT_EQ(RunPanels(BrakmorVariant()), 0);

    // The first card was left with its closing order, for the second.
    const std::string first_card = m_card.ReceiveUntil("!EMD 0\r\n", std::chrono::milliseconds(3000));
    EXPECT_TRUE(first_card.ends_with("!EMD 0\r\n")) << first_card;
    EXPECT_EQ(m_profile->GetProfileString("CONFIGURATION", "PORT", ""), second.Path());
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return second.Lines().back() == "!EMD 0"; }));
    EXPECT_EQ(second.Lines().front(), "?VER");
    ::unsetenv("TARVIC_REGISTRY_FILE");
}

}  // namespace
