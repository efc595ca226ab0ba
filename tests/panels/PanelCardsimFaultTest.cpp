// A simulated card that hangs up, then another on the same path; a card that
// puts noise around every reply.
#include <algorithm>
#include <fstream>

#include <QAbstractButton>

#include "PanelFixture.h"
#include "support/CardsimProcess.h"
#include "support/TempFolder.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

// What a cardsim log says the card received, in order, without the "> ".
std::vector<std::string> Received(const std::string& log)
{
    std::vector<std::string> lines;
    std::ifstream file(log);
    for (std::string line; std::getline(file, line);)
        if (line.rfind("> ", 0) == 0) lines.push_back(line.substr(2));
    return lines;
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

class PanelOnFaultyCardsim : public PanelFixture {
protected:
    tarvic::test::TempFolder m_folder{"panel-cardsim"};
};

TEST_F(PanelOnFaultyCardsim, ACardThatHangsUpIsWaitedForAndTheNextOneOnItsPathGetsTheOutputs)
{
    // Ten times the clock: the cylinders' travels of a second take a tenth.
    const std::string link = m_folder / "carte", firstLog = m_folder / "first.log", secondLog = m_folder / "second.log";
    auto first = std::make_unique<tarvic::test::CardsimProcess>(std::vector<std::string>{
        "--station", "varnok", "--speed", "10", "--link", link, "--log", firstLog, "--hangup-after", "12"});
    ASSERT_FALSE(first->Path().empty());
    OpenOn(link, VarnokVariant());
    ASSERT_TRUE(PortOpens());
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    Control(1024)->click();  // TH: the cylinder goes up
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return IndexOf(Received(firstLog), "!ESR 1000") < 12; }));

    // Polled until it hangs up; it ends and takes its link with it.
    ASSERT_TRUE(CycleUntil([&] { return !m_panel->Connecte(); }));
    first.reset();
    ASSERT_TRUE(CycleUntil([&] { return Status() == "Port " + link + " introuvable"; }));
    EXPECT_FALSE(Control(1024)->isEnabled());
    EXPECT_TRUE(Control(1024)->isChecked());
    EXPECT_TRUE(CheckedIndicators().empty());
    const auto journal = Process().Journal()->Entrees();
    EXPECT_TRUE(std::any_of(journal.begin(), journal.end(), [](const CJournal::Entree& entree) {
        return entree.sens == CJournal::Sens::Note && entree.texte == "Liaison perdue";
    }));

    // A new card, its cylinder down: the outputs it is given send it up again.
    tarvic::test::CardsimProcess second({"--station", "varnok", "--speed", "10", "--link", link, "--log", secondLog});
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return IndexOf(Received(secondLog), "!ESR 1000") < 100; }));
    const auto received = Received(secondLog);
    EXPECT_EQ(received.front(), "?VER");
    EXPECT_LT(IndexOf(received, "!EMD 1"), IndexOf(received, "!ESR 1000"));
    EXPECT_TRUE(CycleUntil([&] { return Lit(1007) && !Lit(1008); }));  // haut, not bas
    EXPECT_EQ(Stats().reconnexions, 1);
    EXPECT_GE(QueueChecks(), 12);  // every line at least queued, marked sent, retired
    ExpectPromptClose();
}

TEST_F(PanelOnFaultyCardsim, NoiseAroundEveryReplyChangesNothing)
{
    tarvic::test::CardsimProcess card({"--station", "torvane", "--speed", "10", "--garbage"});
    OpenOn(card.Path(), TorvaneVariant());
    ASSERT_TRUE(PortOpens());
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Text(1029), " CARDSIM 1.0");
    ASSERT_TRUE(CycleUntil([&] { return Lit(1012); }));  // ai0
    Control(1017)->click();                              // L0 moves it to ae0
    EXPECT_TRUE(CycleUntil([&] { return Lit(1005) && !Lit(1012); }));
    EXPECT_GT(m_traces.Count("manque d\n"), 2);  // one noisy line dropped with each reply
    ExpectPromptClose();
}

}  // namespace
