// A card that is switched on late, reset, or half deaf: the panel waits, says
// so, greets it again, and once it is back gives it its outputs again.
#include <algorithm>
#include <atomic>

#include <QAbstractButton>

#include "PanelFixture.h"
#include "brakmor/BrakmorVariant.h"
#include "quillon/QuillonVariant.h"
#include "support/ScriptedCard.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

using tarvic::test::ScriptedCard;
using tarvic::test::WaitUntil;
using Lines = std::vector<std::string>;

// An obliging card that can be switched off and on, as a card being reset is.
ScriptedCard::Answer Switchable(const std::atomic<bool>& on, const std::string& version = " CARTE 2.0")
{
    return [&on, obliging = ScriptedCard::Obliging(version)](const std::string& line) {
        return on ? obliging(line) : std::nullopt;
    };
}

Lines From(const Lines& lines, std::size_t first, std::size_t count = std::string::npos)
{
    const std::size_t begin = std::min(first, lines.size());
    const std::size_t end = count == std::string::npos ? lines.size() : std::min(begin + count, lines.size());
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(begin), lines.begin() + static_cast<std::ptrdiff_t>(end));
}

std::ptrdiff_t IndexOf(const Lines& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

struct Station {
    const PanelVariant* variant;
    int output;               // one output check box ...
    const char* outputOrder;  // ... and the order that sends it alone

    friend void PrintTo(const Station& station, std::ostream* out) { *out << station.variant->name; }
};

class Recovery : public PanelFixture, public ::testing::WithParamInterface<Station> {
protected:
    const PanelVariant& Variant() const { return *GetParam().variant; }
    bool OutputsEnabled() { return Control(GetParam().output)->isEnabled(); }
};

TEST_P(Recovery, ACardSwitchedOnLateIsGreetedUntilItAnswers)
{
    std::atomic<bool> on{false};
    ScriptedCard card(Switchable(on));
    OpenOn(card.Path(), Variant());
    ASSERT_TRUE(PortOpens());

    // Written, then again after each time-out, then dropped: the greeting starts over.
    ASSERT_TRUE(CycleUntil([&] { return Stats().delais == 3; }));
    ASSERT_TRUE(card.WaitLines(3));
    EXPECT_EQ(From(card.Lines(), 0, 3), (Lines{"?VER", "?VER", "?VER"}));
    EXPECT_EQ(Stats().renvois, 2);
    EXPECT_EQ(Status(), "Mis en communication...");
    EXPECT_FALSE(OutputsEnabled());
    EXPECT_FALSE(m_panel->Connecte());

    on = true;
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Text(Variant().identId), " CARTE 2.0");
    EXPECT_TRUE(OutputsEnabled());
    // As on any first identification: EMD 1, and no outputs, none having been set.
    ASSERT_TRUE(WaitUntil([&] { return IndexOf(card.Lines(), "!EMD 1") < std::ssize(card.Lines()); }));
    const Lines lines = card.Lines();
    EXPECT_LT(IndexOf(lines, "?VER"), IndexOf(lines, "!EMD 1"));
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const auto& line) { return line.rfind("!ESR", 0) == 0; }));
    EXPECT_EQ(Stats().reconnexions, 0);
    EXPECT_GE(QueueChecks(), 8);  // every line at least queued, marked sent, retired
    ExpectPromptClose();
    ASSERT_TRUE(card.WaitLines(lines.size() + 1));
    EXPECT_EQ(card.Lines().back(), "!EMD 0");
}

TEST_P(Recovery, ACardResetMidRunIsWaitedForThenGetsItsOutputsBack)
{
    std::atomic<bool> on{true};
    ScriptedCard card(Switchable(on));
    OpenOn(card.Path(), Variant());
    ASSERT_TRUE(PortOpens());
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    Control(GetParam().output)->click();
    ASSERT_TRUE(WaitUntil([&] { return IndexOf(card.Lines(), GetParam().outputOrder) < std::ssize(card.Lines()); }));

    on = false;  // reset: silent while it starts again, its outputs off
    ASSERT_TRUE(CycleUntil([&] { return !m_panel->Connecte(); }));
    EXPECT_EQ(Status(), "Mis en communication...");
    if (Variant().identId != Variant().statusId) {
        EXPECT_EQ(Text(Variant().identId), "");
    }
    EXPECT_FALSE(OutputsEnabled());
    EXPECT_TRUE(Control(GetParam().output)->isChecked());  // the user's choice stays
    EXPECT_TRUE(CheckedIndicators().empty());
    EXPECT_EQ(Process().LitVersion(), "");

    const std::size_t before = card.Lines().size();
    on = true;
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    ASSERT_TRUE(WaitUntil([&] {
        return IndexOf(From(card.Lines(), before), GetParam().outputOrder) < std::ssize(From(card.Lines(), before));
    }));
    // Greeted, identified, EMD 1 as after the first identification, then the outputs.
    const Lines back = From(card.Lines(), before);
    EXPECT_LT(IndexOf(back, "?VER"), IndexOf(back, "!EMD 1"));
    EXPECT_LT(IndexOf(back, "!EMD 1"), IndexOf(back, GetParam().outputOrder));
    EXPECT_TRUE(OutputsEnabled());
    EXPECT_EQ(Text(Variant().identId), " CARTE 2.0");
    EXPECT_EQ(Stats().reconnexions, 1);
    EXPECT_GE(QueueChecks(), 8);  // every line at least queued, marked sent, retired
    ExpectPromptClose();
}

