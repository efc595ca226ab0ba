#include <gtest/gtest.h>

#include <memory>

#include "ElementTestSupport.h"
#include "tarvic/elements/DebitAir.h"

using tarvic::test::ConfigurationSequence;
using tarvic::test::LoadHex;
using tarvic::test::StoredHex;

namespace {

class DebitAirTest : public tarvic::test::BenchTest {
protected:
    DebitAirTest() : BenchTest("DEBITAIR") {}
};

// Shows the fields, whose order and widths are part of the library's interface.
struct DebitAirLayout : CDebitAir {
    using CDebitAir::m_affichage;
    using CDebitAir::m_analog;
    using CDebitAir::m_ciDebit;
    using CDebitAir::m_cmdDebit;
    using CDebitAir::m_cmdTemp;
    using CDebitAir::m_confEntree;
    using CDebitAir::m_confSortie;
    using CDebitAir::m_mesDebit;
    using CDebitAir::m_mesureDebit;
    using CDebitAir::m_mesureTemp;
    std::ptrdiff_t Offset(const void* field) const
    {
        return static_cast<const char*>(field) - reinterpret_cast<const char*>(&m_ciTemp);
    }
};

}  // namespace

TEST_F(DebitAirTest, IndependentFlowCommandSpansTheFourToTwentyMilliampBytes)
{
    CDebitAir element;
    EXPECT_EQ(element.ConfFerz(1), "CIDD33");
    ASSERT_TRUE(element.SetFParam(1, 100.0f));
    EXPECT_EQ(element.ConfFerz(1), "CIDDFF");
    ASSERT_TRUE(element.SetFParam(1, 50.0f));
    EXPECT_EQ(element.ConfFerz(1), "CIDD99");
    ASSERT_TRUE(element.SetFParam(2, 25.0f));
    EXPECT_EQ(element.ConfFerz(2), "CIDT66");
}

TEST_F(DebitAirTest, DefaultConfigurationSequence)
{
    CDebitAir element;
    EXPECT_EQ(ConfigurationSequence(element),
              (std::vector<std::string>{"DFS14", "CIDD33", "CIDT33", "DFS24", "DFE14", "DFE24"}));
}

TEST_F(DebitAirTest, FragmentsNameTheChannelsOneBased)
{
    Set("MESURETEMP", 2);
    Set("MESUREDEBIT", 9);
    Set("CMDDEBIT", 1);
    CDebitAir element;
    EXPECT_EQ(element.ConfFerz(758), "TB3");
    EXPECT_EQ(element.ConfFerz(759), "TBa");
    EXPECT_EQ(element.ConfFerz(1000), "D");
    EXPECT_EQ(element.ConfFerz(1004), "2");
    EXPECT_EQ(element.ConfFerz(1005), "10");
    EXPECT_EQ(element.ConfFerz(1006), "3");
    for (const int other : {-1, 6, 757, 760, 763, 1001, 1009}) EXPECT_EQ(element.ConfFerz(other), "") << other;
}

TEST_F(DebitAirTest, OutputConfigurationCodesFollowTheirChannels)
{
    Set("CMDDEBIT", 1);
    Set("CONFCDEBIT", 6);
    Set("CMDTEMP", 0);
    Set("CONFCTEMP", 11);
    CDebitAir element;
    EXPECT_EQ(element.ConfFerz(0), "DFS26");
    EXPECT_EQ(element.ConfFerz(3), "DFS1b");
}

