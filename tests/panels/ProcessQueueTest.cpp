// The command queue and the matching of replies, driven over a pty.
#include <atomic>

#include "PanelFixture.h"
#include "varnok/VarnokVariant.h"

namespace {

using ProcessQueue = PanelFixture;

TEST_F(ProcessQueue, KeepsOneUnsentCopyOfEachLine)
{
    CProcess process(VarnokVariant());
    process.Demande("VER");
    process.Demande("LEL");
    process.Demande("VER");
    process.AjouteMessage("?LEL\r\n");
    process.Ordre("");
    process.Demande("");
    const auto queue = process.LitFile();
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].m_texte, "?VER\r\n");
    EXPECT_EQ(queue[1].m_texte, "?LEL\r\n");
}

TEST_F(ProcessQueue, TellsQueriesFromOrdersByPrefixAndLength)
{
    EXPECT_TRUE(CMessage("?LEL\r\n").IsQuery());
    EXPECT_FALSE(CMessage("?LE\r\n").IsQuery());
    EXPECT_FALSE(CMessage("!EMD 1\r\n").IsQuery());
}

TEST_F(ProcessQueue, WritesTheNextLineOnlyWhenTheHeadIsAnswered)
{
    Open(VarnokVariant());
    Process().Demande("VER");
    Process().Demande("LEL");
    EXPECT_EQ(NextLine(), "?VER\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?VER\r\n|sent", "?LEL\r\n|waiting"}));
    Reply("!VER 2.1\r\n");
    EXPECT_EQ(NextLine(), "?LEL\r\n");
    EXPECT_EQ(Process().LitVersion(), " 2.1");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?LEL\r\n|sent", "!EMD 1\r\n|waiting"}));
}

TEST_F(ProcessQueue, ReadsVarnokInputsAndStateAtTheirPositions)
{
    Open(VarnokVariant());
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL1234 02\r\n");
    EXPECT_EQ(Process().LitEntree(0), 0x12);
    EXPECT_EQ(Process().LitEntree(1), 0x34);
    EXPECT_EQ(Process().LitEtat(), 2);
}

TEST_F(ProcessQueue, MalformedOrShortFieldsLeaveTheirValues)
{
    Open(VarnokVariant());
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL1234 02\r\n");
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    // Not hexadecimal, then hexadecimal, then one digit short of the line's end.
    Reply("!LELZZ56 0\r\n");
    EXPECT_EQ(Process().LitEntree(0), 0x12);
    EXPECT_EQ(Process().LitEntree(1), 0x56);
    EXPECT_EQ(Process().LitEtat(), 2);
}

TEST_F(ProcessQueue, OkWhileAQueryIsPendingCompletesNothing)
{
    Open(VarnokVariant());
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!OK\r\n");
    Reply("!Erreur\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?LEL\r\n|sent"}));
}

TEST_F(ProcessQueue, ErreurCompletesAnOrderLikeOk)
{
    Open(VarnokVariant());
    Process().Ordre("ESR 0100");
    Process().Ordre("ESR 0200");
    Process().Ordre("ESR 0300");
    EXPECT_EQ(NextLine(), "!ESR 0100\r\n");
    Reply("!Erreur\r\n");
    EXPECT_EQ(NextLine(), "!ESR 0200\r\n");
    Reply("!OK\r\n");
    EXPECT_EQ(NextLine(), "!ESR 0300\r\n");
}

TEST_F(ProcessQueue, ReplyToAnUnacceptedMnemonicLeavesTheQueryPending)
{
    Open(VarnokVariant());
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!XYZ 12\r\n");
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?LEL\r\n|sent"}));
}

TEST_F(ProcessQueue, IgnoresLinesThatDoNotBeginWithAnExclamationMark)
{
    Open(VarnokVariant());
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("LEL1234 02\r\n");
    Reply("?LEL1234 02\r\n");
    EXPECT_EQ(Process().LitEntree(0), 0);
    EXPECT_EQ(Queue(), (std::vector<std::string>{"?LEL\r\n|sent"}));
}

TEST_F(ProcessQueue, IgnoresAReplyWhenNothingIsInFlight)
{
    Open(VarnokVariant());
    Reply("!OK\r\n");
    Reply("!VER 9\r\n");
    EXPECT_EQ(Process().LitVersion(), "");
    Process().Demande("VER");
    EXPECT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER 3\r\n");
    EXPECT_EQ(Process().LitVersion(), " 3");
}

TEST_F(ProcessQueue, AStrayReplyDoesNotRetireALineNotYetWritten)
{
    // Without the sending thread nothing is written: the head stays unsent.
    CProcess process(VarnokVariant());
    process.Ordre("ESR 0100");
    process.TraiteRecept("!OK");
    EXPECT_EQ(process.LitFile().size(), 1u);
}

TEST_F(ProcessQueue, IgnoresRepliesAfterTheClosingOrder)
{
    Open(VarnokVariant());
    Process().Demande("LEL");
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Process().ExitInstance();
    EXPECT_EQ(NextLine(), "!EMD 0\r\n");
    Process().TraiteRecept("!LEL1234 02");
    EXPECT_EQ(Process().LitEntree(0), 0);
}

// The sending thread is held at its steps to force, every time, the one
// interleaving that used to stop a panel for good: a reply empties the queue
// while m_evFile is still set from an earlier line, and a line is queued
// between the send that m_evFile led to and the reset of m_evFile.
class QueueRace : public PanelFixture {
protected:
    QueueRace() { s_test = this; }
    ~QueueRace() override { s_test = nullptr; }

    static void Step(CProcess& process, EnvoiStep step)
    {
        QueueRace& test = *s_test;
        if (step == EnvoiStep::HeadRetired && s_stage == 1) {
            // The first order is answered and gone: the next one is queued
            // before the thread sends the next, so m_evFile is set for it.
            s_stage = 2;
            process.Ordre("ESR 02");
        } else if (step == EnvoiStep::SentOnReply && s_stage == 2) {
            // That order is written: answered at once, before m_evFile is looked at.
            s_stage = 3;
            const long handled = test.Stats().recues;
            test.m_card.Send("!OK\r\n");
            EXPECT_TRUE(tarvic::test::WaitUntil([&] { return test.Stats().recues > handled; }));
        } else if (step == EnvoiStep::SentOnFile && s_stage == 3) {
            // Woken by the stale m_evFile with nothing to send: a line comes now.
            s_stage = 4;
            EXPECT_TRUE(process.LitFile().empty());
            process.Ordre("ESR 03");
        }
    }

    static inline QueueRace* s_test = nullptr;
    static inline std::atomic<int> s_stage{0};
};

TEST_F(QueueRace, ALineQueuedWhileTheThreadLooksAtAStaleQueueEventIsSent)
{
    s_stage = 0;
    SetEnvoiStep(&QueueRace::Step);
    Open(VarnokVariant());
    Process().Ordre("ESR 01");
    ASSERT_EQ(NextLine(), "!ESR 01\r\n");
    s_stage = 1;
    m_card.Send("!OK\r\n");
    EXPECT_EQ(NextLine(), "!ESR 02\r\n");
    EXPECT_EQ(NextLine(), "!ESR 03\r\n");
    EXPECT_EQ(s_stage, 4);
    EXPECT_EQ(Queue(), (std::vector<std::string>{"!ESR 03\r\n|sent"}));
}

TEST_F(ProcessQueue, TracesEveryDeliveredLine)
{
    Open(VarnokVariant());
    Reply("!A\r\n!B\r\n");
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return m_traces.Count("traiteRecept\n") == 2; }));
}

}  // namespace
