#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MotorBenchFixture.h"
#include "tarvic/elements/AxeNum.h"

using tarvic::test::Append;
using tarvic::test::GeneWrites;
using tarvic::test::LoadHex;
using tarvic::test::StoredHex;

namespace {

class AxeNumTest : public motortest::MotorBenchTest {
protected:
    AxeNumTest() : MotorBenchTest('X', "AXNUM") {}

    // Homing or reference move requested, then the given replies.
    static void Replies(CAxeNum& axe, std::initializer_list<const char*> lines)
    {
        for (const char* line : lines) ASSERT_TRUE(axe.TraitRecept(line)) << line;
    }
};

}  // namespace

// --- Construction and profile ---------------------------------------------------

TEST_F(AxeNumTest, ConstructionReadsItsEntriesInOrderWithTheirDefaults)
{
    CAxeNum axe;
    const std::vector<std::string> expected = {
        "TYPE/PO",      "TYPE/REGULATEUR", "AXNUM/CDE_MOTEUR", "AXNUM/TEV",       "AXNUM/CMMP",     "AXNUM/CMMV",
        "AXNUM/CODEUR", "AXNUM/UNITE_POS", "AXNUM/UNITE_VIT",  "AXNUM/UNITE_ACC", "AXNUM/UNITE_SR", "AXNUM/DUREE_ESSAI",
        "AXNUM/POS_LG", "AXNUM/POS_LD",    "AXNUM/POS_REPOS",  "AXNUM/POS_CIBLE",
    };
    EXPECT_EQ(m_profile->m_reads, expected);
    EXPECT_TRUE(m_profile->m_writes.empty());

    int v = 0;
    float f = 0.0f;
    const std::pair<int, int> chars[] = {{10, 'C'}, {11, 0}, {12, 0}, {20, 4}, {21, 4}, {22, 3}, {23, 0}};
    for (const auto& [n, value] : chars) {
        EXPECT_TRUE(axe.LitCParam(n, v)) << n;
        EXPECT_EQ(v, value) << n;
    }
    const std::pair<int, float> floats[] = {{1003, 5.0f},    {1004, 500.0f}, {1005, 0.0f},
                                            {1006, 1000.0f}, {1007, 0.0f},   {1008, 50.0f}};
    for (const auto& [n, value] : floats) {
        axe.LitFParam(n, f);
        EXPECT_EQ(f, value) << n;
    }
    EXPECT_EQ(axe.LitDuree(), 120);
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::Repos);
    EXPECT_EQ(axe.LitEtatFc(), 0);
}

TEST_F(AxeNumTest, UnscannableFloatEntriesTakeTheirDefault)
{
    m_profile->WriteProfileString("AXNUM", "POS_CIBLE", "abc");
    m_profile->WriteProfileString("AXNUM", "POS_LD", "250.5");
    CAxeNum axe;
    float f = 0.0f;
    EXPECT_TRUE(axe.LitFParam(1008, f));
    EXPECT_EQ(f, 50.0f);
    axe.LitFParam(1006, f);
    EXPECT_EQ(f, 250.5f);
}

TEST_F(AxeNumTest, InitValeurWritesTheFactoryDefaultsInOrder)
{
    CAxeNum axe;
    axe.InitValeur();
    std::vector<std::string> expected = {
        "FERZ/TE=10",
        "ENREGISTREMENT/TEM=10",
        "AXNUM/TEV=5",
        "AXNUM/CODEUR=500",
        "AXNUM/UNITE_POS=1",
        "AXNUM/UNITE_VIT=1",
        "AXNUM/UNITE_ACC=1",
        "AXNUM/UNITE_SR=1",
        "AXNUM/CDE_MOTEUR=67",
        "AXNUM/CMMP=0",
        "AXNUM/CMMV=0",
        "AXNUM/DUREE_ESSAI=120",
        "AXNUM/POS_LG=\"0.0\"",
        "AXNUM/POS_LD=\"1000.0\"",
        "AXNUM/POS_REPOS=\"0.0\"",
        "AXNUM/POS_CIBLE=\"50.0\"",
    };
    Append(expected,
           GeneWrites("X_MODE0_GENE1", {"100", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "200.0", "10.0"}));
    Append(expected,
           GeneWrites("X_MODE4_GENE", {"48.825", "20.0", "10.0", "1.0", "0.1", "16.275", "10.0", "81.375", "10.0"}));
    Append(expected, motortest::PidWrites("X_MODE4_PID"));
    Append(expected,
           GeneWrites("X_MODE5_GENE", {"200.0", "20.0", "10.0", "1.0", "0.1", "0.0", "10.0", "20.0", "10.0"}));
    Append(expected, motortest::PidWrites("X_MODE5_PID"));
    EXPECT_EQ(m_profile->m_writes, expected);
}

