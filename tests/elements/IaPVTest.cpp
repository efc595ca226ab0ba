#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MotorBenchFixture.h"
#include "tarvic/elements/IaPV.h"

using tarvic::test::Append;
using tarvic::test::GeneWrites;
using tarvic::test::LoadHex;
using tarvic::test::StoredHex;

namespace {

class IaPVTest : public motortest::MotorBenchTest {
protected:
    IaPVTest() : MotorBenchTest('I', "IAPV") {}

    float Param(CIaPV& bench, int n, bool expectedResult = true)
    {
        float f = -99.0f;
        EXPECT_EQ(bench.LitFParam(n, f), expectedResult) << n;
        return f;
    }
};

}  // namespace

// --- Construction and profile -------------------------------------------------

TEST_F(IaPVTest, ConstructionReadsItsEntriesInOrderWithTheirDefaults)
{
    CIaPV bench;
    std::vector<std::string> expected = {"TYPE/PO", "TYPE/REGULATEUR"};
    Append(expected, Logged({"CDE_MOTEUR", "CDE_CHARGE", "TEV", "CMMP", "CMMV", "CODEUR", "UNITE_POS", "UNITE_VIT",
                             "UNITE_ACC", "UNITE_SR", "NUM_U1", "NUM_U2", "CNF_CC", "COMP_FS", "CE", "Cax", "Caxx"}));
    EXPECT_EQ(m_profile->m_reads, expected);
    EXPECT_EQ(bench.ConfFerz(2), "ICC01006400000000" "0000");
    EXPECT_EQ(bench.ConfFerz(1), "ISA00000000");
    EXPECT_EQ(bench.ConfFerz(1005), "T");
    EXPECT_EQ(Param(bench, 1004), 100.0f);
    int v = 0;
    for (const int n : {20, 21, 22}) {
        bench.LitCParam(n, v);
        EXPECT_EQ(v, 1) << n;
    }
}

