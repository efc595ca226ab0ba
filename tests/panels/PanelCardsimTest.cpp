// Each panel on its own timer against the simulated card, whose inputs
// follow its outputs: a click on an output comes back as a lit indicator.
#include <chrono>
#include <thread>

#include <QAbstractButton>
#include <QCoreApplication>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "quillon/QuillonVariant.h"
#include "support/CardsimProcess.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

// Runs the event loop (and so timer 1) until the condition holds.
template <class Condition>
bool SpinUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct Loop {
    const PanelVariant* variant;
    const char* station;
    int output;     // output bit n of byte b ...
    int indicator;  // ... drives input bit n of byte b
};

class PanelOnCardsim : public PanelFixture, public ::testing::WithParamInterface<Loop> {};

TEST_P(PanelOnCardsim, IdentifiesThenShowsTheOutputComingBack)
{
    const Loop& loop = GetParam();
    tarvic::test::CardsimProcess card({"--station", loop.station});
    ASSERT_FALSE(card.Path().empty());
    m_profile->WriteProfileString("CONFIGURATION", "PORT", card.Path());
    Open(*loop.variant).StartTimer();

    ASSERT_TRUE(SpinUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Text(loop.variant->identId), " CARDSIM 1.0");
    Control(loop.output)->click();
    EXPECT_TRUE(SpinUntil([&] { return CheckedIndicators() == std::set<int>{loop.indicator}; }));
    m_panel->StopProcess();
    EXPECT_EQ(m_traces.Count(std::string("\nQuitter process ") + loop.variant->name + "\n"), 1);
}

INSTANTIATE_TEST_SUITE_P(Stations, PanelOnCardsim,
                         ::testing::Values(Loop{&BrakmorVariant(), "brakmor", 1041, 1001},
                                           Loop{&VarnokVariant(), "varnok", 1002, 1012},
                                           Loop{&QuillonVariant(), "quillon", 1020, 1010},
                                           Loop{&TorvaneVariant(), "torvane", 1019, 1011}),
                         [](const auto& info) { return std::string(info.param.variant->name); });

}  // namespace
