#include <gtest/gtest.h>

#include <cmath>

#include "BenchCardFixture.h"
#include "support/TraceCapture.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/control/Pid.h"
#include "tarvic/elements/NiveauEau1.h"
#include "tarvic/recording/Enregistrement.h"

using namespace cardsim;

namespace {

// A proportional-integral step on the water level bench, recorded.
class CardRecording : public cardsim::test::BenchCardTest {
protected:
    void Prepare(int blocks, char mode)
    {
        Open("niveaueau", 'N', 1);
        Profile().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", blocks);
        Profile().WriteProfileInt("ENREGISTREMENT", "MODE", mode);
        CNiveauEau niveau;
        Download(niveau);
        CPid pid;
        pid.SetFParam(10, 3);
        pid.SetFParam(11, 15);
        pid.SetCParam(2, 1);
        pid.SetCParam(3, 1);
        pid.SetCParam(6, 1);
        pid.SetCParam(7, 2);  // level 1
        Download(pid);
        Send(pid, 6);
        CGeneFonction gene("GENE");
        gene.SetFParam(0, 40);
        gene.SetCParam(0, 0);
        Download(gene);
        m_recording = std::make_unique<CEnregistrement>();
        Download(*m_recording);
        ASSERT_EQ(Order("EVE" + m_recording->ConfFerz(1007)), "!OK");
    }
    // The controlling application's polling, one exchange per sample, with the
    // card's values of every sample kept aside.
    void Acquire(int samplesAtMost)
    {
        m_recording->SetStart(true);
        ASSERT_EQ(Order("RD"), "!OK");
        for (int sample = 0; sample < samplesAtMost && m_recording->LitStart(); ++sample) {
            Step();
            m_samples.push_back(Card().GetLoop().Signals());
            m_levels.push_back(cardsim::test::InputPercent(Card().GetBench().Record(m_samples.back())[4]));
            const std::string request =
                m_recording->LitParam(1) == 1 ? m_recording->LitBloc() : m_recording->DmdMesure(0);
            if (!request.empty()) m_recording->TraitRecept(Query(request));
        }
    }

    std::unique_ptr<CEnregistrement> m_recording;
    std::vector<LoopSignals> m_samples;
    std::vector<double> m_levels;
};

float Percent(double counts) { return static_cast<float>(std::round(counts)) * 100 / 3264; }

}  // namespace

TEST_F(CardRecording, TwoBlocksDecodeIntoTheDocumentedCurves)
{
    tarvic::test::TraceCapture traces;
    Prepare(2, 'O');
    Acquire(200);
    ASSERT_FALSE(m_recording->LitStart());
    ASSERT_EQ(m_recording->LitNbPoint(), 64);
    EXPECT_EQ(traces.Count("str_len=2056\n"), 2);
    for (int i = 0; i < 64; ++i) {
        const LoopSignals& s = m_samples[static_cast<std::size_t>(i)];
        EXPECT_FLOAT_EQ(m_recording->LitPoint('2', i), Percent(s.setpoint)) << i;
        EXPECT_FLOAT_EQ(m_recording->LitPoint('7', i), Percent(s.command)) << i;
        EXPECT_FLOAT_EQ(m_recording->LitPoint('M', i), Percent(s.measurement)) << i;
        EXPECT_FLOAT_EQ(m_recording->LitPoint('8', i), Percent(s.error)) << i;
        EXPECT_FLOAT_EQ(m_recording->LitPoint('>', i), Percent(s.proportional)) << i;
        EXPECT_FLOAT_EQ(m_recording->LitPoint('3', i), Percent(s.integral)) << i;
        EXPECT_NEAR(m_recording->LitPoint('=', i), s.measurement * 100 / 3264, 0.02) << i;  // the measurement in %
        EXPECT_NEAR(m_recording->LitPoint('A', i), m_levels[static_cast<std::size_t>(i)], 1e-3) << i;  // level 1
        EXPECT_EQ(m_recording->LitPoint('c', i), static_cast<float>(i)) << i;  // the sample count
    }
    EXPECT_FLOAT_EQ(m_recording->LitPoint('2', 63), Percent(1305));                // 40 % of 3264, truncated by the PC
    EXPECT_GT(m_recording->LitPoint('M', 63), m_recording->LitPoint('M', 0) + 5);  // the level rises
    EXPECT_NEAR(m_recording->LitPoint('7', 0), 100, 0.01);                         // full pump at the start
}

