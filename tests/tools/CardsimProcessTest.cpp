#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

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
    CardsimProcess card({"--station", "quillon"});
    ASSERT_FALSE(card.Path().empty());
    auto com = Connect(card);
    ASSERT_TRUE(com->hcom.IsOpen());
    // B, C and D: outputs with nothing to move.
    for (const char* line : {"?VER\r\n", "!EMD 1\r\n", "!ESR 0E00\r\n", "?LEL\r\n", "!NONSENSE\r\n"}) {
        const std::size_t before = com->Count();
        com->Send(line);
        ASSERT_TRUE(com->WaitLines(before + 1)) << line;
    }
    EXPECT_EQ(com->Lines(), (Lines{"!VER CARDSIM 1.0", "!OK", "!OK", "!LELA00000", "!Erreur"}));
}

TEST(Cardsim, ActuatorsReachTheirSensorsInTheCardsTime)
{
    tarvic::test::TraceCapture quiet;
    // The actuators' second of travel goes by in a millisecond.
    CardsimProcess card({"--station", "quillon", "--speed", "1000"});
    auto com = Connect(card);
    com->Send("!ESR 0A0B\r\n");
    ASSERT_TRUE(com->WaitLines(1));
    std::size_t asked = 1;
    EXPECT_TRUE(WaitUntil([&] {
        com->Send("?LEL\r\n");
        com->WaitLines(++asked);
        return com->Lines().back() == "!LEL200300";  // a3h and a4 reached, a3b left
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
        EXPECT_EQ(com->Lines(), (Lines{"!VER CARDSIM 1.0", "!LEL3800"})) << mode;
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

TEST(Cardsim, OperatorOrdersThroughTheControlPipe)
{
    tarvic::test::TraceCapture quiet;
    const std::string pipe = "/tmp/tarvic-cardsim-control-" + std::to_string(::getpid());
    CardsimProcess card({"--station", "varnok", "--control", pipe});
    auto com = Connect(card);
    std::size_t asked = 0;
    const auto inputsBecome = [&](const std::string& expected) {
        return WaitUntil([&] {
            com->Send("?LEL\r\n");
            com->WaitLines(++asked);
            return com->Lines().back() == expected;
        });
    };
    const auto order = [&](const char* text) { std::ofstream(pipe) << text << "\n"; };
    order("aru");
    EXPECT_TRUE(inputsBecome("!LELA9C2 01"));  // aru and e_aru: the state text of the emergency stop
    order("rearme");
    order("appui dcy");
    EXPECT_TRUE(inputsBecome("!LELA90A 01"));
}

TEST(Cardsim, ScenarioFilePressesOnTime)
{
    tarvic::test::TraceCapture quiet;
    const std::string path = "/tmp/tarvic-cardsim-scenario-" + std::to_string(::getpid());
    std::ofstream(path) << "# the operator starts a cycle\n0.5 appui dcy\n";
    {
        CardsimProcess card({"--station", "brakmor", "--scenario", path, "--speed", "10"});
        auto com = Connect(card);
        std::size_t asked = 0;
        EXPECT_TRUE(WaitUntil([&] {
            com->Send("?LEL\r\n");
            com->WaitLines(++asked);
            return com->Lines().back() == "!LEL40005510";
        }));
    }
    std::ofstream(path) << "0.5 appui bouton\n";
    const std::string command = std::string(TARVIC_CARDSIM) + " --station brakmor --scenario " + path + " 2>&1";
    FILE* out = ::popen(command.c_str(), "r");
    char message[256] = {};
    const bool read = std::fgets(message, sizeof message, out) != nullptr;
    const int status = ::pclose(out);
    ::unlink(path.c_str());
    EXPECT_TRUE(read);
    EXPECT_EQ(std::string(message), "cardsim: entr\xC3\xA9" "e inconnue : bouton\n");  // in UTF-8 for the terminal
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

// A lab machine without a desktop runs the card: it loads neither Qt nor the library.
TEST(Cardsim, NeedsNeitherQtNorTheLibrary)
{
    const std::string command = "LC_ALL=C readelf -dW " + std::string(TARVIC_CARDSIM);
    FILE* out = ::popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    const std::string mark = "Shared library: [";
    Lines needed;
    char line[512];
    while (std::fgets(line, sizeof line, out)) {
        const std::string text = line;
        const auto at = text.find(mark);
        if (at == std::string::npos) continue;
        const auto name = at + mark.size();
        needed.push_back(text.substr(name, text.find(']', name) - name));
    }
    EXPECT_EQ(::pclose(out), 0);
    ASSERT_NE(std::find(needed.begin(), needed.end(), "libc.so.6"), needed.end());  // the list was read
    Lines ours;
    for (const auto& library : needed)
        if (library.starts_with("libQt") || library.starts_with("libtarvic")) ours.push_back(library);
    EXPECT_EQ(ours, Lines{});
}