TEST_F(DebitAirTest, ChannelsTheCardDoesNotHaveKeepNoCode)
{
    Set("CMDTEMP", 5);
    Set("CONFCTEMP", 9);
    Set("CMDDEBIT", -1);
    Set("CONFCDEBIT", 8);
    Set("MESURETEMP", 3);
    Set("CONFMTEMP", 7);
    CDebitAir element;
    // The channel numbers still go out as set; their codes read as the factory code.
    EXPECT_EQ(element.ConfFerz(3), "DFS64");
    EXPECT_EQ(element.ConfFerz(0), "DFS04");
    // The record holds the factory code for each of them.
    EXPECT_EQ(StoredHex(element),
              "00000000" "00000000" "03" "FFFFFFFF" "05000000" "00000000" "03000000"
              "04000000" "04000000" "04000000" "04000000");
    EXPECT_EQ(element.LitSonde(6), 0.0f);
}

TEST_F(DebitAirTest, MeasurementRequests)
{
    CDebitAir element;
    EXPECT_EQ(element.DmdMesure(0), "AEBC");
    EXPECT_EQ(element.DmdMesure(1), "ASBC");
    EXPECT_EQ(element.DmdMesure(2), "AMD");
    EXPECT_EQ(element.DmdMesure(3), "");
    EXPECT_EQ(element.DmdMesure(-1), "");
}

TEST_F(DebitAirTest, InputReplyAndTemperatureInPercent)
{
    CDebitAir element;
    EXPECT_TRUE(element.TraitRecept("!AEBC0FFF09990000"));
    EXPECT_EQ(element.LitSonde(0), 20.0f);
    EXPECT_FLOAT_EQ(element.LitSonde(1), 12.0f);
    EXPECT_EQ(element.LitSonde(2), 0.0f);
    EXPECT_FLOAT_EQ(element.LitSonde(6), 50.0f);
}

TEST_F(DebitAirTest, TemperaturePercentIsIndexedByTheHeatingOutputNumber)
{
    Set("CMDTEMP", 0);
    Set("MESURETEMP", 2);
    CDebitAir element;
    ASSERT_TRUE(element.TraitRecept("AEBC09990FFF0FFF"));
    EXPECT_FLOAT_EQ(element.LitSonde(6), 50.0f);
}

TEST_F(DebitAirTest, OutputReply)
{
    CDebitAir element;
    EXPECT_TRUE(element.TraitRecept("!ASBCFF00"));
    EXPECT_EQ(element.LitSonde(3), 20.0f);
    EXPECT_EQ(element.LitSonde(4), 0.0f);
}

TEST_F(DebitAirTest, FlowReplySkipsOneCharacterAfterItsMnemonic)
{
    CDebitAir element;
    EXPECT_TRUE(element.TraitRecept("!AMD 0CCC"));
    EXPECT_EQ(element.LitSonde(5), 100.0f);
    EXPECT_TRUE(element.TraitRecept("!AMD=FFFF"));
    EXPECT_FLOAT_EQ(element.LitSonde(5), -100.0f / 3276.0f);
    // A reply without its field keeps the last value.
    EXPECT_TRUE(element.TraitRecept("!AMD"));
    EXPECT_FLOAT_EQ(element.LitSonde(5), -100.0f / 3276.0f);
}

TEST_F(DebitAirTest, FlowReplyIsLookedForAfterTheAnalogReplies)
{
    CDebitAir element;
    EXPECT_TRUE(element.TraitRecept("AMD 0CCC ASBCFF"));
    EXPECT_EQ(element.LitSonde(3), 20.0f);
    EXPECT_EQ(element.LitSonde(5), 0.0f);
}

TEST_F(DebitAirTest, UnknownRepliesAndMeasurementsChangeNothing)
{
    CDebitAir element;
    ASSERT_TRUE(element.TraitRecept("AMD 0CCC"));
    EXPECT_FALSE(element.TraitRecept("!AM 0000"));
    EXPECT_FALSE(element.TraitRecept("OK"));
    EXPECT_EQ(element.LitSonde(5), 100.0f);
    EXPECT_EQ(element.LitSonde(7), 0.0f);
    EXPECT_EQ(element.LitSonde(-1), 0.0f);
}

