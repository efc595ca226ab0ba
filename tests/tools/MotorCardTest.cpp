#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "BenchCardFixture.h"
#include "plants/AxisBench.h"
#include "plants/ElectricalLoadBench.h"
#include "plants/ProgrammableLoadBench.h"
#include "runtime/HexFields.h"
#include "tarvic/control/CorZ.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/control/Pid.h"
#include "tarvic/control/Tor.h"
#include "tarvic/elements/AxeNum.h"
#include "tarvic/elements/IaPV.h"
#include "tarvic/elements/Synum.h"
#include "tarvic/platform/Text.h"

using namespace cardsim;
using cardsim::test::Fields;
using C = MotorConstants;

namespace {

constexpr double kWindow = 5 * 0.9765e-3;  // the default speed window, 5 ticks

// Edges counted over the last window by an encoder of `lines` at shaft angle `angle(t)`.
template <class Angle>
double WindowCounts(Angle angle, double t, int lines)
{
    return (angle(t) - angle(t - kWindow)) * 4 * lines / (2 * std::numbers::pi);
}

class MotorCard : public cardsim::test::BenchCardTest {
protected:
    // The card's open loop at a fixed command (card units) from the next sample on.
    void OpenLoop(int command)
    {
        ASSERT_EQ(Order("RTRE000"), "!OK");
        ASSERT_EQ(Order(tarvic::Format("DCP%cOFI", Card().GetBench().Letter())), "!OK");
        ASSERT_EQ(Order(tarvic::Format("CBO%4.4X", command & 0xFFFF)), "!OK");
        ASSERT_EQ(Order("RD"), "!OK");
        Step();  // the first sample sets the command
    }
    std::int32_t Speed()
    {
        return Fields(Query("ASP"), 4 + 4 * (Card().GetBench().Letter() == 'X' ? 3 : 4) + 8, {4})[0];
    }
    const MotorBench& Motor() { return dynamic_cast<const MotorBench&>(Card().GetBench()); }
};

}  // namespace

TEST_F(MotorCard, VoltageStepFollowsTheMotorsEquation)
{
    Open("synum", 'S', 1);
    ASSERT_EQ(Order("CTC+00"), "!OK");  // no electrical load
    ASSERT_EQ(Order("DTCMT"), "!OK");
    OpenLoop(512);  // 12 V
    // J dw/dt = Kt (u - Ke w) / R - B w - Tf: first order once the shaft turns.
    const Mechanics& m = ElectricalLoadBench::kTraits.mechanics;
    const double damping = C::kTorque * C::kTorque / C::kResistance + m.viscous;
    const double tau = m.inertia / damping;
    const double final = (C::kTorque * 12 / C::kResistance - m.dryFriction) / damping;
    const auto angle = [&](double t) { return t <= 0 ? 0.0 : final * (t - tau * (1 - std::exp(-t / tau))); };
    EXPECT_NEAR(tau, 6e-6 / (0.0764 * 0.0764 / 4 + 2e-5), 1e-9);
    for (int sample = 1; sample <= 100; ++sample) {
        Step();  // the motor has had the voltage for `sample` periods
        if (sample % 5 == 0) {
            const double t = sample * 0.01;
            EXPECT_NEAR(Speed(), WindowCounts(angle, t, 500), 0.01 * WindowCounts(angle, 10, 500)) << t;
        }
    }
    EXPECT_NEAR(Speed(), WindowCounts(angle, 10, 500), 0.01 * WindowCounts(angle, 10, 500));
    CSynum synum;
    ASSERT_TRUE(synum.TraitRecept(Query("ASP")));
    EXPECT_NEAR(synum.LitSonde(5), final * 60 / (2 * std::numbers::pi), 0.01 * final * 60 / (2 * std::numbers::pi));
    EXPECT_NEAR(synum.LitSonde(3), 12, 0.02);                                              // the voltage, volts
    EXPECT_NEAR(synum.LitSonde(2), (12 - C::kTorque * final) / C::kResistance * 1000, 3);  // the current, mA
}

