#include <gtest/gtest.h>

#include <cmath>

#include "BenchCardFixture.h"
#include "tarvic/control/BoFonction.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/control/Pid.h"
#include "tarvic/elements/DebitAir.h"

using namespace cardsim;
using cardsim::test::Fields;

namespace {

// The water level bench with an open proportional loop (no feedback), so that
// the card's setpoint can be read back at every sample.
class Playback : public cardsim::test::BenchCardTest {
protected:
    void SetUp() override
    {
        Open("niveaueau", 'N', 1);
        CPid pid;
        pid.SetCParam(2, 1);
        Download(pid);
        Send(pid, 6);
        m_gene = std::make_unique<CGeneFonction>("GENE");
    }
    void Start() { ASSERT_EQ(Order("RD"), "!OK"); }
    std::int32_t Setpoint() { return Fields(Query("AVS"), 4, {4})[0]; }
    // The setpoint of the next `count` samples.
    std::vector<std::int32_t> Samples(int count)
    {
        std::vector<std::int32_t> values;
        for (int i = 0; i < count; ++i) {
            Step();
            values.push_back(Setpoint());
        }
        return values;
    }

    std::unique_ptr<CGeneFonction> m_gene;  // made in the bench's profile
};

std::vector<std::int32_t> Points(const CGeneFonction& gene, int count)
{
    std::vector<std::int32_t> points;
    for (int i = 0; i < count; ++i) points.push_back(gene.TablePoints[std::min(i, gene.NbPoints - 1)]);
    return points;
}

}  // namespace

TEST_F(Playback, RampTablePlaysPointByPointAtItsPeriodThenHoldsItsEnd)
{
    m_gene->SetFParam(0, 50);  // to 50 %
    m_gene->SetFParam(1, 10);  // at 10 %/s
    m_gene->SetCParam(0, 1);   // 13 points of 500 ms
    ASSERT_EQ(m_gene->NbPoints, 13);
    Download(*m_gene);
    Start();
    // The 0.4 s delay ends before the first sample; then one point a period of 500 ms.
    EXPECT_EQ(Samples(16), Points(*m_gene, 16));
    EXPECT_EQ(Points(*m_gene, 3), (std::vector<std::int32_t>{0, 163, 326}));
}

TEST_F(Playback, SineTableRepeats)
{
    m_gene->SetFParam(0, 50);
    m_gene->SetFParam(5, 20);
    m_gene->SetFParam(2, 0.5f);  // 2 s: four points at the card's 500 ms
    m_gene->SetCParam(0, 2);
    ASSERT_EQ(m_gene->NbPoints, 4);
    Download(*m_gene);
    Start();
    const auto points = Points(*m_gene, 4);
    EXPECT_EQ(Samples(10), (std::vector<std::int32_t>{points[0], points[1], points[2], points[3], points[0], points[1],
                                                      points[2], points[3], points[0], points[1]}));
}

TEST_F(Playback, StepWaitsItsDelayAtTheRestValue)
{
    m_gene->SetFParam(0, 60);
    m_gene->SetFParam(4, 10);
    m_gene->SetFParam(3, 2);
    m_gene->SetCParam(0, 0);
    Download(*m_gene);  // DSS, CBF07A6, RED07D0, CRBF0146
    Start();
    EXPECT_EQ(Samples(6), (std::vector<std::int32_t>{326, 326, 326, 1958, 1958, 1958}));
}

TEST_F(Playback, PotentiometerAndExternalSetpoints)
{
    m_gene->SetFParam(0, 25);
    m_gene->SetFParam(3, 5);
    m_gene->SetCParam(0, 0);
    Download(*m_gene);
    m_gene->SetCParam(0, 3);
    Send(*m_gene, 0);  // DSA: the bench's potentiometer, at mid-travel
    Start();
    EXPECT_EQ(Samples(2), (std::vector<std::int32_t>{0, 0}));  // the delay first
    Run(5);
    EXPECT_EQ(Setpoint(), 1632);
    m_gene->SetCParam(0, 4);
    Send(*m_gene, 0);  // DSE: the step value, at once
    Step();
    EXPECT_EQ(Setpoint(), 816);
}

TEST_F(Playback, TableDownloadedWhileRunningStartsWithItsOwnStart)
{
    m_gene->SetFParam(0, 20);
    m_gene->SetCParam(0, 0);
    Download(*m_gene);
    Start();
    Run(30);
    EXPECT_EQ(Setpoint(), 652);
    m_gene->SetFParam(4, 20);
    m_gene->SetFParam(0, 40);
    m_gene->SetFParam(1, 10);
    m_gene->SetCParam(0, 1);
    Download(*m_gene);  // DSS first: the step from the rest value, until DST
    EXPECT_EQ(Samples(8), Points(*m_gene, 8));
}

using OpenLoopCard = cardsim::test::BenchCardTest;

TEST_F(OpenLoopCard, GeneratorDrivesTheFanThroughTheOpenLoopBlock)
{
    Open("debitair", 'D', 0);
    CBoFonction bo;
    bo.SetCParam(6, 1);  // the flow command
    Download(bo);
    Send(bo, 6);  // DCPDODI
    CGeneFonction gene("GENE1");
    gene.SetFParam(0, 50);
    gene.SetCParam(0, 0);
    Download(gene);  // DSS, CBO0660, RED0190, CRBO0000
    ASSERT_EQ(Order("RD"), "!OK");
    Run(0.35);
    EXPECT_EQ(Query("ACO"), "!ACO0000");
    Run(0.05);  // the delay ends at this sample
    EXPECT_EQ(Query("ACO"), "!ACO0660");
    ASSERT_FALSE(bo.TraitRecept(Query("ACO")));
    EXPECT_FLOAT_EQ(bo.LitSonde(0), 50);
    EXPECT_EQ(Query("ASBC"), "!ASBC9933");  // 4 mA + 50 % of 16 mA on the fan
    Run(1);                                 // the fan on for a second
    CDebitAir air;
    ASSERT_TRUE(air.TraitRecept(Query("AMD")));
    EXPECT_NEAR(air.LitSonde(5), 50 * (1 - std::exp(-1.0)), 0.5);  // the flow's 1 s lag
}

TEST_F(OpenLoopCard, OpenLoopWatchesTheInputOfItsSelector)
{
    Open("debitair", 'D', 0);
    ASSERT_EQ(Order("RTRE000"), "!OK");
    ASSERT_EQ(Order("DCPDODI"), "!OK");
    ASSERT_EQ(Order("CBO0CC0"), "!OK");  // 100 % of the fan
    ASSERT_EQ(Order("RD"), "!OK");
    Run(10);
    EXPECT_EQ(Fields(Query("AVS"), 4, {4, 4, 4, 4})[1], 0);  // nothing watched yet
    CDebitAir air;
    ASSERT_EQ(Order(air.ConfFerz(759)), "!OK");  // TB1: the flow sensor's input
    Step();
    const auto values = Fields(Query("AVS"), 4, {4, 4, 4, 4});
    EXPECT_NEAR(values[1], 3264, 2);  // the flow, watched
    EXPECT_EQ(values[2], values[0]);  // the error is still the setpoint
    EXPECT_EQ(values[3], 3264);
}
