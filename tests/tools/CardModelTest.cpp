#include <gtest/gtest.h>

#include "CardModel.h"
#include "Delivery.h"
#include "Options.h"

using namespace cardsim;

namespace {

CardModel Card(const char* station) { return CardModel(*FindStation(station)); }

}  // namespace

TEST(CardModel, AnswersThePanelCommandsOfEveryStation)
{
    const auto now = Clock::now();
    for (const auto& station : Stations()) {
        CardModel card(station);
        EXPECT_EQ(card.Execute("?VER", now), "!VER CARDSIM 1.0") << station.name;
        EXPECT_EQ(card.Execute("?ARU", now), "!ARU 00") << station.name;
        EXPECT_EQ(card.Execute("!EMD 1", now), "!OK") << station.name;
        EXPECT_EQ(card.Execute("!EMD 0", now), "!OK") << station.name;
        EXPECT_EQ(card.Execute("!EMD 2", now), "!Erreur") << station.name;
        EXPECT_EQ(card.Execute("?XYZ", now), "!Erreur") << station.name;
        EXPECT_EQ(card.Execute("!VER", now), "!Erreur") << station.name;  // a query sent as an order
        EXPECT_EQ(card.Execute("", now), "!Erreur") << station.name;
    }
}

TEST(CardModel, InputRepliesHaveEachStationsLayout)
{
    const auto now = Clock::now();
    EXPECT_EQ(Card("brakmor").Execute("?LEL", now), "!LEL00000000");
    EXPECT_EQ(Card("varnok").Execute("?LEL", now), "!LEL0000 00");
    EXPECT_EQ(Card("quillon").Execute("?LEL", now), "!LEL000000");
    EXPECT_EQ(Card("torvane").Execute("?LEL", now), "!LEL0000");
}

TEST(CardModel, OutputOrdersTakeExactlyTheStationsByteCount)
{
    const auto now = Clock::now();
    auto brakmor = Card("brakmor");
    EXPECT_EQ(brakmor.Execute("!ESR 010000", now), "!OK");
    EXPECT_EQ(brakmor.Outputs(), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(brakmor.Execute("!ESR 0100", now), "!Erreur");
    EXPECT_EQ(brakmor.Execute("!ESR 01000000", now), "!Erreur");
    EXPECT_EQ(brakmor.Execute("!ESR 01G000", now), "!Erreur");
    EXPECT_EQ(brakmor.Outputs(), (std::vector<int>{1, 0, 0}));
    auto torvane = Card("torvane");
    EXPECT_EQ(torvane.Execute("!ESR 11", now), "!OK");
    EXPECT_EQ(torvane.Outputs(), std::vector<int>{0x11});
}

TEST(CardModel, InputsFollowOutputsAfterTheDelay)
{
    auto card = Card("varnok");
    const auto start = Clock::now();
    EXPECT_EQ(card.Execute("!ESR 8040", start), "!OK");
    const auto due = card.Advance(start);
    ASSERT_TRUE(due.has_value());
    EXPECT_EQ(*due, start + CardModel::kFollowDelay);
    EXPECT_EQ(card.Execute("?LEL", start), "!LEL0000 00");
    EXPECT_FALSE(card.Advance(*due).has_value());
    EXPECT_EQ(card.Execute("?LEL", *due), "!LEL8040 00");
}

TEST(Delivery, PiecesCarryTheSameBytes)
{
    const std::string reply = "!LEL1234 02";
    for (const auto delivery : {Delivery::Whole, Delivery::Split, Delivery::Bytewise}) {
        std::string joined;
        for (const auto& piece : Pieces(reply, delivery)) joined += piece;
        EXPECT_EQ(joined, reply + "\r\n");
    }
    EXPECT_EQ(Pieces(reply, Delivery::Split), (std::vector<std::string>{"!LE", "L1234 02\r", "\n"}));
    EXPECT_EQ(Pieces(reply, Delivery::Bytewise).size(), reply.size() + 2);
    const auto noisy = Pieces(reply, Delivery::Garbage);
    EXPECT_EQ(noisy.back(), "zz" + reply + "\r\n");
}

TEST(Options, ParseAndReject)
{
    const auto parse = [](std::vector<const char*> args, std::string& error) {
        args.insert(args.begin(), "cardsim");
        return ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), error);
    };
    std::string error;
    const auto options = parse({"--station", "torvane", "--link", "/tmp/x", "--garbage", "--hangup-after", "3"}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->station, "torvane");
    EXPECT_EQ(options->link, "/tmp/x");
    EXPECT_EQ(options->delivery, Delivery::Garbage);
    EXPECT_EQ(options->hangUpAfter, 3);
    EXPECT_FALSE(parse({"--station", "nowhere"}, error).has_value());
    EXPECT_NE(error.find("unknown station 'nowhere'"), std::string::npos);
    EXPECT_FALSE(parse({"--hangup-after", "-1"}, error).has_value());
    EXPECT_FALSE(parse({"--link"}, error).has_value());
}