TEST_F(IaPVTest, InitValeurWritesTheFactoryDefaultsInOrder)
{
    CIaPV().InitValeur();
    std::vector<std::string> expected = {"FERZ/TE=10", "ENREGISTREMENT/TEM=10"};
    Append(expected, Logged({"TEV=5", "CODEUR=100", "UNITE_POS=1", "UNITE_VIT=1", "UNITE_ACC=1", "UNITE_SR=1",
                             "CDE_MOTEUR=67", "CMMP=0", "CMMV=0", "NUM_U1=0", "NUM_U2=1", "CNF_CC=5", "COMP_FS=-10046",
                             "CE=0", "Cax=380", "Caxx=0"}));
    Append(expected,
           GeneWrites("I_MODE0_GENE1", {"100", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"}));
    Append(expected,
           GeneWrites("I_MODE4_GENE", {"48.825", "20.0", "10.0", "1.0", "0.1", "16.275", "10.0", "81.375", "10.0"}));
    Append(expected, motortest::PidWrites("I_MODE4_PID"));
    Append(expected,
           GeneWrites("I_MODE5_GENE", {"200.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "20.0", "10.0"}));
    Append(expected, motortest::PidWrites("I_MODE5_PID"));
    EXPECT_EQ(m_profile->m_writes, expected);
}

TEST_F(IaPVTest, LoadLawCommandWithTheFactoryDefaults)
{
    CIaPV().InitValeur();
    CIaPV bench;
    EXPECT_EQ(bench.ConfFerz(2), "ICC" "05" "D8C2" "0000" "017C" "0000");
    EXPECT_EQ(bench.ConfFerz(500), bench.ConfFerz(2));
    EXPECT_EQ(bench.ConfFerz(1), "ISA" "00" "00" "01" "00");
}

// --- Commands ---------------------------------------------------------------------

TEST_F(IaPVTest, ConfigurationSequenceAndSingleCommands)
{
    CIaPV bench;
    EXPECT_TRUE(bench.SetCParam(100, 2));
    EXPECT_TRUE(bench.SetCParam(101, '\xF0'));
    bench.SetCParam(11, '\xFF');
    bench.SetCParam(12, 0x34);
    const std::vector<std::string> sequence = {"", "ISA02FFF034", "ICC01006400000000" "0000", "RRZP"};
    for (int n = 0; n < bench.NbParam(); ++n) EXPECT_EQ(bench.ConfFerz(n), sequence[n]) << n;
    EXPECT_EQ(bench.ConfFerz(501), sequence[1]);
    EXPECT_EQ(bench.ConfFerz(9), "RRZP");
    EXPECT_EQ(bench.ConfFerz(1000), "I");
    EXPECT_EQ(bench.ConfFerz(1004), "C");
    EXPECT_EQ(bench.ConfFerz(1005), "T");
    EXPECT_EQ(bench.ConfFerz(11), "");  // no DCMMP on this bench
    EXPECT_EQ(bench.ConfFerz(1010), "");
}

TEST_F(IaPVTest, OutputAssignmentAndLawConfigurationAreSignedBytes)
{
    CIaPV bench;
    int v = 0;
    EXPECT_TRUE(bench.SetCParam(100, 5));
    EXPECT_TRUE(bench.SetCParam(101, '\x80'));
    EXPECT_FALSE(bench.SetCParam(102, '\xF0'));
    EXPECT_TRUE(bench.LitCParam(100, v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(bench.LitCParam(101, v));
    EXPECT_EQ(v, -128);
    EXPECT_TRUE(bench.LitCParam(102, v));
    EXPECT_EQ(v, -16);
    EXPECT_EQ(Get("NUM_U1"), "5");
    EXPECT_EQ(Get("NUM_U2"), "-128");
    EXPECT_EQ(Get("CNF_CC"), "-16");
    EXPECT_EQ(bench.ConfFerz(2).substr(0, 5), "ICCF0");
}

// --- Load law -----------------------------------------------------------------------

TEST_F(IaPVTest, DryFrictionIsStoredInCardUnits)
{
    CIaPV bench;
    EXPECT_FALSE(bench.SetFParam(110, 2.0f));
    EXPECT_EQ(Get("COMP_FS"), "3091");
    EXPECT_EQ(bench.ConfFerz(2), "ICC01" "0C13" "0000" "0000" "0000");
    EXPECT_NEAR(Param(bench, 110, false), 2.0f, 2e-4f);
}

TEST_F(IaPVTest, LoadLawTermsInBothUnits)
{
    CIaPV bench;  // T = 5 × 0.9765 ms
    EXPECT_FALSE(bench.SetFParam(111, -1.0f));
    EXPECT_FALSE(bench.SetFParam(112, 1.0f));
    EXPECT_FALSE(bench.SetFParam(113, 1.0f));
    // trunc(-1545.6), trunc(379.84), trunc(186.73)
    EXPECT_EQ(bench.ConfFerz(2), "ICC01" "0064" "F9F7" "017B" "00BA");
    EXPECT_EQ(Get("CE"), "-1545");
    EXPECT_EQ(Get("Cax"), "379");
    EXPECT_EQ(Get("Caxx"), "186");
    EXPECT_NEAR(Param(bench, 111, false), -0.99961f, 1e-4f);
    EXPECT_NEAR(Param(bench, 112, false), 0.99777f, 1e-4f);
    EXPECT_NEAR(Param(bench, 113, false), 0.99611f, 1e-4f);
    CIaPV again;
    EXPECT_EQ(again.ConfFerz(2), bench.ConfFerz(2));
}

TEST_F(IaPVTest, SpeedTermsDependOnTheSamplingPeriod)
{
    CIaPV bench;
    bench.SetFParam(112, 1.0f);
    bench.SetFParam(1003, 10.0f);
    EXPECT_NEAR(Param(bench, 112, false), 2.0f * 0.99777f, 2e-4f);
    EXPECT_NEAR(Param(bench, 110, false), 100.0f / 48.3f / 32.0f, 1e-6f);  // torques do not
}

// --- Summary -------------------------------------------------------------------------

TEST_F(IaPVTest, NaturalLoadSummary)
{
    CIaPV bench;
    bench.SetCParam(102, 0);
    EXPECT_EQ(bench.LitConfiguration(1), " Cde en courant\nCharge naturelle");
    EXPECT_EQ(bench.LitConfiguration(0), ", Commande en courant, Charge naturelle");
}

TEST_F(IaPVTest, LoadLawSummaryWithTheFactoryDefaults)
{
    CIaPV().InitValeur();
    CIaPV bench;  // CNF_CC 5: dry friction and speed term
    EXPECT_EQ(bench.LitConfiguration(1), " Cde en courant\n Cfs=-6.50 mNm\n a=1.00 \xB5" "Nm/(tr/mn)");
    EXPECT_EQ(bench.LitConfiguration(0), ", Commande en courant, Cfs=-6.50 mNm, a=1.00 \xB5" "Nm/(tr/mn)");
}

TEST_F(IaPVTest, EveryLawTermInTheSummary)
{
    CIaPV bench;
    bench.SetCParam(10, 'T');
    bench.SetCParam(102, 15);
    EXPECT_EQ(bench.LitConfiguration(1),
              " Cde en tension\n Cfs=0.06 mNm\n Cc=0.00 mNm\n a=0.00 \xB5"
              "Nm/(tr/mn)\n b=0.00 nNm/(tr/mn)\xB2");
    EXPECT_EQ(bench.LitConfiguration(0),
              ", Commande en tension, Cfs=0.06 mNm, Cc=0.00 mNm, a=0.00 \xB5"
              "Nm/(tr/mn), b=0.00 nNm/(tr/mn)\xB2");
    bench.SetCParam(102, 8);
    EXPECT_EQ(bench.LitConfiguration(0), ", Commande en tension, b=0.00 nNm/(tr/mn)\xB2");
}

TEST_F(IaPVTest, SummaryTakesTheTermsThroughTheVirtualParameters)
{
    struct Shown : CIaPV {
        bool LitFParam(int n, float& v) override
        {
            v = static_cast<float>(n);
            return false;
        }
    } bench;
    bench.SetCParam(102, 2);
    EXPECT_EQ(bench.LitConfiguration(0), ", Commande en courant, Cc=111.00 mNm");
}

// --- Measurements ---------------------------------------------------------------------

TEST_F(IaPVTest, ASPCarriesM4BeforeThePosition)
{
    CIaPV bench;
    EXPECT_TRUE(bench.TraitRecept("!ASP0000" "0800" "07FF" "F800" "00000064" "0002" "FFFD\r\n"));
    EXPECT_FLOAT_EQ(bench.LitSonde(2), -1000.0f);
    EXPECT_FLOAT_EQ(bench.LitSonde(3), 24.000469f);
    EXPECT_FLOAT_EQ(bench.LitSonde(7), -1000.0f);
    EXPECT_EQ(bench.LitSonde(1), 100.0f);
    EXPECT_EQ(bench.LitSonde(0), 2.0f);
    bench.SetCParam(22, 0);
    EXPECT_FLOAT_EQ(bench.LitSonde(6), -0.3f);
}

TEST_F(IaPVTest, AMEIsTakenAndChangesNothing)
{
    CIaPV bench;
    EXPECT_EQ(bench.DmdMesure(11), "AME");
    ASSERT_TRUE(bench.TraitRecept("ASP0000" "0010" "0020" "0030" "00000040" "0050" "0060"));
    std::vector<float> before;
    for (int n = 0; n < 8; ++n) before.push_back(bench.LitSonde(n));
    EXPECT_TRUE(bench.TraitRecept("!AME1234\r\n"));
    for (int n = 0; n < 8; ++n) EXPECT_EQ(bench.LitSonde(n), before[n]) << n;
    EXPECT_FALSE(bench.TraitRecept("!AM1234\r\n"));
}

TEST_F(IaPVTest, LinearUnitsBelongToTheAxisOnly)
{
    CIaPV bench;
    bench.SetCParam(20, 4);
    bench.SetCParam(21, 4);
    bench.SetCParam(22, 3);
    ASSERT_TRUE(bench.TraitRecept("ASP0000000000000000" "00001000" "0064" "000A"));
    EXPECT_EQ(bench.LitSonde(4), 4096.0f);
    EXPECT_EQ(bench.LitSonde(5), 100.0f);
    EXPECT_EQ(bench.LitSonde(6), 1.0f);
    EXPECT_EQ(Param(bench, 100), 1.0f);
    EXPECT_EQ(Param(bench, 101), 1.0f);
}

// --- Rotary factors ----------------------------------------------------------------

TEST_F(IaPVTest, AccelerationFactorsByUnit)
{
    CIaPV bench;  // N = 100, T = 4.8825 ms
    const float k = 100.0f * 0.0048825f * 0.0048825f * 4.0f;
    bench.SetCParam(22, 0);
    EXPECT_EQ(Param(bench, 102), 1.0f);
    EXPECT_EQ(Param(bench, 104), 1.0f);
    EXPECT_EQ(Param(bench, 105), 1.0f);
    bench.SetCParam(22, 1);
    EXPECT_NEAR(Param(bench, 102), k, k * 1e-5f);
    EXPECT_FLOAT_EQ(Param(bench, 104), 0.1f);
    EXPECT_FLOAT_EQ(Param(bench, 105), 0.01f);
    bench.SetCParam(22, 2);
    EXPECT_NEAR(Param(bench, 102), k * 6.283f, k * 6.283f * 1e-5f);
    EXPECT_FLOAT_EQ(Param(bench, 104), 0.628318f);
    EXPECT_FLOAT_EQ(Param(bench, 105), 0.0628318f);
    bench.SetCParam(22, 3);  // the output stays as it was
    for (const int n : {102, 104, 105}) EXPECT_EQ(Param(bench, n), -99.0f) << n;
}

TEST_F(IaPVTest, SpeedFactor103ByUnit)
{
    CIaPV bench;
    const std::pair<int, float> cases[] = {{0, 1.0f}, {1, 0.6f}, {2, 0.0628318f}, {3, 0.01f}, {4, 60.0f}};
    for (const auto& [unit, factor] : cases) {
        bench.SetCParam(21, static_cast<char>(unit));
        EXPECT_FLOAT_EQ(Param(bench, 103), factor) << unit;
    }
}

TEST_F(IaPVTest, CommandFullScaleIsGivenButReportedAsNotRead)
{
    CIaPV bench;
    EXPECT_EQ(Param(bench, 106, false), 500.0f / 1024.0f);
    bench.SetCParam(10, 'T');
    EXPECT_EQ(Param(bench, 106, false), 24.0f / 1024.0f);
    bench.SetCParam(10, 'V');
    EXPECT_EQ(Param(bench, 106, false), 1.0f);
    float f = 3.0f;
    EXPECT_FALSE(bench.LitFParam(107, f));
    EXPECT_EQ(f, 3.0f);
    EXPECT_FALSE(bench.SetFParam(106, 1.0f));
}

// --- Archive and copy -----------------------------------------------------------------

TEST_F(IaPVTest, ArchiveRecordIsFortyThreeBytes)
{
    CIaPV().InitValeur();
    CIaPV bench;
    bench.SetCParam(11, 0x12);
    bench.SetCParam(12, '\xFF');
    bench.SetCParam(21, 2);
    bench.SetCParam(22, 3);
    const std::string record = StoredHex(bench);
    EXPECT_EQ(record,
              "0000A040"     // sampling period 5.0
              "43000000"     // motor 'C'
              "54000000"     // load 'T'
              "05"           // CNF_CC
              "C2D8" "0000"  // COMP_FS, CE
              "7C01" "0000"  // Cax, Caxx
              "00" "01"      // NUM_U1, NUM_U2
              "64000000"     // encoder 100
              "1200" "FFFF"  // CMMP, CMMV
              "01000000"     // position unit
              "02000000"     // speed unit
              "03000000");   // acceleration unit

    m_profile->WriteProfileInt("IAPV", "COMP_FS", 7);
    CIaPV loaded;
    ASSERT_TRUE(LoadHex(loaded, record));
    EXPECT_EQ(StoredHex(loaded), record);
    EXPECT_EQ(loaded.ConfFerz(2), "ICC05D8C20000017C0000");
    EXPECT_EQ(loaded.ConfFerz(1), "ISA0012" "01FF");
}

TEST_F(IaPVTest, CopyTakesTheSettingsAndStartsFresh)
{
    CIaPV().InitValeur();
    CIaPV bench;
    bench.SetCParam(100, 3);
    bench.SetCParam(11, 4);
    ASSERT_TRUE(bench.TraitRecept("ASP0000" "0010" "0020" "0030" "00000040" "0050" "0060"));
    Forget();
    CIaPV copy(&bench);
    EXPECT_TRUE(m_profile->m_reads.empty());
    EXPECT_EQ(StoredHex(copy), StoredHex(bench));
    EXPECT_EQ(copy.ConfFerz(1), bench.ConfFerz(1));
    EXPECT_EQ(copy.ConfFerz(2), bench.ConfFerz(2));
    for (int n = 0; n < 8; ++n) EXPECT_EQ(copy.LitSonde(n), 0.0f) << n;
}
