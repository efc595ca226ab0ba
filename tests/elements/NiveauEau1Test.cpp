#include <gtest/gtest.h>

#include <memory>

#include "ElementTestSupport.h"
#include "tarvic/elements/NiveauEau1.h"

using tarvic::test::ConfigurationSequence;
using tarvic::test::LoadHex;
using tarvic::test::StoredHex;

namespace {

class NiveauEauTest : public tarvic::test::BenchTest {
protected:
    NiveauEauTest() : BenchTest("NIVEAUEAU") {}
};

// Shows the fields, whose order and widths are part of the library's interface.
struct NiveauEauLayout : CNiveauEau {
    using CNiveauEau::m_affichage;
    using CNiveauEau::m_analog;
    using CNiveauEau::m_ciPompe;
    using CNiveauEau::m_mesureDebit;
    using CNiveauEau::m_mesureNiv1;
    using CNiveauEau::m_mesureNiv2;
    std::ptrdiff_t Offset(const void* field) const
    {
        return static_cast<const char*>(field) - reinterpret_cast<const char*>(&m_cDebit);
    }
};

}  // namespace

TEST_F(NiveauEauTest, PumpCommandSpansTheWholeByte)
{
    CNiveauEau element;
    EXPECT_EQ(element.ConfFerz(1), "CIDD00");
    ASSERT_TRUE(element.SetFParam(1, 50.0f));
    EXPECT_EQ(element.ConfFerz(1), "CIDD7F");
    ASSERT_TRUE(element.SetFParam(1, 100.0f));
    EXPECT_EQ(element.ConfFerz(1), "CIDDFF");
}

TEST_F(NiveauEauTest, DefaultConfigurationSequence)
{
    CNiveauEau element;
    EXPECT_EQ(ConfigurationSequence(element), (std::vector<std::string>{"DFS14", "CIDD00", "DFE14", "DFE24", "DFE34"}));
}

TEST_F(NiveauEauTest, ChannelsComeFromTheProfile)
{
    Set("CDEBIT", 1);
    Set("MESUREDEBIT", 2);
    Set("MESURENIV1", 0);
    Set("MESURENIV2", 10);
    CNiveauEau element;
    EXPECT_EQ(element.ConfFerz(0), "DFS24");
    EXPECT_EQ(element.ConfFerz(759), "TB3");
    EXPECT_EQ(element.ConfFerz(763), "TB1");
    EXPECT_EQ(element.ConfFerz(764), "TBb");
    EXPECT_EQ(element.ConfFerz(1000), "N");
    EXPECT_EQ(element.ConfFerz(1004), "2");
    EXPECT_EQ(element.ConfFerz(1005), "3");
    EXPECT_EQ(element.ConfFerz(1006), "1");
    for (const int other : {-1, 5, 758, 760, 762, 765, 1001, 1009}) EXPECT_EQ(element.ConfFerz(other), "") << other;
}

TEST_F(NiveauEauTest, MeasurementRequests)
{
    CNiveauEau element;
    EXPECT_EQ(element.DmdMesure(0), "AEBC");
    EXPECT_EQ(element.DmdMesure(1), "ASBC");
    EXPECT_EQ(element.DmdMesure(2), "");
    EXPECT_EQ(element.DmdMesure(-1), "");
}

TEST_F(NiveauEauTest, InputsAsReadingsAndAsPercent)
{
    CNiveauEau element;
    EXPECT_TRUE(element.TraitRecept("!AEBC0FFF09990666"));
    EXPECT_EQ(element.LitSonde(2), 8.0f);
    EXPECT_EQ(element.LitSonde(7), 25.0f);
    EXPECT_EQ(element.LitSonde(0), 20.0f);
    EXPECT_EQ(element.LitSonde(5), 100.0f);
    EXPECT_FLOAT_EQ(element.LitSonde(1), 12.0f);
    EXPECT_FLOAT_EQ(element.LitSonde(6), 50.0f);
}

TEST_F(NiveauEauTest, OutputReply)
{
    CNiveauEau element;
    EXPECT_TRUE(element.TraitRecept("!ASBC00FF"));
    EXPECT_EQ(element.LitSonde(3), 0.0f);
    EXPECT_EQ(element.LitSonde(4), 20.0f);
}