TEST_F(MotorCard, CurrentDriveGivesTheTorqueOfItsCurrent)
{
    Open("iapv", 'I', 4);
    ASSERT_EQ(Order("ICC000000000000000000"), "!OK");  // the natural load
    OpenLoop(256);                                     // 125 mA
    Run(0.5);
    // J dw/dt = Kt i - Tf - B w: a lag of J / B = 50 ms towards (Kt i - Tf) / B.
    const Mechanics& m = ProgrammableLoadBench::kTraits.mechanics;
    const double tau = m.inertia / m.viscous, final = (C::kTorque * 0.125 - m.dryFriction) / m.viscous;
    EXPECT_LT(C::kTorque * final + C::kResistance * 0.125, C::kSupply);  // the supply can push that current
    const double turned = final * (0.5 - tau * (1 - std::exp(-0.5 / tau)));
    EXPECT_NEAR(Fields(Query("AVPI"), 5, {8})[0], turned * 100 / (2 * std::numbers::pi), 1);  // 100 lines a turn
    CIaPV iapv;
    ASSERT_TRUE(iapv.TraitRecept(Query("ASP")));
    EXPECT_NEAR(iapv.LitSonde(2), 125, 1);  // M2: the motor current, mA
}

TEST_F(MotorCard, LoadLawTermsEachAloneGiveTheTorqueOfTheTable)
{
    Open("iapv", 'I', 4);
    const auto& bench = dynamic_cast<const ProgrammableLoadBench&>(Card().GetBench());
    struct Term {
        int bit, parameter;
        float value;  // mN m, uN m per tr/min, nN m per (tr/min)^2
    };
    for (const Term& term : {Term{0, 110, 2.5f}, Term{1, 111, -1.5f}, Term{2, 112, 3.0f}, Term{3, 113, 4.0f}}) {
        CIaPV iapv;
        for (int n = 110; n <= 113; ++n) iapv.SetFParam(n, 0);
        iapv.SetFParam(term.parameter, term.value);
        iapv.SetCParam(102, static_cast<char>(1 << term.bit));
        Send(iapv, 2);  // ICC
        float decoded = 0;
        iapv.LitFParam(term.parameter, decoded);  // the card value read back in physical units
        EXPECT_NEAR(decoded, term.value, 0.01 * std::abs(term.value));
        for (const double rpm : {500.0, 2000.0}) {
            const double w = rpm * 2 * std::numbers::pi / 60;
            const double expected = term.bit == 0   ? decoded * 1e-3
                                    : term.bit == 1 ? decoded * 1e-3
                                    : term.bit == 2 ? decoded * 1e-6 * rpm
                                                    : decoded * 1e-9 * rpm * rpm;
            EXPECT_NEAR(bench.LawTorque(w), expected, 1e-6 * std::abs(expected)) << term.bit << " " << rpm;
            EXPECT_NEAR(bench.LawTorque(-w), term.bit == 1 ? expected : -expected, 1e-6 * std::abs(expected))
                << term.bit << " " << rpm;
        }
    }
    EXPECT_EQ(Query("AME"), "!AME" + Hex16(bench.LawTorque(0) * 1000 * ProgrammableLoadBench::kTorqueCounts));
}

TEST_F(MotorCard, DefaultLawCompensatesTheMotorsOwnFriction)
{
    Open("iapv", 'I', 4);
    CIaPV iapv;  // the bench's factory law: -6.5 mN m of dry friction, 1 uN m per tr/min
    Send(iapv, 2);
    OpenLoop(50);
    Run(60);  // some 8 time constants of J / (B + a)
    // Steady: Kt i = (B + a) w, the dry frictions cancelling.
    const double a = 380 / 7244.5 * kWindow * 1000 / 256 * 1000 * 1e-6 * 60 / (2 * std::numbers::pi);
    const double final = C::kTorque * 0.5 * 50 / 1024 / (ProgrammableLoadBench::kTraits.mechanics.viscous + a);
    const std::int32_t before = Fields(Query("AVPI"), 5, {8})[0];
    Run(1);
    const double linesPerSecond = final * 100 / (2 * std::numbers::pi);
    EXPECT_NEAR(Fields(Query("AVPI"), 5, {8})[0] - before, linesPerSecond, 0.01 * linesPerSecond);
}

