#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MotorBenchFixture.h"
#include "tarvic/elements/Synum.h"

using tarvic::test::Append;
using tarvic::test::GeneWrites;
using tarvic::test::LoadHex;
using tarvic::test::StoredHex;

namespace {

class SynumTest : public motortest::MotorBenchTest {
protected:
    SynumTest() : MotorBenchTest('S', "SYNUM") {}
};

}  // namespace

// --- Construction and profile ----------------------------------------------------

TEST_F(SynumTest, ConstructionReadsTheLoadBetweenEncoderAndUnits)
{
    CSynum bench;
    std::vector<std::string> expected = {"TYPE/PO", "TYPE/REGULATEUR"};
    Append(expected, Logged({"CDE_MOTEUR", "CDE_CHARGE", "TEV", "CMMP", "CMMV", "CODEUR", "CHARGE_E", "UNITE_POS",
                             "UNITE_VIT", "UNITE_ACC", "UNITE_SR"}));
    EXPECT_EQ(m_profile->m_reads, expected);
    float f = -1.0f;
    EXPECT_TRUE(bench.LitFParam(1, f));
    EXPECT_EQ(f, 0.0f);
    EXPECT_TRUE(bench.LitFParam(1004, f));
    EXPECT_EQ(f, 500.0f);
    EXPECT_EQ(bench.ConfFerz(1005), "T");
}