TEST_F(AxeNumTest, InitValeurDoesNotChangeTheElement)
{
    CAxeNum axe;
    axe.InitValeur();
    int v = 0;
    axe.LitCParam(20, v);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(axe.ConfFerz(3), "XPCV00004080");
}

TEST_F(AxeNumTest, TestDurationIsReadAndWritten)
{
    CAxeNum axe;
    axe.SetDuree(300);
    EXPECT_EQ(axe.LitDuree(), 300);
    EXPECT_EQ(Get("DUREE_ESSAI"), "300");
    EXPECT_EQ(CAxeNum().LitDuree(), 300);
}

// --- Positions and commands --------------------------------------------------

TEST_F(AxeNumTest, TargetCommandWithTheConstructionDefaults)
{
    CAxeNum axe;
    float factor = 0.0f;
    EXPECT_TRUE(axe.LitFParam(100, factor));
    EXPECT_NEAR(factor, 0.00302804f, 1e-8f);
    EXPECT_EQ(axe.ConfFerz(3), "XPCV00004080");
    EXPECT_EQ(axe.ConfFerz(1008), "XPCV00004080");
}

TEST_F(AxeNumTest, ReferencePositionsWithTheFactoryDefaults)
{
    CAxeNum().InitValeur();
    CAxeNum axe;
    float factor = 0.0f;
    EXPECT_TRUE(axe.LitFParam(100, factor));
    EXPECT_FLOAT_EQ(factor, 0.72f);
    EXPECT_EQ(axe.ConfFerz(1010), "XPRX00000000000000000000056C");
}

TEST_F(AxeNumTest, ReferencePositionsAreLeftRestRight)
{
    CAxeNum axe;
    axe.SetFParam(1004, 1.0f);
    axe.SetCParam(20, 2);  // one count per user unit
    axe.SetFParam(1005, -3.0f);
    axe.SetFParam(1007, 2.0f);
    axe.SetFParam(1006, 4096.0f);
    EXPECT_EQ(axe.ConfFerz(1010), "XPRXFFFFFFFD0000000200001000");
}

TEST_F(AxeNumTest, NegativeTargetsTruncateTowardZeroInTwosComplement)
{
    CAxeNum axe;
    axe.SetFParam(1004, 1.0f);
    axe.SetCParam(20, 2);
    axe.SetFParam(1008, -12.7f);
    EXPECT_EQ(axe.ConfFerz(3), "XPCVFFFFFFF4");
    axe.SetFParam(1008, 12.7f);
    EXPECT_EQ(axe.ConfFerz(3), "XPCV0000000C");
}

TEST_F(AxeNumTest, AZeroEncoderStillGivesADefinedTarget)
{
    CAxeNum axe;
    axe.SetFParam(1004, 0.0f);
    axe.SetCParam(20, 1);
    EXPECT_EQ(axe.ConfFerz(3), "XPCV00000000");  // 50 / infinity
    axe.SetCParam(20, 9);
    EXPECT_EQ(axe.ConfFerz(3), "XPCV00000032");  // factor 1 whatever the encoder
}

TEST_F(AxeNumTest, TheTargetGoesThroughTheVirtualPositionFactor)
{
    struct HalfAxe : CAxeNum {
        bool LitFParam(int n, float& v) override
        {
            if (n != 100) return CAxeNum::LitFParam(n, v);
            v = 0.5f;
            return true;
        }
    } axe;
    EXPECT_EQ(axe.ConfFerz(3), "XPCV00000064");
}