TEST_F(MotorCard, ALoadNeverTurnsAStoppedCommandBackwards)
{
    Open("iapv", 'I', 4);
    ASSERT_EQ(Order("ICC02" "0000" + Hex16(10 * ProgrammableLoadBench::kTorqueCounts) + "00000000"), "!OK");  // 10 mN m
    Run(2);
    EXPECT_EQ(Motor().Motor().Speed(), 0.0);  // held, not driven backwards
    OpenLoop(600);                            // 293 mA: 22 mN m, more than the load and friction
    Run(1);
    EXPECT_GT(Speed(), 5);
    ASSERT_EQ(Order("CBO0000"), "!OK");
    Run(2);
    EXPECT_EQ(Motor().Motor().Speed(), 0.0);  // slowed to rest and held there
    EXPECT_EQ(Speed(), 0);
}

TEST_F(MotorCard, ElectricalLoadSlowsTheMotorAsItsLevelRises)
{
    Open("synum", 'S', 1);
    ASSERT_EQ(Order("DTCMT"), "!OK");
    std::vector<double> speeds;
    for (const int percent : {0, 50, 100}) {
        CSynum synum;
        synum.SetFParam(1, static_cast<float>(percent));
        Send(synum, 1);  // CTC+
        OpenLoop(1024);
        Run(2);
        speeds.push_back(Motor().Motor().Speed());
        // Kt (24 - Ke w) / R = B w + Tf + Kg^2 w G / (1 + Rg G)
        const double g = static_cast<int>(percent / 100.0 * 255) / 255.0 * ElectricalLoadBench::kFullConductance;
        const double brake = C::kTorque * C::kTorque * g / (1 + ElectricalLoadBench::kGeneratorResistance * g);
        const Mechanics& m = ElectricalLoadBench::kTraits.mechanics;
        const double w = (C::kTorque * 24 / C::kResistance - m.dryFriction) /
                         (C::kTorque * C::kTorque / C::kResistance + m.viscous + brake);
        EXPECT_NEAR(speeds.back(), w, 0.01 * w) << percent;
        ASSERT_EQ(Order("RS"), "!OK");
    }
    EXPECT_GT(speeds[0], speeds[1]);
    EXPECT_GT(speeds[1], speeds[2]);
    EXPECT_LT(speeds[2], 0.9 * speeds[0]);  // in voltage drive the motor's own back-EMF brakes it most
    EXPECT_EQ(Order("CTC7F"), "!OK");       // the '+' that the line's reader drops
    EXPECT_EQ(Order("CTC+7"), "!Erreur");
}

TEST_F(MotorCard, MotorCommandsRefusedWhenMalformed)
{
    Open("iapv", 'I', 4);
    for (const char* line :
         {"!DTCMX", "!DTCM", "!DTCMCC", "!TEV0000", "!TEV12", "!RRZP1", "!ICC01", "!ICC0100000000000000001",
          "!ISA010203", "?ASP1", "?AVPI0", "!DCPIFVX", "!DCPIFQV", "!CTC+FF", "!XPOM"})
        EXPECT_EQ(Card().Execute(line), "!Erreur") << line;
    EXPECT_EQ(Order("ISA00010200"), "!OK");
    EXPECT_EQ(Order("DCPIFFV"), "!OK");
    EXPECT_EQ(Order("TEV000A"), "!OK");
}

TEST_F(MotorCard, SpeedLoopReachesItsSetpointOnTheMotorBench)
{
    Open("iapv", 'I', 4);
    CIaPV iapv;
    Download(iapv);
    CPid pid;  // the bench's factory gains
    pid.SetCParam(2, 1);
    pid.SetCParam(3, 1);
    pid.SetCParam(6, 1);  // 'F': the motor
    pid.SetCParam(7, 1);  // 'V': the speed
    Download(pid);
    Send(pid, 6);
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 40);  // counts per speed window
    gene.SetCParam(0, 0);
    Download(gene);
    pid.ModeRD = true;
    Send(pid, 101);
    Run(3);
    EXPECT_NEAR(Speed(), 40, 1);
    ASSERT_TRUE(pid.TraitRecept(Query("AVS")));
    EXPECT_EQ(pid.LitSonde(3), 40);  // the setpoint, 8 digits
    EXPECT_NEAR(pid.LitSonde(4), 40, 1);
}

