#include <gtest/gtest.h>

#include "runtime/StationCard.h"

using namespace cardsim;

namespace {

StationCard Card(const char* station) { return StationCard(*FindStation(station)); }

}  // namespace

TEST(StationCard, AnswersThePanelCommandsOfEveryStation)
{
    for (const auto& station : Stations()) {
        StationCard card(station);
        EXPECT_EQ(card.Execute("?VER"), "!VER CARDSIM 1.0") << station.name;
        EXPECT_EQ(card.Execute("?ARU"), "!ARU 00") << station.name;
        EXPECT_EQ(card.Execute("!EMD 1"), "!OK") << station.name;
        EXPECT_EQ(card.Execute("!EMD 0"), "!OK") << station.name;
        EXPECT_EQ(card.Execute("!EMD 2"), "!Erreur") << station.name;
        EXPECT_EQ(card.Execute("?XYZ"), "!Erreur") << station.name;
        EXPECT_EQ(card.Execute("!VER"), "!Erreur") << station.name;  // a query sent as an order
        EXPECT_EQ(card.Execute(""), "!Erreur") << station.name;
    }
}

TEST(StationCard, InputRepliesHaveEachStationsLayout)
{
    EXPECT_EQ(Card("brakmor").Execute("?LEL"), "!LEL00000000");
    EXPECT_EQ(Card("varnok").Execute("?LEL"), "!LEL0000 00");
    EXPECT_EQ(Card("quillon").Execute("?LEL"), "!LEL000000");
    EXPECT_EQ(Card("torvane").Execute("?LEL"), "!LEL0000");
}

TEST(StationCard, OutputOrdersTakeExactlyTheStationsByteCount)
{
    auto brakmor = Card("brakmor");
    EXPECT_EQ(brakmor.Execute("!ESR 010000"), "!OK");
    EXPECT_EQ(brakmor.Outputs(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(brakmor.Execute("!ESR 0100"), "!Erreur");
    EXPECT_EQ(brakmor.Execute("!ESR 01000000"), "!Erreur");
    EXPECT_EQ(brakmor.Execute("!ESR 01G000"), "!Erreur");
    EXPECT_EQ(brakmor.Outputs(), (std::vector<int>{1, 0, 0}));
    auto torvane = Card("torvane");
    EXPECT_EQ(torvane.Execute("!ESR 11"), "!OK");
    EXPECT_EQ(torvane.Outputs(), std::vector<int>{0x11});
}

TEST(StationCard, InputsFollowOutputsAfterTheDelay)
{
    auto card = Card("varnok");
    EXPECT_EQ(card.Execute("!ESR 8040"), "!OK");
    card.Advance(StationCard::kFollowDelay - SimDuration{1});
    EXPECT_EQ(card.Execute("?LEL"), "!LEL0000 00");
    card.Advance(SimDuration{1});
    EXPECT_EQ(card.Execute("?LEL"), "!LEL8040 00");
}