TEST_F(AxeNumTest, ConfigurationSequenceAndSingleCommands)
{
    CAxeNum axe;
    axe.SetCParam(11, '\x1F');
    axe.SetCParam(12, '\x80');
    EXPECT_EQ(axe.NbParam(), 4);
    const std::vector<std::string> sequence = {"", "DCMMP1F", "DCMMV80", "XPCV00004080"};
    for (int n = 0; n < axe.NbParam(); ++n) EXPECT_EQ(axe.ConfFerz(n), sequence[n]) << n;
    EXPECT_EQ(axe.ConfFerz(11), "DCMMP1F");
    EXPECT_EQ(axe.ConfFerz(12), "DCMMV80");
    EXPECT_EQ(axe.ConfFerz(1005), "T");
    EXPECT_EQ(axe.ConfFerz(1006), "0");
    EXPECT_EQ(axe.ConfFerz(1011), "XRCG");
}

TEST_F(AxeNumTest, PositionParametersAreWrittenRoundedButKeptAsGiven)
{
    CAxeNum axe;
    float f = 0.0f;
    EXPECT_TRUE(axe.SetFParam(1008, 12.6f));
    EXPECT_TRUE(axe.LitFParam(1008, f));
    EXPECT_EQ(f, 12.6f);
    EXPECT_EQ(Get("POS_CIBLE"), "13");
    CAxeNum again;
    again.LitFParam(1008, f);
    EXPECT_EQ(f, 13.0f);
}

TEST_F(AxeNumTest, EndAndRestPositionsAreReportedAsNotReadNorSet)
{
    CAxeNum axe;
    const std::pair<int, const char*> entries[] = {{1005, "POS_LG"}, {1006, "POS_LD"}, {1007, "POS_REPOS"}};
    for (const auto& [n, entry] : entries) {
        float f = -1.0f;
        EXPECT_FALSE(axe.SetFParam(n, 2.4f)) << n;
        EXPECT_FALSE(axe.LitFParam(n, f)) << n;
        EXPECT_EQ(f, 2.4f) << n;
        EXPECT_EQ(Get(entry), "2") << n;
    }
}

TEST_F(AxeNumTest, TheAxisHasNoRotaryFactors)
{
    CAxeNum axe;
    for (int n = 102; n <= 107; ++n) {
        float f = 4.2f;
        EXPECT_FALSE(axe.LitFParam(n, f)) << n;
        EXPECT_EQ(f, 4.2f) << n;
    }
}

// --- Linear units -----------------------------------------------------------------

TEST_F(AxeNumTest, LinearUnitsConvertThroughTheDriveRatio)
{
    CAxeNum axe;  // units 4, 4, 3; N = 500; T = 4.8825 ms
    ASSERT_TRUE(axe.TraitRecept("ASP000000000000" "00004080" "0064" "000A"));
    EXPECT_FLOAT_EQ(axe.LitSonde(4), 49.999008f);
    EXPECT_FLOAT_EQ(axe.LitSonde(5), 15.504563f);
    EXPECT_FLOAT_EQ(axe.LitSonde(6), 31.755377f);
    float f = 0.0f;
    EXPECT_TRUE(axe.LitFParam(101, f));
    EXPECT_FLOAT_EQ(f, 0.15504564f);
}

// --- Measurements --------------------------------------------------------------

TEST_F(AxeNumTest, ASPFieldsAreTwelveBitThirtyTwoBitAndSixteenBit)
{
    CAxeNum axe;
    EXPECT_TRUE(axe.TraitRecept("!ASP1234" "0800" "07FF" "FFFF8000" "FFFF" "8000\r\n"));
    EXPECT_FLOAT_EQ(axe.LitSonde(2), -2000.0f);
    EXPECT_FLOAT_EQ(axe.LitSonde(3), 24.000469f);
    EXPECT_EQ(axe.LitSonde(1), -32768.0f);
    EXPECT_EQ(axe.LitSonde(0), -1.0f);
    axe.SetCParam(22, 0);
    EXPECT_EQ(axe.LitSonde(6), -3276.8f);
}