TEST_F(DebitAirTest, CommandValuesAreKeptInTheProfileWithTwoDecimals)
{
    CDebitAir element;
    ASSERT_TRUE(element.SetFParam(1, 12.345f));
    ASSERT_TRUE(element.SetFParam(2, 66.666f));
    EXPECT_EQ(Get("CI_DEBIT"), "12.35");
    EXPECT_EQ(Get("CI_TEMP"), "66.67");
    float v = 0.0f;
    ASSERT_TRUE(element.LitFParam(1, v));
    EXPECT_EQ(v, 12.345f);

    CDebitAir next;
    ASSERT_TRUE(next.LitFParam(1, v));
    EXPECT_EQ(v, 12.35f);
    ASSERT_TRUE(next.LitFParam(2, v));
    EXPECT_EQ(v, 66.67f);
}

TEST_F(DebitAirTest, CommandValueThatDoesNotScanTakesTheDefault)
{
    m_profile->WriteProfileString("DEBITAIR", "CI_DEBIT", "beaucoup");
    m_profile->WriteProfileString("DEBITAIR", "CI_TEMP", "42.5");
    CDebitAir element;
    float v = -1.0f;
    ASSERT_TRUE(element.LitFParam(1, v));
    EXPECT_EQ(v, 0.0f);
    ASSERT_TRUE(element.LitFParam(2, v));
    EXPECT_EQ(v, 42.5f);
}

TEST_F(DebitAirTest, UnlistedParametersChangeNothing)
{
    CDebitAir element;
    m_profile->m_writes.clear();
    float f = 3.0f;
    int i = 3;
    EXPECT_FALSE(element.SetFParam(0, 80.0f));
    EXPECT_FALSE(element.SetFParam(3, 80.0f));
    EXPECT_FALSE(element.LitFParam(3, f));
    EXPECT_FALSE(element.LitCParam(250, i));
    EXPECT_FALSE(element.SetCParam(1, 0));
    EXPECT_EQ(f, 3.0f);
    EXPECT_EQ(i, 3);
    EXPECT_TRUE(m_profile->m_writes.empty());
    EXPECT_EQ(ConfigurationSequence(element),
              (std::vector<std::string>{"DFS14", "CIDD33", "CIDT33", "DFS24", "DFE14", "DFE24"}));
    ASSERT_TRUE(element.LitCParam(1000, i));
    EXPECT_EQ(i, 9);
}

TEST_F(DebitAirTest, SummaryOnSeveralLines)
{
    CDebitAir element;
    element.SetFParam(1, 12.5f);
    element.SetFParam(2, 7.0f);
    EXPECT_EQ(element.LitConfiguration(1), "\\gCmd ind\xE9p.:\n D\xE9" "bit =12.50 %\n Temp. =7.00 %\n");
}

TEST_F(DebitAirTest, SummaryOnOneLine)
{
    CDebitAir element;
    element.SetFParam(1, 12.5f);
    element.SetFParam(2, 7.0f);
    EXPECT_EQ(element.LitConfiguration(0),
              "\n\\gCommande independantes:\\n  D\xE9" "bit =12.50 % Temp\xE9" "rature =7.00 %");
}

TEST_F(DebitAirTest, DisplayMaskChoosesTheListedCommands)
{
    CDebitAir element;
    m_profile->m_writes.clear();
    EXPECT_FALSE(element.SetCParam(250, 1));
    EXPECT_EQ(element.LitConfiguration(1), "\\gCmd ind\xE9p.:\n D\xE9" "bit =0.00 %\n");
    EXPECT_FALSE(element.SetCParam(250, 2));
    EXPECT_EQ(element.LitConfiguration(0), "\n\\gCommande independantes:\\n  Temp\xE9" "rature =0.00 %");
    EXPECT_FALSE(element.SetCParam(250, 0));
    EXPECT_EQ(element.LitConfiguration(5), "\\gCmd ind\xE9p.:\n");
    EXPECT_TRUE(m_profile->m_writes.empty());
}

