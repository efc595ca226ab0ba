#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "support/CardsimProcess.h"
#include "support/LineCollector.h"
#include "support/TraceCapture.h"
#include "tarvic/serial/ComThread.h"

using tarvic::test::WaitUntil;
using namespace std::chrono_literals;

using tarvic::test::CardsimProcess;
using tarvic::test::LineCollector;

namespace {

std::unique_ptr<LineCollector> Connect(const CardsimProcess& card)
{
    auto com = std::make_unique<LineCollector>(card.Path());
    com->m_traite = true;
    com->CreateThread();
    com->LitOpenPort()->Wait(10000);
    return com;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(Cardsim, AnswersAPanelSessionOverItsPty)
{
    tarvic::test::TraceCapture quiet;
    // Slow enough that the inputs never follow during the test.
    CardsimProcess card({"--station", "quillon", "--speed", "0.001"});
    ASSERT_FALSE(card.Path().empty());
    auto com = Connect(card);
    ASSERT_TRUE(com->hcom.IsOpen());
    for (const char* line : {"?VER\r\n", "!EMD 1\r\n", "!ESR 0A0B\r\n", "?LEL\r\n", "!NONSENSE\r\n"}) {
        const std::size_t before = com->Count();
        com->Send(line);
        ASSERT_TRUE(com->WaitLines(before + 1)) << line;
    }
    EXPECT_EQ(com->Lines(), (Lines{"!VER CARDSIM 1.0", "!OK", "!OK", "!LEL000000", "!Erreur"}));
}

TEST(Cardsim, InputsFollowOutputsInTheCardsTime)
{
    tarvic::test::TraceCapture quiet;
    // 300 ms of the card's time go by in a third of a millisecond.
    CardsimProcess card({"--station", "quillon", "--speed", "1000"});
    auto com = Connect(card);
    com->Send("!ESR 0A0B\r\n");
    ASSERT_TRUE(com->WaitLines(1));
    std::size_t asked = 1;
    EXPECT_TRUE(WaitUntil([&] {
        com->Send("?LEL\r\n");
        com->WaitLines(++asked);
        return com->Lines().back() == "!LEL0A0B00";
    }));
}

TEST(Cardsim, FaultyDeliveriesStillCarryTheSameLines)
{
    tarvic::test::TraceCapture quiet;
    for (const char* mode : {"--split", "--bytewise", "--garbage"}) {
        CardsimProcess card({"--station", "torvane", mode});
        auto com = Connect(card);
        com->Send("?VER\r\n");
        ASSERT_TRUE(com->WaitLines(1)) << mode;
        com->Send("?LEL\r\n");
        ASSERT_TRUE(com->WaitLines(2)) << mode;
        EXPECT_EQ(com->Lines(), (Lines{"!VER CARDSIM 1.0", "!LEL0000"})) << mode;
    }
}

TEST(Cardsim, SilentCardAnswersNothing)
{
    tarvic::test::TraceCapture quiet;
    CardsimProcess card({"--silent"});
    auto com = Connect(card);
    com->Send("?VER\r\n");
    EXPECT_FALSE(com->WaitLines(1, 300ms));
}

TEST(Cardsim, HangUpWhileConnectedClosesTheClientsPort)
{
    tarvic::test::TraceCapture quiet;
    CardsimProcess card({"--hangup-after", "1"});
    auto com = Connect(card);
    com->Send("?VER\r\n");
    ASSERT_TRUE(WaitUntil([&] { return !com->hcom.IsOpen(); }, 5000ms));
    com->ExitInstance();
    EXPECT_TRUE(com->m_stop);
}

TEST(Cardsim, LinkNamesThePty)
{
    const std::string link = "/tmp/tarvic-cardsim-link-" + std::to_string(::getpid());
    {
        CardsimProcess card({"--link", link});
        char target[256] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), card.Path());
    }
    EXPECT_NE(::access(link.c_str(), F_OK), 0);  // removed when the card stops
}