namespace {

// The axis bench from a start position, in the profile of mode 5.
class Axis : public cardsim::test::BenchCardTest {
protected:
    void Start(double millimetres)
    {
        Open(std::make_unique<AxisBench>(Noise(1, 0), millimetres), 'X', 5);
        m_axis = std::make_unique<CAxeNum>();
    }
    const AxisBench& Bench() { return dynamic_cast<const AxisBench&>(Card().GetBench()); }
    unsigned Status() { return static_cast<unsigned>(Fields(Query("XEFC"), 5, {4})[0]); }
    // Polls the status as the PC does until `busy` clears; false after `seconds`.
    bool WaitWhile(unsigned busy, double seconds)
    {
        for (int sample = 0; sample < seconds * 100; ++sample) {
            Step();
            if (!(Status() & busy)) return true;
        }
        return false;
    }
    std::int32_t Position() { return Fields(Query("AVPI"), 5, {8})[0]; }

    std::unique_ptr<CAxeNum> m_axis;
};

}  // namespace

TEST_F(Axis, HomingFromAnyStartEndsAtZeroOnTheLeftSwitch)
{
    for (const double start : {40.0, 0.0, 0.5, 99.9}) {
        Start(start);
        EXPECT_EQ(Query("XPOM"), "!XPOMO") << start;
        EXPECT_TRUE(Status() & AxisBench::kHoming) << start;
        ASSERT_TRUE(WaitWhile(AxisBench::kHoming, 20)) << start;
        EXPECT_EQ(Position(), 0) << start;
        EXPECT_NEAR(Bench().Carriage(), 0.0, 1e-9) << start;
        EXPECT_EQ(Status(), AxisBench::kLeftSwitch | AxisBench::kReferenced) << start;
    }
}

TEST_F(Axis, ReferenceAndTargetMovesEndAtTheCountsTheAxisElementSent)
{
    Start(40);
    ASSERT_TRUE(m_axis->TraitRecept(Query(m_axis->DmdMesure(10))));  // XPOM
    ASSERT_EQ(m_axis->LitEtatAxnum(), 1);
    while (m_axis->LitEtatAxnum() == 1) {
        Step();
        ASSERT_TRUE(m_axis->TraitRecept(Query(m_axis->DmdMesure(11))));  // XEFC
    }
    EXPECT_EQ(m_axis->LitEtatAxnum(), 2);
    m_axis->SetFParam(1007, 300);   // rest, degrees
    m_axis->SetFParam(1006, 3000);  // right end
    m_axis->SetFParam(1008, 700);   // target
    Send(*m_axis, 1010);            // XPRX with the three positions
    Send(*m_axis, 3);               // XPCV: the move to the target begins
    EXPECT_TRUE(Status() & AxisBench::kTargetMove);
    ASSERT_TRUE(WaitWhile(AxisBench::kTargetMove, 10));
    EXPECT_EQ(Position(), Fields(m_axis->ConfFerz(3), 4, {8})[0]);   // 972 lines
    ASSERT_TRUE(m_axis->TraitRecept(Query(m_axis->DmdMesure(12))));  // XPRX: to the rest position
    ASSERT_EQ(m_axis->LitEtatAxnum(), 3);
    for (int sample = 0; sample < 1000 && m_axis->LitEtatAxnum() == 3; ++sample) {
        Step();
        ASSERT_TRUE(m_axis->TraitRecept(Query(m_axis->DmdMesure(11))));
    }
    EXPECT_EQ(m_axis->LitEtatAxnum(), 4);
    EXPECT_EQ(Position(), Fields(m_axis->ConfFerz(1010), 12, {8})[0]);  // 416 lines
    ASSERT_TRUE(m_axis->TraitRecept(Query("ASP")));
    EXPECT_EQ(m_axis->LitSonde(1), 416);
}

TEST_F(Axis, AMoveBeyondAnEndSwitchStopsThere)
{
    Start(95);
    ASSERT_EQ(Order("XPCV00010000"), "!OK");  // 65536 lines: far past the right end
    ASSERT_TRUE(WaitWhile(AxisBench::kTargetMove, 10));
    EXPECT_NEAR(Bench().Carriage(), AxisBench::kTravel, 1e-9);
    EXPECT_EQ(Status(), AxisBench::kRightSwitch);
    ASSERT_EQ(Order("RTRE000"), "!OK");
    ASSERT_EQ(Order("DCPXOFI"), "!OK");
    ASSERT_EQ(Order("CBO0100"), "!OK");
    ASSERT_EQ(Order("RD"), "!OK");
    Run(1);
    EXPECT_NEAR(Bench().Carriage(), AxisBench::kTravel, 1e-9);  // the loop cannot push into the switch either
    EXPECT_EQ(Fields(Query("ASP"), 4, {4})[0], 0);              // the card cut the command
    ASSERT_EQ(Order("CBOFF00"), "!OK");
    Run(0.2);
    EXPECT_LT(Bench().Carriage(), AxisBench::kTravel);  // away from it, it moves
    EXPECT_EQ(Order("XPOM"), "!XPOMO");
    EXPECT_EQ(Order("XRCG"), "!OK");  // abandons the card's move
    EXPECT_EQ(Status() & AxisBench::kHoming, 0u);
}