TEST_F(DebitAirTest, ArchiveRecordIsFortyOneBytes)
{
    CDebitAir element;
    element.SetFParam(2, 25.0f);
    element.SetFParam(1, 50.0f);
    EXPECT_EQ(StoredHex(element),
              "0000C841" "00004842" "03" "00000000" "01000000" "00000000" "01000000"
              "04000000" "04000000" "04000000" "04000000");
}

TEST_F(DebitAirTest, ArchiveRestoresTheChannelsBeforeTheirCodes)
{
    Set("CMDDEBIT", 1);
    Set("CONFCDEBIT", 6);
    Set("CMDTEMP", 0);
    Set("CONFCTEMP", 7);
    Set("MESUREDEBIT", 2);
    Set("CONFMDEBIT", 8);
    Set("MESURETEMP", 0);
    Set("CONFMTEMP", 9);
    CDebitAir written;
    written.SetCParam(250, 2);
    const std::string record = StoredHex(written);
    EXPECT_EQ(record,
              "00000000" "00000000" "02" "01000000" "00000000" "02000000" "00000000"
              "09000000" "08000000" "06000000" "07000000");

    tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
    CDebitAir fresh;
    ASSERT_TRUE(LoadHex(fresh, record));
    EXPECT_EQ(fresh.ConfFerz(0), "DFS26");
    EXPECT_EQ(fresh.ConfFerz(3), "DFS17");
    EXPECT_EQ(fresh.ConfFerz(758), "TB1");
    EXPECT_EQ(fresh.ConfFerz(759), "TB3");
    EXPECT_EQ(fresh.LitConfiguration(1), "\\gCmd ind\xE9p.:\n Temp. =0.00 %\n");
    EXPECT_EQ(StoredHex(fresh), record);
}

TEST_F(DebitAirTest, TruncatedArchiveLeavesTheElementAsItWas)
{
    CDebitAir element;
    element.SetFParam(1, 50.0f);
    const std::string before = StoredHex(element);
    EXPECT_FALSE(LoadHex(element,
                         "00000000" "00000000" "02" "01000000" "00000000" "02000000" "00000000"
                         "09000000" "08000000" "06000000" "070000"));
    EXPECT_EQ(StoredHex(element), before);
}

TEST_F(DebitAirTest, CopyTakesTheSettingsButNotTheReadings)
{
    Set("CMDTEMP", 0);
    Set("CONFCTEMP", 5);
    CDebitAir original;
    original.SetFParam(1, 50.0f);
    original.SetCParam(250, 1);
    ASSERT_TRUE(original.TraitRecept("AEBC0FFF0FFF0FFF"));
    ASSERT_TRUE(original.TraitRecept("ASBCFFFF"));
    ASSERT_TRUE(original.TraitRecept("AMD 0CCC"));
    m_profile->m_writes.clear();
    CDebitAir copy(&original);
    EXPECT_EQ(StoredHex(copy), StoredHex(original));
    EXPECT_EQ(copy.LitGrp(), "D_MODE0_DEBITAIR");
    for (int n = 0; n <= 6; ++n) EXPECT_EQ(copy.LitSonde(n), n == 6 ? -25.0f : 0.0f) << n;
    EXPECT_TRUE(m_profile->m_writes.empty());
}