TEST_F(AxeNumTest, ShortASPKeepsTheMissingFields)
{
    CAxeNum axe;
    ASSERT_TRUE(axe.TraitRecept("ASP0000" "0000" "0000" "00000010" "0020" "0030"));
    EXPECT_TRUE(axe.TraitRecept("ASP0000" "0010" "0000"));
    EXPECT_FLOAT_EQ(axe.LitSonde(2), 15.625f);
    EXPECT_EQ(axe.LitSonde(3), 0.0f);
    EXPECT_EQ(axe.LitSonde(1), 16.0f);
    EXPECT_EQ(axe.LitSonde(0), 32.0f);
}

// --- Homing, reference move and status -------------------------------------------

TEST_F(AxeNumTest, HomingEndsAtOnceOnAReplyWithoutO)
{
    CAxeNum axe;
    EXPECT_EQ(axe.DmdMesure(10), "XPOM");
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomDemandee);
    Replies(axe, {"!XPOM\r\n"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomFinie);
}

TEST_F(AxeNumTest, HomingUnderWayEndsAtTheFirstClearStatus)
{
    CAxeNum axe;
    axe.DmdMesure(10);
    Replies(axe, {"!XPOM OK\r\n", "!XEFC0100\r\n"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomDemandee);
    EXPECT_TRUE(axe.LitPom());
    Replies(axe, {"!XEFC0000\r\n"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomFinie);
    EXPECT_FALSE(axe.LitPom());
}

TEST_F(AxeNumTest, WithoutAnAcknowledgeTwoClearStatusesEndTheHoming)
{
    CAxeNum axe;
    axe.DmdMesure(10);
    Replies(axe, {"XEFC0000"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomDemandee);
    Replies(axe, {"XEFC0000"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomFinie);
}

TEST_F(AxeNumTest, ANewHomingForgetsWhatTheLastOneSaw)
{
    CAxeNum axe;
    axe.DmdMesure(10);
    Replies(axe, {"XPOM OK"});  // busy seen, answered
    EXPECT_EQ(axe.DmdMesure(10), "XPOM");
    Replies(axe, {"XEFC0000"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomDemandee);
}

TEST_F(AxeNumTest, ReferenceMoveFollowsBitNine)
{
    CAxeNum axe;
    EXPECT_EQ(axe.DmdMesure(12), "XPRX");
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PrxDemandee);
    Replies(axe, {"!XPRX OK\r\n", "XEFC0300"});
    EXPECT_TRUE(axe.LitMvtPr());
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PrxDemandee);
    Replies(axe, {"XEFC0100"});  // bit 8 does not concern the reference move
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PrxFinie);
}

TEST_F(AxeNumTest, ReferenceMoveEndsOnAReplyWithoutO)
{
    CAxeNum axe;
    axe.DmdMesure(12);
    Replies(axe, {"XPRX"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PrxFinie);
}

TEST_F(AxeNumTest, EachRequestIsIssuedOnceUntilAnswered)
{
    CAxeNum axe;
    for (const auto& [n, command] : {std::pair{10, "XPOM"}, std::pair{11, "XEFC"}, std::pair{12, "XPRX"}}) {
        EXPECT_EQ(axe.DmdMesure(n), command) << n;
        EXPECT_EQ(axe.DmdMesure(n), "") << n;
    }
    axe.SetEtatAxnum(CAxeNum::Repos);
    EXPECT_EQ(axe.DmdMesure(10), "");
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::Repos);  // a refused request changes nothing
    Replies(axe, {"XPOM OK", "XEFC0000", "XPRX OK"});
    EXPECT_EQ(axe.DmdMesure(10), "XPOM");
    EXPECT_EQ(axe.DmdMesure(11), "XEFC");
    EXPECT_EQ(axe.DmdMesure(12), "XPRX");
}

TEST_F(AxeNumTest, StatusWordKeepsSixteenBits)
{
    CAxeNum axe;
    Replies(axe, {"XEFC0400"});
    EXPECT_TRUE(axe.LitMvtCible());
    EXPECT_FALSE(axe.LitPom());
    EXPECT_FALSE(axe.LitMvtPr());
    Replies(axe, {"XEFCFFFF"});
    EXPECT_EQ(axe.LitEtatFc(), 0xFFFF);
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::Repos);  // no move followed
}

TEST_F(AxeNumTest, AStatusReplyWithoutAWordAnswersButDecidesNothing)
{
    CAxeNum axe;
    axe.DmdMesure(10);
    axe.DmdMesure(11);
    Replies(axe, {"XEFC0100", "XEFC"});
    EXPECT_EQ(axe.LitEtatFc(), 0x100);
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PomDemandee);
    EXPECT_EQ(axe.DmdMesure(11), "XEFC");
}

