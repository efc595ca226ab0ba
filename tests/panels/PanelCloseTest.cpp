// Closing a panel: the closing order, then both threads end.
#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "quillon/QuillonVariant.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

class PanelClose : public PanelFixture, public ::testing::WithParamInterface<const PanelVariant*> {};

TEST_P(PanelClose, WritesTheClosingOrderWithACommandInFlightAndEndsBothThreads)
{
    const PanelVariant& variant = *GetParam();
    Open(variant).OnTimer();
    ASSERT_EQ(NextLine(), "?VER\r\n");
    CProcess* process = m_panel->Process();
    process->ExitInstance();
    EXPECT_EQ(NextLine(), "!EMD 0\r\n");
    EXPECT_FALSE(process->EnvoiActif());
    EXPECT_TRUE(process->m_stop);
    EXPECT_EQ(m_traces.Count(std::string("\nQuitter process ") + variant.name + "\n"), 1);
    EXPECT_EQ(m_traces.Count("fin process com\n"), 1);
    m_panel->StopProcess();
    EXPECT_EQ(m_panel->Process(), nullptr);
    EXPECT_EQ(Silence(), "");
}

INSTANTIATE_TEST_SUITE_P(Stations, PanelClose,
                         ::testing::Values(&BrakmorVariant(), &VarnokVariant(), &QuillonVariant(), &TorvaneVariant()),
                         [](const auto& info) { return std::string(info.param->name); });

using PanelCloseFaults = PanelFixture;

TEST_F(PanelCloseFaults, ClosesAfterTheCardHasHungUp)
{
    Open(VarnokVariant()).OnTimer();
    ASSERT_EQ(NextLine(), "?VER\r\n");
    m_card.HangUp();
    m_panel->OnTimer();
    m_panel->StopProcess();
    EXPECT_EQ(m_traces.Count("\nQuitter process Varnok\n"), 1);
    EXPECT_EQ(m_traces.Count("fin process com\n"), 1);
}

TEST_F(PanelCloseFaults, ClosesRightAfterStarting)
{
    Open(TorvaneVariant());
    m_panel->StopProcess();
    EXPECT_EQ(NextLine(), "!EMD 0\r\n");
}

}  // namespace