TEST_F(CardRecording, EndlessRecordingOfOneBlockRunsOnWithoutAGap)
{
    Prepare(1, 'E');
    Acquire(3 * 32 + 2);
    ASSERT_EQ(m_recording->LitParam(4), 3);  // three cycles over the one block
    ASSERT_EQ(m_recording->LitNbPoint(), 96);
    for (int i = 0; i < 96; ++i) EXPECT_EQ(m_recording->LitPoint('c', i), static_cast<float>(i)) << i;
}

TEST_F(CardRecording, BlockStatusFetchResendAndRetire)
{
    Prepare(2, 'O');
    EXPECT_EQ(Order("RD"), "!OK");
    EXPECT_EQ(Query("TEM00"), "!TEM00N");
    EXPECT_EQ(Query("TSF00"), "!Erreur");  // nothing recorded yet
    for (int i = 0; i < 31; ++i) Step();
    EXPECT_EQ(Query("TEM00"), "!TEM00N");
    Step();
    EXPECT_EQ(Query("TEM00"), "!TEM00O");
    const std::string block = Query("TSF00");
    ASSERT_EQ(block.size(), 2056u);  // as the recording counts it, with the leading '!'
    EXPECT_EQ(block.substr(0, 6), "!TSF00");
    unsigned sum = 0;
    for (std::size_t i = 6; i < 6 + 2048; i += 2) sum += std::stoul(block.substr(i, 2), nullptr, 16);
    EXPECT_EQ(std::stoul(block.substr(2054), nullptr, 16), sum & 0xFF);  // the check digits
    EXPECT_EQ(Query("TSF00"), block);                                    // asked again: the same block
    EXPECT_EQ(Query("TEM01"), "!TEM01N");                                // retired: the next block is not there yet
    for (int i = 0; i < 32; ++i) Step();
    const std::string next = Query("TSF01");
    EXPECT_EQ(next.substr(0, 6), "!TSF01");
    EXPECT_NE(next.substr(6), block.substr(6));
}

TEST_F(CardRecording, ArmedByEveRunsFromTheStartToTheStop)
{
    Prepare(2, 'O');
    for (int i = 0; i < 40; ++i) Step();
    EXPECT_EQ(Query("TEM00"), "!TEM00N");  // armed, but the loop has not started
    EXPECT_EQ(Order("RD"), "!OK");
    for (int i = 0; i < 70; ++i) Step();
    EXPECT_EQ(Card().GetRecorder().WaitingBlocks(), 2u);
    EXPECT_EQ(Order("RS"), "!OK");
    for (int i = 0; i < 64; ++i) Step();
    EXPECT_EQ(Card().GetRecorder().WaitingBlocks(), 2u);  // stopped, nothing lost
    EXPECT_EQ(Order("RD"), "!OK");                        // a start without EVE does not record again
    for (int i = 0; i < 64; ++i) Step();
    EXPECT_EQ(Card().GetRecorder().WaitingBlocks(), 2u);
    EXPECT_EQ(Order("EVE"), "!OK");  // armed while running: at once
    for (int i = 0; i < 32; ++i) Step();
    EXPECT_EQ(Card().GetRecorder().WaitingBlocks(), 1u);
    EXPECT_EQ(Order("EMO"), "!OK");  // a new configuration forgets the blocks
    EXPECT_EQ(Card().GetRecorder().WaitingBlocks(), 0u);
}

TEST_F(CardRecording, WaitingTimeSpacesThePointsAndTheQueueIsBounded)
{
    Prepare(2, 'O');
    EXPECT_EQ(Order("EVE05DC"), "!OK");  // 1500 ms: one point every three samples
    EXPECT_EQ(Order("RD"), "!OK");
    for (int i = 0; i < 3 * 31; ++i) Step();  // points at samples 1, 4, ... 94
    EXPECT_EQ(Query("TEM00"), "!TEM00N");
    Step();
    EXPECT_EQ(Query("TEM00"), "!TEM00O");
    EXPECT_EQ(Order("EVE0001"), "!OK");  // shorter than a sample: one point a sample
    Run(600 * 32 * 0.5);                 // far more blocks than the card keeps
    EXPECT_EQ(Card().GetRecorder().WaitingBlocks(), Recorder::kCapacity);
}