TEST_F(DebitAirTest, FactoryDefaultsAreWrittenInOrder)
{
    CDebitAir element;
    m_profile->m_writes.clear();
    element.InitValeur();
    std::vector<std::string> expected{
        "FERZ/TE=50",         "ENREGISTREMENT/TEM=50", "DEBITAIR/MESURETEMP=1",     "DEBITAIR/MESUREDEBIT=0",
        "DEBITAIR/CMDTEMP=1", "DEBITAIR/CMDDEBIT=0",   "DEBITAIR/CI_DEBIT=\"0.0\"", "DEBITAIR/CI_TEMP=\"0.0\""};
    using tarvic::test::Append;
    using tarvic::test::GeneWrites;
    Append(expected, GeneWrites("D_MODE0_GENE1", {"50", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "10.0"}));
    Append(expected,
           GeneWrites("D_MODE1_GENE", {"50.0", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "100.0"}));
    Append(expected, {"D_MODE1_PID/KP=\"1.0\"", "D_MODE1_PID/KS=\"1.0\"", "D_MODE1_PID/TI=\"0.500\"",
                      "D_MODE1_PID/TD=\"0.400\"", "D_MODE1_PID/KF=\"8.0\""});
    Append(expected,
           GeneWrites("D_MODE3_GENE", {"50.0", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "100.0"}));
    Append(expected, {"D_MODE3_CorZ/coefC0=\"1.0\"", "D_MODE3_CorZ/coefC1=\"0.0\"", "D_MODE3_CorZ/coefC2=\"0.0\"",
                      "D_MODE3_CorZ/coefC3=\"0.0\"", "D_MODE3_CorZ/coefB0=\"0.0\"", "D_MODE3_CorZ/coefB1=\"0.0\"",
                      "D_MODE3_CorZ/coefB2=\"0.0\""});
    EXPECT_EQ(m_profile->m_writes, expected);
}

TEST_F(DebitAirTest, FactoryDefaultsResetTheChannels)
{
    Set("CMDDEBIT", 1);
    Set("MESURETEMP", 2);
    m_profile->WriteProfileString("DEBITAIR", "CI_DEBIT", "80.00");
    CDebitAir element;
    element.InitValeur();
    CDebitAir next;
    EXPECT_EQ(ConfigurationSequence(next),
              (std::vector<std::string>{"DFS14", "CIDD33", "CIDT33", "DFS24", "DFE14", "DFE24"}));
    EXPECT_EQ(next.ConfFerz(758), "TB2");
}

TEST_F(DebitAirTest, FieldsLieInTheirDocumentedOrder)
{
    DebitAirLayout element;
    EXPECT_EQ(element.Offset(&element.m_ciDebit), 4);
    EXPECT_EQ(element.Offset(&element.m_cmdDebit), 8);
    EXPECT_EQ(element.Offset(&element.m_cmdTemp), 12);
    EXPECT_EQ(element.Offset(&element.m_mesureDebit), 16);
    EXPECT_EQ(element.Offset(&element.m_mesureTemp), 20);
    EXPECT_EQ(element.Offset(&element.m_confEntree), 24);
    EXPECT_EQ(element.Offset(&element.m_confSortie), 36);
    EXPECT_EQ(element.Offset(&element.m_mesDebit), 44);
    EXPECT_EQ(element.Offset(&element.m_analog), 48);
    EXPECT_EQ(element.Offset(&element.m_affichage), 68);
}

TEST_F(DebitAirTest, IsCreatableFromItsArchivedName)
{
    const CRuntimeClass* cls = CRuntimeClass::FromName("CDebitAir");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->m_wSchema, 0);
    std::unique_ptr<CObject> object(cls->CreateObject());
    ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(CEidElement)));
    auto* element = static_cast<CEidElement*>(object.get());
    EXPECT_EQ(element->LitGrp(), "D_MODE0_DEBITAIR");
    EXPECT_EQ(element->NbParam(), 6);
}

TEST_F(DebitAirTest, ArchivedObjectComesBackAsADebitAir)
{
    Set("CMDDEBIT", 1);
    CDebitAir written;
    written.SetFParam(1, 100.0f);
    tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
    const auto loaded = tarvic::test::ThroughArchive(written);
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetRuntimeClass(), RUNTIME_CLASS(CDebitAir));
    auto& element = static_cast<CDebitAir&>(*loaded);
    EXPECT_EQ(element.ConfFerz(0), "DFS24");
    EXPECT_EQ(element.ConfFerz(1), "CIDDFF");
}