TEST_F(SynumTest, InitValeurWritesTheFactoryDefaultsInOrder)
{
    CSynum().InitValeur();
    std::vector<std::string> expected = {"FERZ/TE=10", "ENREGISTREMENT/TEM=10"};
    Append(expected, Logged({"TEV=5", "CODEUR=500", "CHARGE_E=\"100.0\"", "UNITE_POS=1", "UNITE_VIT=1", "UNITE_ACC=1",
                             "UNITE_SR=1", "CDE_MOTEUR=67", "CDE_CHARGE=84", "CMMP=0", "CMMV=0"}));
    Append(expected,
           GeneWrites("S_MODE0_GENE1", {"204.8", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"}));
    Append(expected,
           GeneWrites("S_MODE1_GENE", {"100.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"}));
    Append(expected, motortest::PidWrites("S_MODE1_PID"));
    Append(expected,
           GeneWrites("S_MODE4_GENE", {"244.125", "20.0", "10.0", "1.0", "0.1", "81.375", "10.0", "81.375", "10.0"}));
    Append(expected, motortest::PidWrites("S_MODE4_PID"));
    Append(expected,
           GeneWrites("S_MODE5_GENE", {"500.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"}));
    Append(expected, motortest::PidWrites("S_MODE5_PID"));
    Append(expected,
           GeneWrites("S_MODE3_GENE", {"100.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"}));
    for (const char* entry : {"coefC0=\"1.0\"", "coefC1=\"0.0\"", "coefC2=\"0.0\"", "coefC3=\"0.0\"", "coefB0=\"0.0\"",
                              "coefB1=\"0.0\"", "coefB2=\"0.0\""})
        expected.push_back(std::string("S_MODE3_CorZ/") + entry);
    EXPECT_EQ(m_profile->m_writes, expected);
}

// --- Electrical load ------------------------------------------------------------------

TEST_F(SynumTest, LoadLevelIsOneByteOfPercent)
{
    CSynum bench;
    const std::pair<float, const char*> cases[] = {
        {100.0f, "CTC+FF"}, {50.0f, "CTC+7F"}, {0.0f, "CTC+00"}, {0.5f, "CTC+01"}};
    for (const auto& [percent, command] : cases) {
        EXPECT_TRUE(bench.SetFParam(1, percent)) << percent;
        EXPECT_EQ(bench.ConfFerz(1), command) << percent;
    }
}

TEST_F(SynumTest, LoadLevelIsKeptAsGivenAndWrittenWithTwoDecimals)
{
    CSynum bench;
    EXPECT_TRUE(bench.SetFParam(1, 33.333f));
    float f = 0.0f;
    EXPECT_TRUE(bench.LitFParam(1, f));
    EXPECT_EQ(f, 33.333f);
    EXPECT_EQ(Get("CHARGE_E"), "33.33");
    CSynum again;
    again.LitFParam(1, f);
    EXPECT_EQ(f, 33.33f);
}

TEST_F(SynumTest, ConfigurationSequenceAndSingleCommands)
{
    CSynum bench;
    bench.SetFParam(1, 100.0f);
    bench.SetCParam(11, 0x21);
    bench.SetCParam(12, '\xFE');
    const std::vector<std::string> sequence = {"", "CTC+FF", "DCMMP21", "DCMMVFE"};
    for (int n = 0; n < bench.NbParam(); ++n) EXPECT_EQ(bench.ConfFerz(n), sequence[n]) << n;
    EXPECT_EQ(bench.ConfFerz(4), "RRZP");
    EXPECT_EQ(bench.ConfFerz(9), "RRZP");
    EXPECT_EQ(bench.ConfFerz(11), "DCMMP21");
    EXPECT_EQ(bench.ConfFerz(12), "DCMMVFE");
    EXPECT_EQ(bench.ConfFerz(1000), "S");
    EXPECT_EQ(bench.ConfFerz(1005), "T");
    EXPECT_EQ(bench.ConfFerz(500), "");  // no load law on this bench
}

// --- Summary -------------------------------------------------------------------------

TEST_F(SynumTest, NoLoadLeavesTheLoadItemOut)
{
    CSynum bench;
    EXPECT_EQ(bench.LitConfiguration(1), " Cde en courant\n");
    EXPECT_EQ(bench.LitConfiguration(0), ", Commande en courant");
}

TEST_F(SynumTest, LoadSummaryInBothForms)
{
    CSynum bench;
    bench.SetFParam(1, 49.6f);
    EXPECT_EQ(bench.LitConfiguration(1), " Cde en courant\n Charge \xE9" "lectrique =\n  50 %\n");
    EXPECT_EQ(bench.LitConfiguration(0), ", Commande en courant, Charge \xE9" "lectrique =50 %");
}

// --- Measurements and factors ---------------------------------------------------------

TEST_F(SynumTest, ASPSkipsItsFourthField)
{
    CSynum bench;
    // Characters 13 to 16 after the mnemonic are ignored; the position is 17 to 24.
    EXPECT_TRUE(bench.TraitRecept("ASP" "0000" "0800" "0400" "7FFF" "00000064" "0001" "0002"));
    EXPECT_EQ(bench.LitSonde(1), 100.0f);
    EXPECT_EQ(bench.LitSonde(0), 1.0f);
    EXPECT_FLOAT_EQ(bench.LitSonde(2), -2000.0f);
    EXPECT_FLOAT_EQ(bench.LitSonde(3), 1024.0f / 85.29f);
    EXPECT_EQ(bench.LitSonde(7), 0.0f);  // no M4 here
}

TEST_F(SynumTest, CommandFullScaleUnderCurrentIsOneThousand)
{
    CSynum bench;
    float f = 0.0f;
    EXPECT_FALSE(bench.LitFParam(106, f));
    EXPECT_EQ(f, 1000.0f / 1024.0f);
}

TEST_F(SynumTest, Factor107IsFactor105)
{
    CSynum bench;
    for (const char unit : {0, 1, 2}) {
        bench.SetCParam(22, unit);
        float f105 = 0.0f, f107 = 0.0f;
        EXPECT_TRUE(bench.LitFParam(105, f105));
        EXPECT_TRUE(bench.LitFParam(107, f107));
        EXPECT_EQ(f105, f107) << int{unit};
    }
    bench.SetCParam(22, 1);
    float f = 0.0f;
    bench.LitFParam(107, f);
    EXPECT_FLOAT_EQ(f, 1.0f / 500.0f);
}

// --- Archive and copy -------------------------------------------------------------------

TEST_F(SynumTest, ArchiveRecordIsThirtySixBytes)
{
    CSynum bench;
    bench.SetFParam(1, 50.0f);
    bench.SetCParam(10, 'T');
    bench.SetCParam(11, 1);
    bench.SetCParam(12, 2);
    bench.SetCParam(20, 3);
    bench.SetCParam(21, 2);
    const std::string record = StoredHex(bench);
    EXPECT_EQ(record,
              "0000A040"     // sampling period 5.0
              "54000000"     // motor 'T'
              "54000000"     // load 'T'
              "00004842"     // load 50.0
              "F4010000"     // encoder 500
              "0100" "0200"  // CMMP, CMMV
              "03000000"     // position unit
              "02000000"     // speed unit
              "01000000");   // acceleration unit

    m_profile->WriteProfileString("SYNUM", "CHARGE_E", "10.0");
    CSynum loaded;
    ASSERT_TRUE(LoadHex(loaded, record));
    EXPECT_EQ(StoredHex(loaded), record);
    EXPECT_EQ(loaded.ConfFerz(1), "CTC+7F");
}

TEST_F(SynumTest, CopyTakesTheSettingsAndStartsFresh)
{
    CSynum bench;
    bench.SetFParam(1, 75.0f);
    bench.SetCParam(12, 9);
    bench.TraitRecept("AVPS0100");
    Forget();
    CSynum copy(&bench);
    EXPECT_TRUE(m_profile->m_reads.empty());
    EXPECT_EQ(StoredHex(copy), StoredHex(bench));
    EXPECT_EQ(copy.LitConfiguration(0), bench.LitConfiguration(0));
    EXPECT_EQ(copy.LitSonde(1), 0.0f);
}
