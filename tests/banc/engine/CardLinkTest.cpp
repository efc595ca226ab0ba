#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/link/CardLink.h"
#include "engine/link/PortDiagnosis.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/SerialPort.h"

using namespace std::chrono_literals;
using banc::CardLink;
using tarvic::test::ScriptedCard;

namespace {

constexpr banc::LinkTiming kQuick{100ms, 3};
constexpr banc::LinkTiming kPatient{10s, 3};

// Does `action` on a thread of its own once the card has received a line.
std::thread OnFirstLine(const ScriptedCard& card, std::function<void()> action)
{
    return std::thread([&card, action] {
        tarvic::test::WaitUntil([&] { return !card.Lines().empty(); });
        action();
    });
}

}  // namespace

TEST(CardLink, ALineGetsItsOneReply)
{
    tarvic::test::TraceCapture quiet;
    ScriptedCard card([](const std::string& line) { return banc::test::CardAnswer(line); });
    CardLink link(card.Path(), kQuick);
    ASSERT_TRUE(link.Open());
    const auto order = link.Exchange('!', "DFS14");
    EXPECT_EQ(order.status, CardLink::Status::Replied);
    EXPECT_EQ(order.line, "!OK");
    const auto request = link.Exchange('?', "AEBC");
    EXPECT_EQ(request.line, "!AEBC033303330333");
    EXPECT_EQ(card.Lines(), (std::vector<std::string>{"!DFS14", "?AEBC"}));
    EXPECT_EQ(link.BytesCarried(), 8u + 5 + 7 + 19);
}

TEST(CardLink, LinesThatCannotBeTheReplyAreDropped)
{
    tarvic::test::TraceCapture quiet;
    // A late reply to an earlier request and noise come first.
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line == "?TEM00") return "!AVS0000000000000000\r\n!OK\r\n!TEM00O";
        return "!BRUIT\r\n!OK";
    });
    CardLink link(card.Path(), kQuick);
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(link.Exchange('?', "TEM00").line, "!TEM00O");
    EXPECT_EQ(link.Exchange('!', "RD").line, "!OK");
}

TEST(CardLink, ASilentCardIsAskedAgainABoundedNumberOfTimes)
{
    tarvic::test::TraceCapture quiet;
    ScriptedCard card([](const std::string& line) -> std::optional<std::string> {
        if (line == "?AVS") return std::nullopt;
        return "!OK";
    });
    CardLink link(card.Path(), kQuick);
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(link.Exchange('?', "AVS").status, CardLink::Status::Silent);
    EXPECT_EQ(card.Lines(), (std::vector<std::string>{"?AVS", "?AVS", "?AVS"}));
    EXPECT_EQ(link.Exchange('!', "RS", {100ms, 1}).line, "!OK");
    // Refused lines are replies too: the caller decides.
    EXPECT_TRUE(CardLink::Answers('!', "RKP", "!Erreur"));
    EXPECT_TRUE(CardLink::Answers('?', "TSF03", "!TSF03..."));
    EXPECT_FALSE(CardLink::Answers('?', "TSF03", "!TEM03O"));
    EXPECT_FALSE(CardLink::Answers('!', "RD", "!AVS0000"));
}

TEST(CardLink, AReplyStillArrivingIsWaitedForPastTheTimeOut)
{
    tarvic::test::TraceCapture quiet;
    // A block at a low speed: 2,058 bytes, 4 every millisecond at most, take
    // longer than the three attempts' time-outs together.
    const std::string block = banc::test::BlockLine(0, 0x0100);
    ScriptedCard card([&block](const std::string&) { return block; }, {4, 1ms});
    CardLink link(card.Path(), {100ms, 3});
    ASSERT_TRUE(link.Open());
    const auto reply = link.Exchange('?', "TSF00");
    EXPECT_EQ(reply.status, CardLink::Status::Replied);
    EXPECT_EQ(reply.line, block);
    EXPECT_EQ(card.Lines(), std::vector<std::string>{"?TSF00"});  // asked once
}

