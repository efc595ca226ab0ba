#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "ControlFifo.h"
#include "Delivery.h"
#include "Options.h"

using namespace cardsim;

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
    EXPECT_EQ(options->bench, "");
    EXPECT_EQ(options->speed, 1.0);

    const auto bench = parse({"--bench", "niveaueau", "--speed", "20", "--seed", "9", "--noise", "0.5"}, error);
    ASSERT_TRUE(bench.has_value());
    EXPECT_EQ(bench->bench, "niveaueau");
    EXPECT_EQ(bench->speed, 20.0);
    EXPECT_EQ(bench->seed, 9u);
    EXPECT_EQ(bench->noise, 0.5);

    EXPECT_FALSE(parse({"--station", "nowhere"}, error).has_value());
    EXPECT_EQ(error.substr(0, error.find('\n')), "cardsim: bad value for --station: 'nowhere'");
    EXPECT_FALSE(parse({"--bench", "debitair", "--station", "varnok"}, error).has_value());
    EXPECT_EQ(error.substr(0, error.find('\n')), "cardsim: --station and --bench exclude each other");
    EXPECT_FALSE(parse({"--link"}, error).has_value());
    EXPECT_EQ(error.substr(0, error.find('\n')), "cardsim: --link needs a value");
    EXPECT_FALSE(parse({"--frobnicate"}, error).has_value());
    EXPECT_EQ(error.substr(0, error.find('\n')), "cardsim: bad argument '--frobnicate'");
    for (const auto& bad : std::vector<std::vector<const char*>>{{"--bench", "pendule"},
                                                                 {"--hangup-after", "-1"},
                                                                 {"--speed", "0"},
                                                                 {"--speed", "fast"},
                                                                 {"--noise", "101"},
                                                                 {"--noise", "-1"},
                                                                 {"--seed", "4294967296"}})
        EXPECT_FALSE(parse(bad, error).has_value()) << bad[0] << " " << bad[1];
    EXPECT_FALSE(parse({"--help"}, error).has_value());
    EXPECT_EQ(
        error.rfind(
            "usage: cardsim [--station brakmor|varnok|quillon|torvane | --bench debitair|niveaueau|axnum|iapv|synum]",
            0),
        0u);
}

TEST(ControlPipe, APipeThatCannotBeMadeSaysWhyInFrench)
{
    const std::string path = "/tmp/tarvic-cardsim-absent-" + std::to_string(::getpid()) + "/tube";
    ControlFifo fifo;
    std::string error;
    EXPECT_FALSE(fifo.Open(path, error));
    EXPECT_EQ(error, "impossible de cr\xE9" "er le tube de commande " + path + " : dossier introuvable");
}