TEST_F(NiveauEauTest, FlowReplyIsNotThisBenchs)
{
    CNiveauEau element;
    ASSERT_TRUE(element.TraitRecept("ASBCFFFF"));
    EXPECT_FALSE(element.TraitRecept("!AMD 0CCC"));
    EXPECT_FALSE(element.TraitRecept("!OK"));
    EXPECT_EQ(element.LitSonde(3), 20.0f);
    EXPECT_EQ(element.LitSonde(8), 0.0f);
    EXPECT_EQ(element.LitSonde(-1), 0.0f);
}

TEST_F(NiveauEauTest, PumpCommandIsNotKeptInTheProfile)
{
    CNiveauEau element;
    m_profile->m_writes.clear();
    ASSERT_TRUE(element.SetFParam(1, 40.0f));
    float v = 0.0f;
    ASSERT_TRUE(element.LitFParam(1, v));
    EXPECT_EQ(v, 40.0f);
    EXPECT_TRUE(m_profile->m_writes.empty());
    CNiveauEau next;
    ASSERT_TRUE(next.LitFParam(1, v));
    EXPECT_EQ(v, 0.0f);
}

TEST_F(NiveauEauTest, UnlistedParametersChangeNothing)
{
    CNiveauEau element;
    float f = 3.0f;
    int i = 3;
    EXPECT_FALSE(element.SetFParam(2, 80.0f));
    EXPECT_FALSE(element.SetFParam(0, 80.0f));
    EXPECT_FALSE(element.LitFParam(2, f));
    EXPECT_FALSE(element.LitCParam(250, i));
    EXPECT_FALSE(element.SetCParam(249, 0));
    EXPECT_EQ(f, 3.0f);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(element.ConfFerz(1), "CIDD00");
    EXPECT_EQ(element.LitConfiguration(1), "\n\\gCde independantes:\\n\n Pompe = 0.00 %");
    ASSERT_TRUE(element.LitCParam(1000, i));
    EXPECT_EQ(i, 9);
}

TEST_F(NiveauEauTest, SummaryInBothLayouts)
{
    CNiveauEau element;
    element.SetFParam(1, 62.5f);
    EXPECT_EQ(element.LitConfiguration(1), "\n\\gCde independantes:\\n\n Pompe = 62.50 %");
    EXPECT_EQ(element.LitConfiguration(0), "\n\\gCommande independantes:\\n  Pompe =  62.50 %\n");
}

TEST_F(NiveauEauTest, DisplayMaskZeroGivesAnEmptySummary)
{
    CNiveauEau element;
    EXPECT_FALSE(element.SetCParam(250, 0));
    EXPECT_EQ(element.LitConfiguration(1), "");
    EXPECT_EQ(element.LitConfiguration(0), "");
    EXPECT_FALSE(element.SetCParam(250, 3));
    EXPECT_EQ(element.LitConfiguration(0), "\n\\gCommande independantes:\\n  Pompe =  0.00 %\n");
}

TEST_F(NiveauEauTest, ArchiveRecordIsTwentyOneBytes)
{
    CNiveauEau element;
    element.SetFParam(1, 50.0f);
    EXPECT_EQ(StoredHex(element), "00004842" "01" "00000000" "00000000" "01000000" "02000000");
}

TEST_F(NiveauEauTest, ArchiveRestoresChannelsAndPumpCommand)
{
    Set("CDEBIT", 1);
    Set("MESUREDEBIT", 2);
    Set("MESURENIV1", 0);
    Set("MESURENIV2", 1);
    CNiveauEau written;
    written.SetFParam(1, 100.0f);
    written.SetCParam(250, 0);
    const std::string record = StoredHex(written);
    EXPECT_EQ(record, "0000C842" "00" "01000000" "02000000" "00000000" "01000000");

    tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
    CNiveauEau fresh;
    ASSERT_TRUE(LoadHex(fresh, record));
    EXPECT_EQ(ConfigurationSequence(fresh), (std::vector<std::string>{"DFS24", "CIDDFF", "DFE14", "DFE24", "DFE34"}));
    EXPECT_EQ(fresh.ConfFerz(759), "TB3");
    EXPECT_EQ(fresh.ConfFerz(763), "TB1");
    EXPECT_EQ(fresh.ConfFerz(764), "TB2");
    EXPECT_EQ(fresh.LitConfiguration(1), "");
    EXPECT_EQ(StoredHex(fresh), record);
}

TEST_F(NiveauEauTest, TruncatedArchiveLeavesTheElementAsItWas)
{
    CNiveauEau element;
    const std::string before = StoredHex(element);
    EXPECT_FALSE(LoadHex(element, "0000C842" "00" "01000000" "02000000" "00000000" "0100"));
    EXPECT_EQ(StoredHex(element), before);
}