TEST_F(AxeNumTest, ALateAcknowledgeDoesNotEndAnotherOperation)
{
    CAxeNum axe;
    axe.DmdMesure(10);
    axe.DmdMesure(12);
    Replies(axe, {"XPOM"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::PrxDemandee);
    axe.SetEtatAxnum(CAxeNum::Repos);
    Replies(axe, {"XPRX"});
    EXPECT_EQ(axe.LitEtatAxnum(), CAxeNum::Repos);
    EXPECT_EQ(axe.DmdMesure(10), "XPOM");  // both answered all the same
    EXPECT_EQ(axe.DmdMesure(12), "XPRX");
}

TEST_F(AxeNumTest, SetEtatAxnumSetsAnyState)
{
    CAxeNum axe;
    axe.SetEtatAxnum(7);
    EXPECT_EQ(axe.LitEtatAxnum(), 7);
}

// --- Summary, archive, copy -----------------------------------------------------------

TEST_F(AxeNumTest, SummaryIsTheMotorCommandOnly)
{
    CAxeNum axe;
    EXPECT_EQ(axe.LitConfiguration(1), " Cde en courant\n");
    EXPECT_EQ(axe.LitConfiguration(0), ", Commande en courant");
    axe.SetCParam(10, 'T');
    EXPECT_EQ(axe.LitConfiguration(1), " Cde en tension\n");
    EXPECT_EQ(axe.LitConfiguration(0), ", Commande en tension");
}

TEST_F(AxeNumTest, ArchiveRecordIsThirtySixBytes)
{
    CAxeNum axe;
    axe.SetCParam(11, '\x12');
    axe.SetCParam(12, '\xFF');
    axe.SetCParam(20, 1);
    axe.SetCParam(21, 2);
    axe.SetFParam(1007, -1.0f);
    const std::string record = StoredHex(axe);
    EXPECT_EQ(record,
              "0000A040"     // sampling period 5.0
              "43000000"     // 'C'
              "F4010000"     // encoder 500
              "1200" "FFFF"  // CMMP, CMMV
              "01000000"     // position unit
              "02000000"     // speed unit
              "03000000"     // acceleration unit
              "000080BF"     // rest -1.0
              "00004842");   // target 50.0

    m_profile->WriteProfileInt("AXNUM", "CODEUR", 1000);
    CAxeNum loaded;
    ASSERT_TRUE(LoadHex(loaded, record));
    EXPECT_EQ(StoredHex(loaded), record);
    float f = 0.0f;
    loaded.LitFParam(1004, f);
    EXPECT_EQ(f, 500.0f);
    EXPECT_EQ(loaded.ConfFerz(1), "DCMMP12");
}

TEST_F(AxeNumTest, CopyTakesTheSettingsAndStartsFresh)
{
    CAxeNum axe;
    axe.SetCParam(10, 'T');
    axe.SetCParam(11, 3);
    axe.SetFParam(1008, 20.0f);
    axe.SetDuree(60);
    axe.TraitRecept("AVPI00000010");
    axe.DmdMesure(10);
    Forget();
    CAxeNum copy(&axe);
    EXPECT_TRUE(m_profile->m_reads.empty());
    EXPECT_EQ(copy.LitGrp(), "X_MODE0_AXNUM");
    EXPECT_EQ(StoredHex(copy), StoredHex(axe));
    EXPECT_EQ(copy.ConfFerz(1010), axe.ConfFerz(1010));
    EXPECT_EQ(copy.LitDuree(), 60);
    EXPECT_EQ(copy.LitSonde(1), 0.0f);
    EXPECT_EQ(copy.LitEtatAxnum(), CAxeNum::Repos);
    EXPECT_EQ(copy.DmdMesure(10), "XPOM");  // the original's request is not the copy's
}