TEST(CardLink, AHangUpEndsTheExchangeAtOnce)
{
    tarvic::test::TraceCapture quiet;
    ScriptedCard card([](const std::string&) { return std::nullopt; });
    CardLink link(card.Path(), kPatient);
    ASSERT_TRUE(link.Open());
    std::thread hangUp = OnFirstLine(card, [&] { card.HangUp(); });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Exchange('?', "AEBC").status, CardLink::Status::Lost);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);  // long before one time-out
    hangUp.join();
    EXPECT_EQ(link.Exchange('?', "AEBC").status, CardLink::Status::Lost);
}

TEST(CardLink, AbortGivesUpTheExchangeUnderWay)
{
    tarvic::test::TraceCapture quiet;
    ScriptedCard card([](const std::string&) { return std::nullopt; });
    CardLink link(card.Path(), kPatient);
    ASSERT_TRUE(link.Open());
    std::thread abort = OnFirstLine(card, [&] { link.Abort(); });
    EXPECT_EQ(link.Exchange('?', "AEBC").status, CardLink::Status::Aborted);
    abort.join();
    EXPECT_EQ(card.Lines().size(), 1u);
}

TEST(CardLink, ALinkClosedWhileLinesPourInStopsItsReaderFirst)
{
    tarvic::test::TraceCapture quiet;
    // One order answered by a flood of late lines: the link goes while they arrive.
    std::string flood = "!OK";
    // Small enough for the pty's buffer: the card never waits for a reader that went.
    for (int line = 0; line < 500; ++line) flood += "\r\n!AVS0000000000000000";
    ScriptedCard card([&flood](const std::string&) { return flood; });
    {
        CardLink link(card.Path(), kQuick);
        ASSERT_TRUE(link.Open());
        EXPECT_EQ(link.Exchange('!', "RD").line, "!OK");
    }
    // The sanitized build sees any line handed to a link already gone.
    EXPECT_EQ(card.Lines(), std::vector<std::string>{"!RD"});
}

// The port's reason is the errno its own open kept: the port is not opened a second time to learn it.
std::string WhyItDoesNotOpen(const std::string& port)
{
    CardLink link(port, kQuick);
    EXPECT_FALSE(link.Open());
    return banc::PortFailure(port, link.OpenError());
}

TEST(PortDiagnosis, SaysWhyThePortCannotBeOpenedInTheLibrarysWords)
{
    EXPECT_EQ(WhyItDoesNotOpen("/dev/ttyUSB-absent"), "Port /dev/ttyUSB-absent introuvable.");
    EXPECT_EQ(WhyItDoesNotOpen("COM0"),
              "Nom de port inconnu : COM0 (COM1 \xE0 COM96 ou un chemin comme /dev/ttyUSB0).");
    banc::test::TemporaryFolder folder;
    const std::string file = folder.File("port");
    std::ofstream(file) << "not a tty";
    EXPECT_EQ(WhyItDoesNotOpen(file), file + " n'est pas un port s\xE9rie.");
    // A folder: no "Is a directory" from the system.
    EXPECT_EQ(WhyItDoesNotOpen(folder.Path()), folder.Path() + " n'est pas un port s\xE9rie.");
    // Held by another program of ours.
    tarvic::test::PtyPeer peer;
    tarvic::SerialPort holder;
    ASSERT_TRUE(holder.Open(peer.SlavePath()));
    std::string program;
    std::getline(std::ifstream("/proc/self/comm"), program);
    EXPECT_EQ(WhyItDoesNotOpen(peer.SlavePath()), "Port " + peer.SlavePath() + " occup\xE9 par un autre programme (" +
                                                      program + ", pid " + std::to_string(::getpid()) + ").");
}

TEST(PortDiagnosis, TheReasonIsTheOneTheOpenGaveNotAFreshLook)
{
    banc::test::TemporaryFolder folder;
    const std::string port = folder.File("carte");
    CardLink link(port, kQuick);
    ASSERT_FALSE(link.Open());
    EXPECT_EQ(link.OpenError(), ENOENT);
    // Something else appears there afterwards: a second open would say it is no serial port.
    std::ofstream(port) << "not a tty";
    EXPECT_EQ(banc::PortFailure(port, link.OpenError()), "Port " + port + " introuvable.");
}
