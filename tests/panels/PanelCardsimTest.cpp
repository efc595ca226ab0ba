// Each panel on its own timer against the simulated card's machine: a click
// on an output moves an actuator, whose sensor lights after its travel while
// the sensor of the other end goes dark.
#include <unistd.h>

#include <chrono>
#include <fstream>

#include <QAbstractButton>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "quillon/QuillonVariant.h"
#include "support/CardsimProcess.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

struct Loop {
    const PanelVariant* variant;
    const char* station;
    int output;   // the check box of an actuator's output ...
    int reached;  // ... the indicator of the sensor it moves to
    int left;     // ... and of the one it leaves
};
void PrintTo(const Loop& loop, std::ostream* os) { ::PrintTo(loop.variant, os); }

// A panel against cardsim rather than a scripted card.
using CardsimPanel = PanelFixture;

class PanelOnCardsim : public CardsimPanel, public ::testing::WithParamInterface<Loop> {};

TEST_P(PanelOnCardsim, OutputMovesTheActuatorToItsSensor)
{
    const Loop& loop = GetParam();
    // Ten times the clock: the travels of a second take a tenth.
    tarvic::test::CardsimProcess card({"--station", loop.station, "--speed", "10"});
    ASSERT_FALSE(card.Path().empty());
    m_profile->WriteProfileString("CONFIGURATION", "PORT", card.Path());
    Open(*loop.variant).StartTimer();

    ASSERT_TRUE(SpinUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Text(loop.variant->identId), " CARDSIM 1.0");
    ASSERT_TRUE(SpinUntil([&] { return Lit(loop.left); }));
    EXPECT_FALSE(Lit(loop.reached));
    Control(loop.output)->click();
    EXPECT_TRUE(SpinUntil([&] { return Lit(loop.reached) && !Lit(loop.left); }));
    m_panel->StopProcess();
    EXPECT_EQ(m_traces.Count(std::string("\nQuitter process ") + loop.variant->name + "\n"), 1);
}

INSTANTIATE_TEST_SUITE_P(Stations, PanelOnCardsim,
                         ::testing::Values(Loop{&BrakmorVariant(), "brakmor", 1040, 1020, 1021},   // X+: X sortie
                                           Loop{&VarnokVariant(), "varnok", 1024, 1007, 1008},     // TH: haut
                                           Loop{&QuillonVariant(), "quillon", 1021, 1011, 1012},   // L2H: a2h
                                           Loop{&TorvaneVariant(), "torvane", 1017, 1005, 1012}),  // L0: ae0
                         [](const auto& info) { return std::string(info.param.variant->name); });

using VarnokOnCardsim = CardsimPanel;

TEST_F(VarnokOnCardsim, StateTextFollowsTheOriginAndTheEmergencyStop)
{
    const std::string pipe = "/tmp/tarvic-panel-operator-" + std::to_string(::getpid());
    tarvic::test::CardsimProcess card({"--station", "varnok", "--speed", "10", "--control", pipe});
    m_profile->WriteProfileString("CONFIGURATION", "PORT", card.Path());
    Open(VarnokVariant()).StartTimer();
    const int state = 1003;
    EXPECT_TRUE(SpinUntil([&] { return Text(state) == "POM : OP TR TH"; }));
    std::ofstream(pipe) << "aru\n";
    EXPECT_TRUE(SpinUntil([&] { return Text(state) == "Arr\xEAt d'urgence enclencher"; }));
    std::ofstream(pipe) << "rearme\n";
    EXPECT_TRUE(SpinUntil([&] { return Text(state) == "POM : OP TR TH"; }));
    for (const int output : {1024, 1026, 1030}) Control(output)->click();  // TH, TR, PO
    EXPECT_TRUE(SpinUntil([&] { return Text(state) == "POM: BD PH"; }));
    for (const int output : {1002, 1028}) Control(output)->click();  // BD, PH
    EXPECT_TRUE(SpinUntil([&] { return Text(state) == "Fonctionnement normal"; }));
    m_panel->StopProcess();
}

}  // namespace