TEST_P(Recovery, TheIndicatorsAreGreyedWhileTheCardIsAway)
{
    std::atomic<bool> on{false};
    ScriptedCard card(Switchable(on));
    OpenOn(card.Path(), Variant());
    ASSERT_TRUE(PortOpens());
    m_panel->OnTimer();
    // Not yet identified: the indicators' state is not the station's.
    EXPECT_EQ(LiveIndicators(), 0u);

    on = true;
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(LiveIndicators(), Variant().indicators.size());

    on = false;
    ASSERT_TRUE(CycleUntil([&] { return !m_panel->Connecte(); }));
    EXPECT_EQ(LiveIndicators(), 0u);
    ExpectPromptClose();
}

INSTANTIATE_TEST_SUITE_P(Stations, Recovery,
                         ::testing::Values(Station{&BrakmorVariant(), 1033, "!ESR 010000"},
                                           Station{&VarnokVariant(), 1002, "!ESR 8000"},
                                           Station{&QuillonVariant(), 1019, "!ESR 0001"},
                                           Station{&TorvaneVariant(), 1015, "!ESR 01"}),
                         [](const auto& info) { return std::string(info.param.variant->name); });

using HalfDeafCard = PanelFixture;

TEST_F(HalfDeafCard, AnsweringEveryOtherLineKeepsThePanelIdentified)
{
    // Every line the card receives at an even place goes unanswered.
    ScriptedCard card([obliging = ScriptedCard::Obliging(" D", "123400"), index = 0](const std::string& line) mutable {
        return index++ % 2 == 1 ? obliging(line) : std::nullopt;
    });
    OpenOn(card.Path(), QuillonVariant());
    ASSERT_TRUE(PortOpens());
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    Control(1019)->click();
    bool stayedIdentified = true;
    ASSERT_TRUE(CycleUntil([&] {
        stayedIdentified = stayedIdentified && m_panel->Connecte();
        return Process().LitEntree(0) == 0x12 && Stats().renvois >= 4 &&
               IndexOf(card.Lines(), "!ESR 0001") < std::ssize(card.Lines());
    }));
    // Each command went through on its first or second write: none was dropped.
    const auto stats = Stats();
    EXPECT_EQ(stats.delais, stats.renvois);
    EXPECT_EQ(stats.reconnexions, 0);
    EXPECT_TRUE(stayedIdentified);
    EXPECT_EQ(From(card.Lines(), 0, 2), (Lines{"?VER", "?VER"}));
    m_panel->OnTimer();
    EXPECT_EQ(Text(1028), "LEL 00 34 12");
    ExpectPromptClose();
}

TEST_F(HalfDeafCard, AFloodOfGarbageIsSkippedAndTheRepliesAfterItCount)
{
    // Noise with no line start, lines with a bare LF or a byte between CR and LF,
    // an endless line, replies nobody asked for, then the reply.
    std::string noise;
    for (int i = 0; i < 200000; ++i) noise += static_cast<char>("\x01\x7F\xFFz#@ \xE9"[i % 8]);
    noise += "!BRUIT\n!VER FAUX\r \n";
    ScriptedCard card([&noise, obliging = ScriptedCard::Obliging(" G")](const std::string& line) {
        return line == "?VER" ? noise + "\r\n" + *obliging(line) : obliging(line);
    });
    OpenOn(card.Path(), VarnokVariant(), LinkTimings{});  // however slow the noise, no resend
    ASSERT_TRUE(PortOpens());
    ASSERT_TRUE(CycleUntil([&] { return m_panel->Connecte(); }));
    EXPECT_EQ(Text(1004), " G");
    EXPECT_EQ(m_traces.Count("manque d\n"), 3);  // the overflow, the bare LF, the byte after CR
    EXPECT_GT(QueueChecks(), 3);
    ExpectPromptClose();
}

}  // namespace