TEST_F(NiveauEauTest, CopyTakesTheSettingsButNotTheReadings)
{
    Set("MESURENIV2", 0);
    CNiveauEau original;
    original.SetFParam(1, 30.0f);
    original.SetCParam(250, 0);
    ASSERT_TRUE(original.TraitRecept("AEBC0FFF0FFF0FFF"));
    ASSERT_TRUE(original.TraitRecept("ASBCFFFF"));
    CNiveauEau copy(&original);
    EXPECT_EQ(StoredHex(copy), StoredHex(original));
    EXPECT_EQ(copy.LitGrp(), "D_MODE0_NIVEAUEAU");
    for (int n = 0; n <= 4; ++n) EXPECT_EQ(copy.LitSonde(n), 0.0f) << n;
}

TEST_F(NiveauEauTest, FactoryDefaultsAreWrittenInOrder)
{
    m_profile->WriteProfileInt("TYPE", "PO", 'N');
    m_profile->WriteProfileInt("TYPE", "REGULATEUR", 3);
    CNiveauEau element;
    m_profile->m_writes.clear();
    element.InitValeur();
    std::vector<std::string> expected{"FERZ/TE=500",
                                      "ENREGISTREMENT/TEM=500",
                                      "NIVEAUEAU/MESUREDEBIT=0",
                                      "NIVEAUEAU/MESURENIV1=1",
                                      "NIVEAUEAU/MESURENIV2=2",
                                      "NIVEAUEAU/CDEBIT=0"};
    using tarvic::test::Append;
    using tarvic::test::GeneWrites;
    Append(expected, GeneWrites("N_MODE0_GENE1", {"50", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "10.0"}));
    Append(expected,
           GeneWrites("N_MODE1_GENE", {"50.0", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "100.0"}));
    Append(expected, {"N_MODE1_PID/KP=\"1.0\"", "N_MODE1_PID/KS=\"1.0\"", "N_MODE1_PID/TI=\"8.000\"",
                      "N_MODE1_PID/TD=\"6.500\"", "N_MODE1_PID/KF=\"8.0\""});
    Append(expected,
           GeneWrites("N_MODE3_GENE", {"50.0", "20.0", "10.0", "1.0", "0.4", "0.0", "10.0", "25.0", "100.0"}));
    Append(expected, {"N_MODE3_CorZ/coefC0=\"1.0\"", "N_MODE3_CorZ/coefC1=\"0.0\"", "N_MODE3_CorZ/coefC2=\"0.0\"",
                      "N_MODE3_CorZ/coefC3=\"0.0\"", "N_MODE3_CorZ/coefB0=\"0.0\"", "N_MODE3_CorZ/coefB1=\"0.0\"",
                      "N_MODE3_CorZ/coefB2=\"0.0\""});
    EXPECT_EQ(m_profile->m_writes, expected);
    EXPECT_EQ(element.LitGrp(), "N_MODE3_NIVEAUEAU");
}

TEST_F(NiveauEauTest, FieldsLieInTheirDocumentedOrder)
{
    NiveauEauLayout element;
    EXPECT_EQ(element.Offset(&element.m_mesureNiv1), 4);
    EXPECT_EQ(element.Offset(&element.m_mesureNiv2), 8);
    EXPECT_EQ(element.Offset(&element.m_mesureDebit), 12);
    EXPECT_EQ(element.Offset(&element.m_analog), 16);
    EXPECT_EQ(element.Offset(&element.m_ciPompe), 36);
    EXPECT_EQ(element.Offset(&element.m_affichage), 40);
}

TEST_F(NiveauEauTest, IsCreatableFromItsArchivedName)
{
    const CRuntimeClass* cls = CRuntimeClass::FromName("CNiveauEau");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->m_wSchema, 0);
    std::unique_ptr<CObject> object(cls->CreateObject());
    ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(CEidElement)));
    EXPECT_EQ(static_cast<CEidElement*>(object.get())->NbParam(), 5);
}

TEST_F(NiveauEauTest, ArchivedObjectComesBackAsANiveauEau)
{
    Set("MESURENIV1", 2);
    CNiveauEau written;
    written.SetFParam(1, 50.0f);
    tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
    const auto loaded = tarvic::test::ThroughArchive(written);
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetRuntimeClass(), RUNTIME_CLASS(CNiveauEau));
    auto& element = static_cast<CNiveauEau&>(*loaded);
    EXPECT_EQ(element.ConfFerz(763), "TB3");
    EXPECT_EQ(element.ConfFerz(1), "CIDD7F");
}
