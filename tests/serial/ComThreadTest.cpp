#include <gtest/gtest.h>

#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "support/LineCollector.h"
#include "support/PtyPeer.h"
#include "support/TempFolder.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/serial/ComThread.h"

using tarvic::test::MessageBoxCapture;
using tarvic::test::PtyPeer;
using tarvic::test::TraceCapture;
using tarvic::test::WaitUntil;
using namespace std::chrono_literals;

namespace {

using RecordingComThread = tarvic::test::LineCollector;

class ComThreadOverPty : public ::testing::Test {
protected:
    void Start(bool deliver = true)
    {
        m_com = std::make_unique<RecordingComThread>(m_peer.SlavePath());
        m_com->m_traite = deliver;
        ASSERT_TRUE(m_com->CreateThread());
        ASSERT_TRUE(m_com->LitOpenPort()->Wait(10000));
    }

    PtyPeer m_peer;
    TraceCapture m_trace;
    std::unique_ptr<RecordingComThread> m_com;
};

using Lines = std::vector<std::string>;

// Wall and processor time the calling thread spends in `work`, in ms.
struct Cost {
    double wall = 0.0;
    double cpu = 0.0;
};

double ThreadCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

template <class Work>
Cost Measure(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMs();
    work();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            ThreadCpuMs() - cpuStart};
}

// A paced sender sleeps through its pace: a fifth of it on a processor would
// be a busy wait, however busy the machine.
bool Slept(const Cost& cost) { return cost.cpu < cost.wall / 5; }

// The reading loop traces its end after it has set m_stop, which is all the
// stop waits for, and only then lowers m_evPortOuvert.
bool LoopEnded(const CComThread& com, const TraceCapture& trace)
{
    return WaitUntil([&] { return trace.Count("fin process com\n") == 1 && !com.m_evPortOuvert.IsSignalled(); });
}

// The stop's trace without its checks: how many there are depends on how
// soon a busy machine runs the reading thread, not on the stop.
Lines WithoutStopChecks(Lines texts)
{
    std::erase(texts, "thread stop==false\n");
    return texts;
}

}  // namespace

TEST_F(ComThreadOverPty, OpensTheNamedPortAndDeliversCompleteLines)
{
    Start();
    EXPECT_EQ(m_com->m_portOuvert, 1);
    EXPECT_TRUE(m_com->hcom.IsOpen());
    m_peer.Send("xy!LEL\r\n!ABC-12+3\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 2; }));
    EXPECT_EQ(m_com->Lines(), (Lines{"!LEL", "!ABC123"}));
    // Every chunk read went to the trace as it came.
    EXPECT_NE(m_trace.Text().find("xy!LEL\r\n"), std::string::npos);
}

TEST_F(ComThreadOverPty, ALineSplitAcrossReadsIsJoined)
{
    Start();
    m_peer.Send("!AB");
    ASSERT_TRUE(WaitUntil([&] { return m_trace.Text() == "!AB"; }));  // read on its own
    m_peer.Send("X\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    EXPECT_EQ(m_com->Lines(), Lines{"!ABX"});
}

TEST_F(ComThreadOverPty, BytesAreCountedAsTheyArriveBeforeTheirLineIsComplete)
{
    Start();
    EXPECT_EQ(m_com->LitOctetsRecus(), 0u);
    m_peer.Send("!TSF00");
    ASSERT_TRUE(WaitUntil([&] { return m_com->LitOctetsRecus() == 6; }));
    EXPECT_EQ(m_com->Count(), 0);  // no line yet
    m_peer.Send("0102\r\nxy");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return m_com->LitOctetsRecus() == 14; }));
    EXPECT_EQ(m_com->Lines(), Lines{"!TSF000102"});
}