TEST_F(MotorCard, EachMotorBenchTakesItsElementsWholeConfiguration)
{
    const auto take = [this](CEidElement& element, std::initializer_list<int> singles) {
        Download(element);
        for (const int code : singles) Send(element, code);
        ASSERT_EQ(Order("TEV" + element.ConfFerz(1009)), "!OK");
    };
    Open("axnum", 'X', 5);
    CAxeNum axis;
    take(axis, {10, 1010, 1011});  // DTCM, XPRX with the positions, XRCG
    Open("iapv", 'I', 4);
    CIaPV iapv;
    take(iapv, {10, 9});  // DTCM, RRZP
    Open("synum", 'S', 1);
    CSynum synum;
    take(synum, {10, 9});
    Send(synum, 1);  // CTC+FF: the factory's full electrical load
    EXPECT_EQ(dynamic_cast<const ElectricalLoadBench&>(Card().GetBench()).Level(), 1.0);
}

TEST_F(MotorCard, TrapezoidPlaysIntoTheClosedLoopAsIncrements)
{
    Open("axnum", 'X', 5);
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 1000);  // 1000 lines
    gene.SetFParam(1, 100);
    gene.SetFParam(6, 200);
    gene.SetFParam(3, 0);
    gene.SetCParam(0, 6);
    CPid pid;
    pid.SetCParam(2, 1);
    Download(pid);
    Send(pid, 6);
    Download(gene);
    ASSERT_EQ(Order("RD"), "!OK");
    std::int64_t sum = 0;
    for (int i = 0; i < gene.NbPoints; ++i) sum += gene.TablePoints[static_cast<std::size_t>(i)];
    Run(15);  // past the table's 10.5 s
    ASSERT_TRUE(pid.TraitRecept(Query("AVS")));
    EXPECT_EQ(pid.LitSonde(3), static_cast<float>(sum));  // 999, the position the points add up to
    EXPECT_EQ(sum, 999);
}

TEST_F(MotorCard, CorrectorsRunInCardUnitsOnTheElectricalLoadBench)
{
    Open("synum", 'S', 3);
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 100);  // counts a speed window
    gene.SetCParam(0, 0);
    CCorZ corz;
    corz.SetFParam(17, 8);  // u = 8 e
    corz.SetCParam(6, 1);
    corz.SetCParam(7, 1);  // the speed
    Download(corz);
    Send(corz, 3);
    Download(gene);
    ASSERT_EQ(Order("RD"), "!OK");
    Run(3);
    ASSERT_TRUE(corz.TraitRecept(Query("AVS")));
    EXPECT_EQ(corz.LitSonde(0), 100);                          // the setpoint, 8 digits and unscaled on this bench
    EXPECT_NEAR(corz.LitSonde(3), 8 * corz.LitSonde(2), 8.5);  // u = 8 e, held within the range
    EXPECT_NEAR(corz.LitSonde(1) + corz.LitSonde(2), 100, 1);
    EXPECT_GT(corz.LitSonde(1), 60);

    CTor tor;                      // mode 3 has no on/off defaults: thresholds set here, in counts on this bench
    DownloadOnOff(tor, -5, 5, 1);  // the speed
    int switches = 0;
    bool on = false;
    for (int sample = 0; sample < 300; ++sample) {
        Step();
        ASSERT_TRUE(tor.TraitRecept(Query("AVS")));
        if ((tor.LitSonde(3) > 0) == on) continue;
        on = !on;
        ++switches;
        EXPECT_GT(on ? tor.LitSonde(2) : -tor.LitSonde(2), 5) << sample;  // only outside the band
        EXPECT_EQ(std::abs(tor.LitSonde(3)), 1024) << sample;             // full command either way
    }
    EXPECT_GT(switches, 4);
}
