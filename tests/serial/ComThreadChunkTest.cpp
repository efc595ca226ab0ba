#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/LineCollector.h"
#include "support/PtyPeer.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Event.h"

using tarvic::test::PtyPeer;
using tarvic::test::TraceCapture;
using tarvic::test::WaitUntil;

namespace {

using Lines = std::vector<std::string>;

// Holds the reading thread inside the delivery of "!HOLD" until released, so
// that a test can have a whole burst queued on the port before the thread
// reads again: what one read then takes is known byte for byte.
class HeldCollector : public tarvic::test::LineCollector {
public:
    using LineCollector::LineCollector;
    ~HeldCollector() override { Release(); }

    void TraiteRecept(std::string line) override
    {
        const bool hold = line == "!HOLD";
        LineCollector::TraiteRecept(std::move(line));
        if (hold) {
            m_held.SetEvent();
            m_release.Wait(CEvent::kInfinite);
        }
    }
    bool WaitHeld() { return m_held.Wait(10000); }
    void Release() { m_release.SetEvent(); }

private:
    CEvent m_held;
    CEvent m_release;
};

class ComThreadChunks : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_com = std::make_unique<HeldCollector>(m_peer.SlavePath());
        m_com->m_traite = true;
        ASSERT_TRUE(m_com->CreateThread());
        ASSERT_TRUE(m_com->LitOpenPort()->Wait(10000));
    }

    // Sends `burst` while the thread is held, so that it finds all of it
    // queued at its next read, then lets it go on.
    void SendWhileHeld(const std::string& burst)
    {
        m_peer.Send("!HOLD\r\n");
        ASSERT_TRUE(m_com->WaitHeld());
        m_peer.Send(burst);
        ASSERT_TRUE(WaitUntil([&] { return m_com->hcom.QueuedInput() == burst.size(); }));
        m_com->Release();
    }

    // The trace texts that came after the held line's chunk.
    Lines ChunksAfterHold() const
    {
        const Lines texts = m_trace.Texts();
        Lines after;
        bool seen = false;
        for (const auto& text : texts) {
            if (seen) after.push_back(text);
            seen = seen || text == "!HOLD\r\n";
        }
        return after;
    }

    PtyPeer m_peer;
    TraceCapture m_trace;
    std::unique_ptr<HeldCollector> m_com;
};

// A line of `size` bytes, "!" and CR LF included, whose bytes differ from one
// 300-byte cut to the next.
std::string NumberedLine(std::size_t size)
{
    std::string line = "!";
    for (std::size_t at = 1; line.size() < size - 2; ++at) line += static_cast<char>('A' + at % 26);
    return line + "\r\n";
}

}  // namespace

TEST_F(ComThreadChunks, ABurstIsTracedInTheCutsOfSuccessiveReadsOf300Bytes)
{
    const std::string burst = NumberedLine(1000);
    SendWhileHeld(burst);
    ASSERT_TRUE(m_com->WaitLines(2));
    EXPECT_EQ(ChunksAfterHold(),
              (Lines{burst.substr(0, 300), burst.substr(300, 300), burst.substr(600, 300), burst.substr(900, 100)}));
    // The line runs across the four cuts and arrives whole.
    EXPECT_EQ(m_com->Lines(), (Lines{"!HOLD", burst.substr(0, 998)}));
    EXPECT_EQ(m_com->LitOctetsRecus(), 7u + 1000u);
}

TEST_F(ComThreadChunks, ABurstOfExactlyTheChunkSizeIsOneChunk)
{
    const std::string burst = NumberedLine(300);
    SendWhileHeld(burst);
    ASSERT_TRUE(m_com->WaitLines(2));
    EXPECT_EQ(ChunksAfterHold(), Lines{burst});
}

TEST_F(ComThreadChunks, AFullStopLeftAloneByTheCutSignalsThePointEvent)
{
    // Successive reads of 300 would return the 300 bytes, then the full stop alone.
    const std::string head = "!" + std::string(299, 'P');
    SendWhileHeld(head + ".");
    ASSERT_TRUE(m_com->m_evPoint.Wait(10000));
    EXPECT_EQ(ChunksAfterHold(), (Lines{head, "."}));
    // The full stop also joins the line, which then ends.
    m_peer.Send("\r\n");
    ASSERT_TRUE(m_com->WaitLines(2));
    EXPECT_EQ(m_com->Lines(), (Lines{"!HOLD", head + "."}));
}

TEST_F(ComThreadChunks, AFullStopAtTheEndOfALongerCutIsNoPoint)
{
    const std::string burst = "!" + std::string(298, 'P') + ".\r\n";  // the cut ends "P." then "\r\n"
    SendWhileHeld(burst);
    ASSERT_TRUE(m_com->WaitLines(2));
    EXPECT_EQ(ChunksAfterHold(), (Lines{burst.substr(0, 300), "\r\n"}));
    EXPECT_FALSE(m_com->m_evPoint.IsSignalled());
}

TEST_F(ComThreadChunks, LinesEndingInsideACutAndAcrossItAreEachDeliveredOnce)
{
    // Replies of 13 bytes back to back: the cut at 300 falls inside the 24th.
    std::string burst;
    Lines expected{"!HOLD"};
    for (int reply = 0; reply < 40; ++reply) {
        const std::string line = "!LEL" + std::to_string(1000 + reply) + " 02";
        expected.push_back(line);
        burst += line + "\r\n";
    }
    ASSERT_EQ(burst.size(), 40u * 13u);
    SendWhileHeld(burst);
    ASSERT_TRUE(m_com->WaitLines(41));
    EXPECT_EQ(m_com->Lines(), expected);
    EXPECT_EQ(ChunksAfterHold(), (Lines{burst.substr(0, 300), burst.substr(300)}));
}

TEST_F(ComThreadChunks, ABadLineEndInsideABurstIsDroppedWithTheTraceAfterItsChunk)
{
    const std::string first = "!" + std::string(296, 'Q') + "\n";  // LF without CR
    const std::string burst = first + "!OK\r\n";
    SendWhileHeld(burst);
    ASSERT_TRUE(m_com->WaitLines(2));
    EXPECT_EQ(ChunksAfterHold(), (Lines{first + "!O", "manque d\n", "K\r\n"}));
    EXPECT_EQ(m_com->Lines(), (Lines{"!HOLD", "!OK"}));
}
