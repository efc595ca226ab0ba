#include <gtest/gtest.h>

#include <cmath>

#include "BenchCardFixture.h"
#include "tarvic/control/CorZ.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/control/Pid.h"
#include "tarvic/control/Tor.h"
#include "tarvic/elements/NiveauEau1.h"

using namespace cardsim;
using cardsim::test::Fields;

namespace {

constexpr int kP = 2, kI = 3, kD = 4;  // the PID's action parameters

// The water level bench in mode 1 (PID), its pump under the loop, with a
// step of the setpoint from the generator "GENE".
class LevelLoop : public cardsim::test::BenchCardTest {
protected:
    void SetUp() override
    {
        Open("niveaueau", 'N', 1);
        m_niveau = std::make_unique<CNiveauEau>();
        m_gene = std::make_unique<CGeneFonction>("GENE");
        Download(*m_niveau);
    }

    // `feedback`: 0 none, 2 level 1 (the PID's choices of parameter 7).
    void Configure(CPid& pid, std::initializer_list<int> actions, char feedback)
    {
        for (const int action : actions) pid.SetCParam(action, 1);
        pid.SetCParam(6, 1);  // command to the pump
        pid.SetCParam(7, feedback);
        Download(pid);
        Send(pid, 6);  // the loop's wiring
    }
    void Setpoint(float percent)
    {
        m_gene->SetFParam(0, percent);
        m_gene->SetCParam(0, 0);
        Download(*m_gene);
    }
    void Start(CPid& pid)
    {
        pid.ModeRD = true;
        Send(pid, 101);
    }
    // The card's setpoint, measurement, error and command, in card counts.
    std::vector<std::int32_t> Values() { return Fields(Query("AVS"), 4, {4, 4, 4, 4}); }
    float Level()
    {
        EXPECT_TRUE(m_niveau->TraitRecept(Query("AEBC")));
        return m_niveau->LitSonde(6);
    }

    // Made in the bench's profile.
    std::unique_ptr<CNiveauEau> m_niveau;
    std::unique_ptr<CGeneFonction> m_gene;
};

}  // namespace

TEST_F(LevelLoop, UnitGainsGiveOnePercentOfCommandPerPercentOfError)
{
    struct Case {
        float kp, ks, setpoint;
        int command;  // card counts
    };
    // 10 % is 326 counts; K2 = 0.1 shows that the card takes K2 from the 32-bit normaliser.
    for (const Case& c : {Case{1, 1, 10, 326}, Case{1, 1, 1, 32}, Case{2, 1, 10, 652}, Case{1, 0.5f, 10, 163},
                          Case{1, 0.1f, 50, 163}, Case{4, 0.25f, 25, 816}}) {
        SetUp();
        CPid pid;
        pid.SetFParam(10, c.kp);
        pid.SetFParam(14, c.ks);
        Configure(pid, {kP}, 0);  // no feedback: the error is the setpoint
        Setpoint(c.setpoint);
        Start(pid);
        Run(1);
        const auto values = Values();
        EXPECT_EQ(values[2], values[0]) << c.kp << " " << c.ks;
        EXPECT_EQ(values[3], c.command) << c.kp << " " << c.ks;
        ASSERT_TRUE(pid.TraitRecept(Query("AVS")));
        EXPECT_NEAR(pid.LitSonde(6), c.kp * c.ks * pid.LitSonde(5), 0.02f);  // percent of command per percent of error
    }
}

TEST_F(LevelLoop, ProportionalLoopSettlesWhereThePlantsGainSays)
{
    CPid pid;
    pid.SetFParam(10, 2);
    Configure(pid, {kP}, 2);
    Setpoint(50);
    Start(pid);
    Run(1500);
    // Steady state: the command 2 (50 - h) % feeds the outflow, a u = b sqrt(h), so u = sqrt(50 h).
    double low = 0, high = 50;
    for (int i = 0; i < 60; ++i) {
        const double h = (low + high) / 2;
        (2 * (50 - h) > std::sqrt(50 * h) ? low : high) = h;
    }
    EXPECT_NEAR(Level(), low, 0.15);
    EXPECT_GT(50 - Level(), 15);  // a real steady-state error
}

TEST_F(LevelLoop, ProportionalIntegralLoopReachesItsSetpointWithoutSteadyStateError)
{
    CPid pid;
    pid.SetFParam(10, 2);
    pid.SetFParam(11, 20);
    Configure(pid, {kP, kI}, 2);
    Setpoint(50);
    Start(pid);
    Run(900);
    double worst = 0;
    for (int second = 0; second < 300; ++second) {
        Run(1);
        worst = std::max(worst, std::abs(Level() - 50.0));
    }
    EXPECT_LT(worst, 0.5);  // within 1 % of the setpoint
    ASSERT_TRUE(pid.TraitRecept(Query("AVS")));
    EXPECT_NEAR(pid.LitSonde(5), 0, 0.1);  // no error left
}