TEST_F(ComThreadOverPty, BadLineEndsAreDroppedWithTheTrace)
{
    Start();
    m_peer.Send("!ABC\n!ABC\r \n!OK\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    EXPECT_EQ(m_com->Lines(), Lines{"!OK"});
    EXPECT_EQ(m_trace.Count("manque d\n"), 2);
}

TEST_F(ComThreadOverPty, LinesAreDroppedWhileDeliveryIsOff)
{
    Start(false);
    m_peer.Send("!A\r\n!B\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_trace.Count("manque d\n") == 2; }));
    EXPECT_TRUE(m_com->Lines().empty());
    m_com->m_traite = true;
    m_peer.Send("!C\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    EXPECT_EQ(m_com->Lines(), Lines{"!C"});
}

TEST_F(ComThreadOverPty, ALoneFullStopSignalsThePointEventAndJoinsTheLine)
{
    Start();
    EXPECT_FALSE(m_com->m_evPoint.IsSignalled());
    m_peer.Send("!A");
    // The full stop must come in a read of its own: wait until "!A" was read.
    ASSERT_TRUE(WaitUntil([&] { return m_trace.Text().find("!A") != std::string::npos; }));
    m_peer.Send(".");
    ASSERT_TRUE(m_com->m_evPoint.Wait(10000));
    m_peer.Send("\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    EXPECT_EQ(m_com->Lines(), Lines{"!A."});
}

TEST_F(ComThreadOverPty, AFullStopInsideALongerReadIsNoPoint)
{
    Start();
    m_peer.Send("!1.5\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    EXPECT_FALSE(m_com->m_evPoint.IsSignalled());
}

TEST_F(ComThreadOverPty, AnEndlessLineIsDroppedAndTheNextOneArrives)
{
    Start();
    m_peer.Send("!" + std::string(70000, 'Z'));
    m_peer.Send("\r\n!OK\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }, 10000ms));
    EXPECT_EQ(m_com->Lines(), Lines{"!OK"});
    EXPECT_EQ(m_trace.Count("manque d\n"), 1);
}

TEST_F(ComThreadOverPty, WriteCommBlockTransmitsTheBytesUnchanged)
{
    Start();
    const std::string line = "!ESR 8040\r\n";
    EXPECT_EQ(m_com->WriteCommBlock(line.data(), static_cast<int>(line.size())), 1);
    EXPECT_TRUE(m_com->m_ovEcriture.hEvent.IsSignalled());
    EXPECT_EQ(m_peer.ReceiveUntil("\n"), line);
}

TEST_F(ComThreadOverPty, PacedSendersTransmitTheBytesUnchangedAndSleepThroughTheirPace)
{
    Start();
    // 30 ticks a character; a tick is a whole millisecond, so a little less than 30 ms may pass.
    const Cost paced = Measure([&] { m_com->EnvoiCommande("!X\r\n"); });
    EXPECT_EQ(m_peer.ReceiveUntil("\n"), "!X\r\n");
    EXPECT_GE(paced.wall, 4 * 29.0);
    EXPECT_TRUE(Slept(paced)) << paced.cpu << " ms of " << paced.wall;
    // One tick after every character.
    const std::string line = "?" + std::string(97, 'A') + "\r\n";
    const Cost ticked = Measure([&] { m_com->EnvoiCommand(line); });
    EXPECT_EQ(m_peer.ReceiveUntil("\n"), line);
    EXPECT_TRUE(Slept(ticked)) << ticked.cpu << " ms of " << ticked.wall;
}

TEST_F(ComThreadOverPty, ARefusedCharacterIsAskedForAgainAtTheNextTick)
{
    Start();
    // Nobody reads the card's end: the line fills up and refuses characters.
    std::size_t filled = 0;
    while (m_com->hcom.TransmitChar('f')) ++filled;
    Cost refused;
    std::thread sender([&] { refused = Measure([&] { m_com->EnvoiCommand("Z"); }); });
    std::this_thread::sleep_for(50ms);  // the time the line stays full
    const std::string received = m_peer.ReceiveUntil("Z");
    sender.join();
    EXPECT_EQ(received.size(), filled + 1);
    EXPECT_EQ(received.back(), 'Z');
    EXPECT_TRUE(Slept(refused)) << refused.cpu << " ms of " << refused.wall;
}

TEST_F(ComThreadOverPty, StopWhileTheCardIsSilentIsPromptAndTraced)
{
    Start();
    m_trace.Texts();  // the open is done
    TraceCapture stop;
    // Released by the cleared mask, the loop ends: the stop returns.
    EXPECT_EQ(m_com->ExitInstance(), 0);
    EXPECT_TRUE(m_com->m_stop);
    ASSERT_TRUE(LoopEnded(*m_com, stop));
    EXPECT_EQ(WithoutStopChecks(stop.Texts()),
              (Lines{"ExitInstance process com\n", "hcom!=NULL\n", "fin process com\n"}));
    // The port stays open until the object goes.
    EXPECT_TRUE(m_com->hcom.IsOpen());
}

TEST_F(ComThreadOverPty, AHangUpClosesThePortWithoutSpinningAndStopStillReturns)
{
    Start();
    m_peer.Send("!OK\r\n");
    ASSERT_TRUE(WaitUntil([&] { return m_com->Count() == 1; }));
    m_peer.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !m_com->hcom.IsOpen(); }));
    EXPECT_FALSE(m_com->m_evPortOuvert.IsSignalled());
    TraceCapture stop;
    m_com->ExitInstance();
    EXPECT_TRUE(m_com->m_stop);
    ASSERT_TRUE(LoopEnded(*m_com, stop));
    EXPECT_EQ(WithoutStopChecks(stop.Texts()), (Lines{"ExitInstance process com\n", "fin process com\n"}));
}

TEST(ComThread, RefusedLineSettingsShowTheMessageAndLeaveNoPort)
{
    MessageBoxCapture boxes;
    TraceCapture trace;
    RecordingComThread com("/dev/null");
    ASSERT_TRUE(com.CreateThread());
    ASSERT_TRUE(com.LitOpenPort()->Wait(10000));  // Run signals it even without a port
    ASSERT_TRUE(WaitUntil([&] { return boxes.Boxes().size() == 1; }));
    const auto box = boxes.Boxes().front();
    EXPECT_EQ(box.text, "Impossible de configurer le port");
    EXPECT_EQ(box.caption, "/dev/null");
    EXPECT_EQ(box.icon, tarvic::MessageIcon::Stop);
    EXPECT_FALSE(com.hcom.IsOpen());
    EXPECT_EQ(com.m_portOuvert, 0);
    // Stopping still waits for the loop, which idles without a port.
    com.ExitInstance();
    EXPECT_TRUE(com.m_stop);
    EXPECT_TRUE(LoopEnded(com, trace));
    EXPECT_EQ(trace.Count("hcom!=NULL\n"), 0);
}

TEST(ComThread, APortThatCannotBeOpenedLeavesTheThreadIdleAndStoppable)
{
    MessageBoxCapture boxes;
    RecordingComThread com("/dev/nonexistent-tarvic-port");
    EXPECT_FALSE(com.InitPort());
    ASSERT_TRUE(com.CreateThread());
    ASSERT_TRUE(com.LitOpenPort()->Wait(10000));
    com.EnvoiCommand("?VER\r\n");  // returns at once: nothing can take it
    EXPECT_EQ(com.WriteCommBlock("!A\r\n", 4), 0);
    EXPECT_EQ(com.LitErreurPort(), ENOENT);
    com.ExitInstance();
    EXPECT_TRUE(com.m_stop);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ComThread, DefaultPortComesFromTheProfile)
{
    auto profile = std::make_shared<tarvic::MemoryProfile>();
    tarvic::SetProfile(profile);
    EXPECT_EQ(CComThread().LitPort(), "COM1");
    profile->WriteProfileString("CONFIGURATION", "PORT", "COM3");
    CComThread com;
    EXPECT_EQ(com.LitPort(), "COM3");
    com.SetPort("/dev/pts/9");
    EXPECT_EQ(com.LitPort(), "/dev/pts/9");
    tarvic::SetProfile(nullptr);
}

TEST(ComThread, FreshObjectState)
{
    CComThread com("COM2");
    EXPECT_FALSE(com.m_stop);
    EXPECT_TRUE(com.m_run);
    EXPECT_EQ(com.m_portOuvert, 0);
    EXPECT_FALSE(com.m_traite);
    EXPECT_FALSE(com.m_prompt);
    EXPECT_FALSE(com.hcom.IsOpen());
    EXPECT_FALSE(com.m_evPortOuvert.IsSignalled());
    EXPECT_FALSE(com.m_evPoint.IsSignalled());
    // Never started: stopping does not wait for a loop that does not exist.
    EXPECT_EQ(com.ExitInstance(), 0);
}

TEST(ComThread, ArchivesNothingButItsClass)
{
    CComThread com("COM2");
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        ar.WriteObject(&com);
    }
    EXPECT_EQ(stream.str(), std::string("\xFF\xFF\x00\x00\x0A\x00" "CComThread", 16));
    tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
    CArchive load(stream, CArchive::load);
    std::unique_ptr<CObject> loaded(load.ReadObject(RUNTIME_CLASS(CComThread)));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(static_cast<CComThread*>(loaded.get())->LitPort(), "COM1");
    tarvic::SetProfile(nullptr);
}

namespace {

// A port name that is a link, so that a test can point it at another pty, or
// at nothing, as a device that goes and comes back.
class MovingPort {
public:
    const std::string& Name() const { return m_link; }
    void PointAt(const std::string& device)
    {
        ::unlink(m_link.c_str());
        ASSERT_EQ(::symlink(device.c_str(), m_link.c_str()), 0);
    }

private:
    tarvic::test::TempFolder m_folder{"comthread"};
    std::string m_link = m_folder / "port";
};

}  // namespace

TEST(ComThreadReopening, ALostPortStaysClosedUntilTheOwnerAsksForReopening)
{
    MovingPort port;
    PtyPeer first, second;
    port.PointAt(first.SlavePath());
    RecordingComThread com(port.Name());
    com.m_traite = true;
    ASSERT_TRUE(com.CreateThread());
    ASSERT_TRUE(WaitUntil([&] { return com.hcom.IsOpen(); }));
    EXPECT_EQ(com.LitErreurPort(), 0);
    EXPECT_FALSE(com.LitPortPerdu()->IsSignalled());
    first.HangUp();
    ASSERT_TRUE(com.LitPortPerdu()->Wait(10000));
    port.PointAt(second.SlavePath());
    // Today's behaviour: the loop idles with the port closed, nothing retried.
    EXPECT_FALSE(com.hcom.IsOpen());
    EXPECT_EQ(com.LitErreurPort(), EIO);
    com.SetReouverture(true, 10);
    ASSERT_TRUE(WaitUntil([&] { return com.hcom.IsOpen(); }));
    second.Send("!B\r\n");
    ASSERT_TRUE(com.WaitLines(1));
    EXPECT_EQ(com.Lines(), Lines{"!B"});
}

TEST(ComThreadReopening, OpensAMissingPortOnceItAppearsAndAgainAfterEachLoss)
{
    MovingPort port;
    RecordingComThread com(port.Name());
    com.m_traite = true;
    com.SetReouverture(true, 10);
    ASSERT_TRUE(com.CreateThread());
    ASSERT_TRUE(WaitUntil([&] { return com.LitErreurPort() == ENOENT; }));
    {
        PtyPeer first;
        port.PointAt(first.SlavePath());
        ASSERT_TRUE(com.LitOpenPort()->Wait(10000));
        ASSERT_TRUE(WaitUntil([&] { return com.hcom.IsOpen(); }));
        first.Send("!A\r\n");
        ASSERT_TRUE(com.WaitLines(1));
        first.HangUp();
        ASSERT_TRUE(com.LitPortPerdu()->Wait(10000));
        com.LitPortPerdu()->ResetEvent();
        // The pty is gone with its card: the link leads nowhere.
        ASSERT_TRUE(WaitUntil([&] { return com.LitErreurPort() == ENOENT; }));
    }
    PtyPeer second;
    port.PointAt(second.SlavePath());
    ASSERT_TRUE(WaitUntil([&] { return com.hcom.IsOpen(); }));
    second.Send("!B\r\n");
    ASSERT_TRUE(com.WaitLines(2));
    EXPECT_EQ(com.Lines(), (Lines{"!A", "!B"}));
    EXPECT_FALSE(com.LitPortPerdu()->IsSignalled());

    // Stopping while the next attempt is awaited is as prompt as ever.
    second.HangUp();
    ASSERT_TRUE(com.LitPortPerdu()->Wait(10000));
    TraceCapture stop;
    com.ExitInstance();
    EXPECT_TRUE(com.m_stop);
    EXPECT_EQ(stop.Count("thread stop==false\n"), 0);
    EXPECT_EQ(stop.Count("fin process com\n"), 1);
}

TEST(ComThreadReopening, ARefusedConfigurationIsToldOnceNotAtEachAttempt)
{
    MessageBoxCapture boxes;
    RecordingComThread com("/dev/null");
    for (int attempt = 0; attempt < 3; ++attempt) EXPECT_FALSE(com.InitPort());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(com.LitErreurPort(), ENOTTY);
    // Another trouble in between: the refusal is news again.
    com.SetPort("/nonexistent/tty");
    EXPECT_FALSE(com.InitPort());
    EXPECT_EQ(com.LitErreurPort(), ENOENT);
    com.SetPort("/dev/null");
    EXPECT_FALSE(com.InitPort());
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}