TEST_F(LevelLoop, IntegralStopsWindingUpAgainstTheCommandsLimit)
{
    CPid pid;
    pid.SetFParam(10, 0.5f);
    pid.SetFParam(11, 1);
    Configure(pid, {kP, kI}, 0);  // no feedback: the error stays at the setpoint
    Setpoint(100);
    Start(pid);
    Run(100);
    EXPECT_EQ(Values()[3], 3264);  // held at full command
    m_gene->SetFParam(0, 0);
    Send(*m_gene, 1);  // the step value alone, while the loop runs
    Step();
    // The integral stopped near where it met the limit: half the command, not a hundred seconds of error.
    const auto after = Values();
    EXPECT_EQ(after[2], 0);
    EXPECT_NEAR(after[3], 1632, 40);
    const auto terms = Fields(Query("APID"), 5, {4, 4, 4});
    EXPECT_EQ(terms[0], 0);
    EXPECT_EQ(terms[1], after[3]);
    pid.RZI = true;
    Send(pid, 8);  // RRZI1: the integral starts again from zero
    Step();
    EXPECT_EQ(Values()[3], 0);
}

TEST_F(LevelLoop, DerivativeFollowsTheFilterWhosePoleTheLibrarySends)
{
    CPid pid;
    pid.SetFParam(12, 5);  // Td
    pid.SetFParam(13, 1);  // alpha: pole exp(-0.1)
    Configure(pid, {kD}, 0);
    Setpoint(0);
    Start(pid);
    Run(1);
    m_gene->SetFParam(0, 10);
    Send(*m_gene, 1);
    const double d = Fields(pid.ConfFerz(4), 3, {4})[0] / 1024.0;     // RKD
    const double pole = Fields(pid.ConfFerz(5), 3, {4})[0] / 1024.0;  // RKF
    EXPECT_NEAR(pole, std::exp(-0.1), 1e-3);
    for (int k = 0; k < 8; ++k) {
        Step();
        EXPECT_NEAR(Fields(Query("APID"), 5, {4, 4, 4})[2], 326 * d * std::pow(pole, k), 0.51) << k;
    }
}

TEST_F(LevelLoop, IsolatedCommandDrivesNothingAndAStopGivesThePumpBack)
{
    m_niveau->SetFParam(1, 20);
    Send(*m_niveau, 1);  // independent pump command CIDD33
    CPid pid;
    pid.SetCParam(kP, 1);
    pid.SetCParam(7, 0);
    Download(pid);
    Send(pid, 6);  // DCPNFII: the command is not routed
    Setpoint(80);
    Start(pid);
    Run(2);
    EXPECT_EQ(Values()[3], 2611);
    EXPECT_EQ(Query("ASBC"), "!ASBC3300");
    pid.SetCParam(6, 1);
    Send(pid, 6);  // DCPNFPI: routed to the pump
    Step();
    EXPECT_EQ(Query("ASBC"), "!ASBCCC00");  // 80 % of the pump
    pid.ModeRD = false;
    Send(pid, 101);  // RS
    EXPECT_EQ(Query("ASBC"), "!ASBC3300");
    EXPECT_EQ(Values()[3], 0);
}

TEST_F(LevelLoop, ReverseActionTurnsTheErrorRound)
{
    CPid pid;
    pid.SetCParam(1, 1);  // RTRE181
    Configure(pid, {kP}, 0);
    Setpoint(10);
    Start(pid);
    Step();
    EXPECT_EQ(Values(), (std::vector<std::int32_t>{326, 0, -326, 0}));  // held at the low limit
}

TEST_F(LevelLoop, OnOffControllerSwitchesOnlyOutsideItsBand)
{
    CTor tor;
    DownloadOnOff(tor, -2, 2, 2);  // level 1
    Setpoint(50);
    tor.ModeRD = true;
    Send(tor, 101);
    bool on = false;
    int switches = 0;
    for (int sample = 0; sample < 2400; ++sample) {
        Step();
        ASSERT_TRUE(tor.TraitRecept(Query("AVS")));
        const float error = tor.LitSonde(2), command = tor.LitSonde(3);
        if ((command == 100) != on) {
            on = !on;
            ++switches;
            // Thresholds of +-2 % reach the card as +-65 counts of 3276; the read-back rounds to a count.
            EXPECT_GT(on ? error : -error, 64.5f * 100 / 3276) << sample;
        }
        if (sample > 600) {
            EXPECT_GT(Level(), 50 - 2 - 1.5) << sample;
            EXPECT_LT(Level(), 50 + 2 + 1.5) << sample;
        }
    }
    EXPECT_GT(switches, 10);
}

TEST_F(LevelLoop, ZCorrectorRunsItsDifferenceEquation)
{
    CCorZ corz;
    for (int n = 17; n <= 23; ++n) corz.SetFParam(n, 0);
    corz.SetFParam(17, 0.25f);  // C0
    corz.SetFParam(21, 1);      // B1: an integrator
    corz.SetCParam(6, 1);
    Download(corz);  // RTRE300, RER01F4, RZ...
    EXPECT_EQ(corz.ConfFerz(2), "RZ0400000000000100000000000000");
    Send(corz, 3);  // DCPNFPI: no feedback
    Setpoint(10);
    EXPECT_EQ(Order("RD"), "!OK");
    for (int k = 1; k <= 6; ++k) {
        Step();
        ASSERT_TRUE(corz.TraitRecept(Query("AVS")));
        EXPECT_NEAR(corz.LitSonde(3), k * 0.25 * 326 * 100 / 3264.0, 0.02) << k;
    }
}
