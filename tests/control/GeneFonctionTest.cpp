// Setpoint generator: parameters and their profile, commands of the download,
// descriptions, copies and archives.
#include <gtest/gtest.h>

#include "GeneFixture.h"
#include "tarvic/platform/StringTable.h"

using tarvic::test::Charge;
using tarvic::test::Octets;
using tarvic::test::Stocke;

namespace {

class GeneFonctionTest : public tarvic::test::GeneTest {};

}  // namespace

// --- construction -------------------------------------------------------------------

TEST_F(GeneFonctionTest, NamedGeneratorReadsItsModeSection)
{
    Banc('S', 4);
    const std::string section = "S_MODE4_GENE";
    m_profile->WriteProfileInt(section, "TYPE", 6);
    m_profile->WriteProfileString(section, "ECHELON", "250");
    m_profile->WriteProfileString(section, "C_REPOS", "12.5");
    m_profile->WriteProfileString(section, "TE_SINUS", "40");
    m_profile->WriteProfileString(section, "ACCELERATION", "x");
    m_profile->WriteProfileInt("FERZ", "TE", 20);
    CGeneFonction gene("GENE");
    EXPECT_EQ(gene.LitGrp(), section);
    EXPECT_EQ(gene.TypeSignal, 6);
    EXPECT_EQ(gene.ECHELON, 250.0f);
    EXPECT_EQ(gene.C_REPOS, 12.5f);
    EXPECT_EQ(gene.TE_SINUS, 40.0f);
    EXPECT_EQ(gene.ACCELERATION, 20.0f);
    EXPECT_EQ(gene.RAMPE, 10.0f);
    EXPECT_EQ(gene.FREQUENCE, 1.0f);
    EXPECT_EQ(gene.AMPLITUDE, 10.0f);
    EXPECT_EQ(gene.TE_PT, 500.0f);
    EXPECT_EQ(gene.TE, 20.0f);
    EXPECT_EQ(gene.NbPoints, 0);
    EXPECT_TRUE(gene.TablePoints.empty());
    EXPECT_EQ(gene.GainValeur, 1.0f);
    EXPECT_EQ(gene.UniteValeur, "");
}

TEST_F(GeneFonctionTest, AxisGeneratorAlwaysRestsAtZero)
{
    Banc('X', 5);
    m_profile->WriteProfileString("X_MODE5_GENE", "C_REPOS", "40");
    CGeneFonction gene("GENE");
    EXPECT_EQ(gene.C_REPOS, 0.0f);
}

TEST_F(GeneFonctionTest, DefaultConstructedGeneratorHasTheNamedDefaults)
{
    CGeneFonction gene;
    EXPECT_EQ(gene.LitGrp(), "D_MODE0_");
    EXPECT_EQ(gene.RAMPE, 10.0f);
    EXPECT_EQ(gene.AMPLITUDE, 10.0f);
    EXPECT_EQ(gene.ACCELERATION, 20.0f);
    EXPECT_EQ(gene.TE_PT, 500.0f);
    EXPECT_EQ(gene.TE, 100.0f);
    EXPECT_EQ(gene.TypeSignal, 0);
}

TEST_F(GeneFonctionTest, CopyMustBeRecalculated)
{
    Banc('X', 5);
    CGeneFonction gene("GENE1");
    gene.SetFParam(0, 1000.0f);
    gene.SetFParam(1, 150.0f);
    gene.SetCParam(0, CGeneFonction::Rampe);
    gene.SetCParam(1, 7);
    gene.TypeSortie = 'T';
    gene.GainValeur = 2.0f;
    gene.UniteValeur = "mm";
    ASSERT_EQ(gene.NbPoints, 69);
    CGeneFonction copy(&gene);
    EXPECT_EQ(copy.LitGrp(), "X_MODE5_GENE1");
    EXPECT_EQ(copy.ECHELON, 1000.0f);
    EXPECT_EQ(copy.TypeSignal, CGeneFonction::Rampe);
    EXPECT_EQ(copy.TypeSortie, 'T');
    EXPECT_EQ(copy.Option, 7);
    EXPECT_EQ(copy.GainValeur, 2.0f);
    EXPECT_EQ(copy.UniteValeur, "mm");
    EXPECT_EQ(copy.NbPoints, 0);
    EXPECT_EQ(copy.NbBlocs, 0);
    EXPECT_TRUE(copy.TablePoints.empty());
    EXPECT_EQ(copy.TE_PT, 500.0f);
    EXPECT_EQ(copy.NbParam(), 6);
}

// --- parameters ------------------------------------------------------------------------

TEST_F(GeneFonctionTest, PercentParametersAreStoredAsGivenAndPersisted)
{
    CGeneFonction gene("GENE");
    const char* entries[] = {"ECHELON", "RAMPE", "FREQUENCE", "RETARD", "C_REPOS", "AMPLITUDE", "ACCELERATION"};
    for (int n = 0; n <= 6; ++n) {
        float v = -1.0f;
        EXPECT_TRUE(gene.SetFParam(n, 1.5f + static_cast<float>(n)));
        EXPECT_TRUE(gene.LitFParam(n, v));
        EXPECT_EQ(v, 1.5f + static_cast<float>(n));
        EXPECT_EQ(Entree("D_MODE0_GENE", entries[n]), tarvic::Format("%.3f", 1.5 + n));
    }
    EXPECT_TRUE(gene.SetFParam(1002, 300.0f));
    EXPECT_EQ(Entree("D_MODE0_GENE", "TE_PT"), "300.000");
    CGeneFonction next("GENE");
    EXPECT_EQ(next.ECHELON, 1.5f);
    EXPECT_EQ(next.ACCELERATION, 7.5f);
    EXPECT_EQ(next.TE_PT, 300.0f);
}

TEST_F(GeneFonctionTest, OpenLoopGeneratorConvertsVoltsAndMilliamps)
{
    Banc('I');
    CGeneFonction gene("GENE1");
    gene.SetCParam(55, 'T');
    float v = 0;
    EXPECT_TRUE(gene.SetFParam(0, 12.0f));
    EXPECT_EQ(gene.ECHELON, 512.0f);
    EXPECT_EQ(Entree("I_MODE0_GENE1", "ECHELON"), "512.000");
    EXPECT_TRUE(gene.LitFParam(0, v));
    EXPECT_EQ(v, 12.0f);
    EXPECT_TRUE(gene.SetFParam(2, 3.0f));  // the frequency is no level
    EXPECT_EQ(gene.FREQUENCE, 3.0f);
    gene.SetCParam(55, 'C');
    EXPECT_TRUE(gene.SetFParam(1, 250.0f));
    EXPECT_EQ(gene.RAMPE, 512.0f);
    EXPECT_TRUE(gene.LitFParam(1, v));
    EXPECT_EQ(v, 250.0f);
    gene.SetCParam(55, 0);
    EXPECT_TRUE(gene.SetFParam(6, 40.0f));
    EXPECT_EQ(gene.ACCELERATION, 40.0f);
    EXPECT_TRUE(gene.LitFParam(6, v));
    EXPECT_EQ(v, 40.0f);
}

TEST_F(GeneFonctionTest, ClosedLoopGeneratorDividesByItsGains)
{
    Banc('X', 5);
    CGeneFonction gene("GENE");
    gene.GainValeur = 0.5f;
    gene.GainRampe = 4.0f;
    gene.GainAcceleration = 8.0f;
    float v = 0;
    gene.SetFParam(5, 10.0f);
    EXPECT_EQ(gene.AMPLITUDE, 20.0f);
    gene.SetFParam(1, 10.0f);
    EXPECT_EQ(gene.RAMPE, 2.5f);
    gene.SetFParam(6, 16.0f);
    EXPECT_EQ(gene.ACCELERATION, 2.0f);
    gene.SetFParam(3, 1.5f);
    EXPECT_EQ(gene.RETARD, 1.5f);
    EXPECT_TRUE(gene.LitFParam(6, v));
    EXPECT_EQ(v, 16.0f);
    EXPECT_TRUE(gene.LitFParam(5, v));
    EXPECT_EQ(v, 10.0f);
    gene.SetGainRampe(4);
    EXPECT_EQ(gene.GainRampe, 4.0f);
    gene.SetGainRampe(5);
    EXPECT_EQ(gene.GainRampe, 4.0f);
    gene.SetGainRampe(1);
    EXPECT_EQ(gene.GainRampe, 1.0f);
}

TEST_F(GeneFonctionTest, OtherParameterNumbers)
{
    CGeneFonction gene("GENE");
    float v = 5.0f;
    EXPECT_FALSE(gene.LitFParam(7, v));
    EXPECT_EQ(v, 0.0f);
    EXPECT_FALSE(gene.SetFParam(1000, 20.0f));
    EXPECT_EQ(gene.TE, 20.0f);
    EXPECT_EQ(Entree("FERZ", "TE"), "<absent>");
    EXPECT_FALSE(gene.SetFParam(1003, 1.0f));
    EXPECT_FALSE(gene.SetFParam(-1, 1.0f));
    int i = 0;
    EXPECT_FALSE(gene.SetCParam(1, static_cast<char>(-3)));
    EXPECT_TRUE(gene.LitCParam(1, i));
    EXPECT_EQ(i, -3);
    EXPECT_FALSE(gene.SetCParam(55, 'T'));
    EXPECT_EQ(gene.TypeSortie, 'T');
    EXPECT_FALSE(gene.SetCParam(2, 1));
    i = 42;
    EXPECT_FALSE(gene.LitCParam(2, i));
    EXPECT_EQ(i, 42);
    EXPECT_EQ(gene.DmdMesure(0), "");
    EXPECT_FALSE(gene.TraitRecept("AVS0000"));
    EXPECT_EQ(gene.LitSonde(0), 0.0f);
}

// --- kinds and commands -------------------------------------------------------------------

TEST_F(GeneFonctionTest, ModeCommandKindsChangeWithoutRecalculating)
{
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 50.0f);
    gene.SetCParam(0, CGeneFonction::Rampe);
    ASSERT_EQ(gene.NbPoints, 53);
    for (const char kind : {3, 4, 5, 0}) {
        int v = -1;
        EXPECT_TRUE(gene.SetCParam(0, kind));
        EXPECT_TRUE(gene.LitCParam(0, v));
        EXPECT_EQ(v, kind);
        EXPECT_EQ(gene.NbParam(), 4);
        EXPECT_EQ(gene.NbPoints, 53);
    }
}

TEST_F(GeneFonctionTest, StopCommandByKind)
{
    Banc('S');
    CGeneFonction direct("GENE");
    Banc('X');
    CGeneFonction axis("GENE");
    Banc('D');
    CGeneFonction percent("GENE");
    const struct {
        char kind;
        const char *direct, *axis, *percent;
    } table[] = {
        {0, "DSS", "DSS", "DSS"}, {3, "DSA", "DSA", "DSA"}, {4, "DSN", "DSE", "DSE"}, {5, "", "", ""}, {7, "", "", ""}};
    for (const auto& row : table) {
        direct.TypeSignal = axis.TypeSignal = percent.TypeSignal = static_cast<std::uint8_t>(row.kind);
        EXPECT_EQ(direct.ConfFerz(0), row.direct) << int{row.kind};
        EXPECT_EQ(axis.ConfFerz(0), row.axis) << int{row.kind};
        EXPECT_EQ(percent.ConfFerz(0), row.percent) << int{row.kind};
    }
}

TEST_F(GeneFonctionTest, KindLettersOfCode1003)
{
    Banc('X');
    CGeneFonction direct("GENE");
    Banc('N');
    CGeneFonction percent("GENE");
    const char* const letters[] = {"S", "T", "R", "A", "N", "", ""};
    for (int kind = 0; kind <= 6; ++kind) {
        direct.TypeSignal = percent.TypeSignal = static_cast<std::uint8_t>(kind);
        EXPECT_EQ(direct.ConfFerz(1003), letters[kind]) << kind;
        EXPECT_EQ(percent.ConfFerz(1003), kind == 4 ? "E" : letters[kind]) << kind;
    }
}

TEST_F(GeneFonctionTest, StepDownloadOnAPercentBench)
{
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 50.0f);
    gene.SetFParam(3, 1.5f);
    gene.SetFParam(4, 10.0f);
    gene.SetCParam(0, CGeneFonction::Echelon);
    EXPECT_EQ(gene.NbParam(), 4);
    EXPECT_EQ(Sequence(gene), (std::vector<std::string>{"DSS", "CBF0660", "RED05DC", "CRBF0146"}));
    EXPECT_EQ(gene.ConfFerz(4), "");
    EXPECT_EQ(gene.ConfFerz(5), "");
    EXPECT_EQ(gene.ConfFerz(1004), "");
}

TEST_F(GeneFonctionTest, StepDownloadOnACardUnitBench)
{
    Banc('S', 1);
    CGeneFonction gene("GENE");
    gene.SetFParam(0, -1.5f);
    gene.SetFParam(4, 10.0f);
    EXPECT_EQ(gene.ConfFerz(1), "CBFFFFFFFFF");
    EXPECT_EQ(gene.ConfFerz(3), "CRBF0000000A");
    CGeneFonction open("GENE1");
    open.SetFParam(0, 100.0f);
    open.SetFParam(4, -2.0f);
    EXPECT_EQ(open.ConfFerz(1), "CBO0064");
    EXPECT_EQ(open.ConfFerz(3), "CRBOFFFE");
    Banc('D');
    CGeneFonction percent("GENE1");
    percent.SetFParam(0, 50.0f);
    EXPECT_EQ(percent.ConfFerz(1), "CBO0660");
}

TEST_F(GeneFonctionTest, BlocksAreEmptyBeforeAnyTable)
{
    CGeneFonction gene("GENE");
    gene.TypeSignal = CGeneFonction::Rampe;
    EXPECT_EQ(gene.NbParam(), 6);
    EXPECT_EQ(gene.ConfFerz(1), "DTTTFFFFFFFF");
    EXPECT_EQ(gene.ConfFerz(4), "RET01F4");
    EXPECT_EQ(gene.ConfFerz(5), "DST");
    EXPECT_EQ(gene.ConfFerz(6), "");
    EXPECT_EQ(gene.StrBloc(), "");
}

// --- descriptions ----------------------------------------------------------------------------

TEST_F(GeneFonctionTest, PercentRampDescription)
{
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 50.0f);
    gene.SetFParam(3, 0.25f);
    gene.SetCParam(0, CGeneFonction::Rampe);
    EXPECT_EQ(gene.LitConfiguration(0),
              "\\gConsigne:\\n Rampe, Valeur Repos = 0 %,Val. C=50.00 %, Val. V=10.00 %/s Retard =0.250 s\n");
    EXPECT_EQ(gene.LitConfiguration(1),
              "\\gConsigne:\\n\n Rampe\n Valeur Repos =\n  0 %\n Val. C=\n  50.00 %\n Val. V=\n  10.00 %/s\n"
              " Retard =\n  0.250 s\n");
    EXPECT_EQ(gene.UniteAcceleration, "%/s\xB2");
}

TEST_F(GeneFonctionTest, TrapezoidDescriptionInCardUnits)
{
    Banc('X', 5);
    CGeneFonction gene("GENE");
    gene.UniteValeur = "inc";
    gene.UniteVitesse = "inc/s";
    gene.UniteAcceleration = "inc/s\xB2";
    gene.GainValeur = 2.0f;
    gene.SetFParam(0, 1000.0f);
    gene.SetFParam(1, 100.0f);
    gene.SetFParam(6, 200.0f);
    gene.TypeSignal = CGeneFonction::Trapeze;
    EXPECT_EQ(gene.LitConfiguration(0),
              "\\gConsigne:\\n Trap\xE8ze, Valeur Repos = 0 inc,Val. C=1000 inc, Val. V=100 "
              "inc/s,Val. Acc=200 inc/s\xB2 Retard =0.000 s\n");
    EXPECT_EQ(gene.LitConfiguration(2),
              "\\gConsigne:\\n\n Trap\xE8ze\n Valeur Repos =\n  0 inc\n Val. C=\n  1000 inc\n Val. V=\n  100 inc/s\n"
              "Val. Acc=\n  200 inc/s\xB2\n Retard =\n  0.000 s\n");
}

TEST_F(GeneFonctionTest, SineAndStepDescriptionsOfTheOpenLoopGenerator)
{
    Banc('S');
    CGeneFonction gene("GENE1");
    gene.SetCParam(55, 'T');
    gene.UniteValeur = "V";
    gene.SetFParam(4, 1.0f);
    gene.TypeSignal = CGeneFonction::Sinus;
    // Levels are shown as stored, with two decimals for a voltage output.
    EXPECT_EQ(gene.LitConfiguration(0),
              "\\gConsigne:\\n Sinus, Valeur Repos = 43 V,Val. C=0.00 V, Ampl.=10.00 V, "
              "Freq.= 1.000 Hz Retard =0.000 s\n");
    EXPECT_EQ(gene.LitConfiguration(1),
              "\\gConsigne:\\n\n Sinus\n Valeur Repos =\n  43 V\n Val. C=\n  0.00 V\n Ampl.=\n"
              " 10.00 V\n Freq.= 1.000 Hz\n Retard =\n  0.000 s\n");
    gene.TypeSignal = CGeneFonction::Echelon;
    EXPECT_EQ(gene.LitConfiguration(0),
              "\\gConsigne:\\n Echelon, Valeur Repos = 43 V,Val. C =0.00 V Retard =0.000 s\n");
    EXPECT_EQ(gene.LitConfiguration(1),
              "\\gConsigne:\\n\n Echelon\n Valeur Repos =\n  43 V\n Val. C =\n  0.00 V\n Retard =\n  0.000 s\n");
}

TEST_F(GeneFonctionTest, KindNamesOfTheModeCommandKinds)
{
    const auto nom = [&](char letter, int kind) {
        Banc(letter);
        CGeneFonction gene("GENE");
        gene.TypeSignal = static_cast<std::uint8_t>(kind);
        return gene.LitConfiguration(0);
    };
    EXPECT_EQ(nom('D', 3), "\\gConsigne:\\n Consigne analogique, Valeur Repos = 0 %, Retard =0.000 s\n");
    EXPECT_EQ(nom('X', 3), "\\gConsigne:\\n Consigne externe, Valeur Repos = 0 , Retard =0.000 s\n");
    EXPECT_EQ(nom('D', 4), "\\gConsigne:\\n Consigne externe, Valeur Repos = 0 %, Retard =0.000 s\n");
    EXPECT_EQ(nom('S', 4), "\\gConsigne:\\n Consigne num\xE9rique, Valeur Repos = 0 , Retard =0.000 s\n");
    EXPECT_EQ(nom('I', 4), "\\gConsigne:\\n Consigne du potentiom\xE8tre, Valeur Repos = 0 , Retard =0.000 s\n");
}

TEST_F(GeneFonctionTest, ApplicationReplacesTheKindNames)
{
    const std::string original = tarvic::LoadString(201);
    tarvic::SetString(201, "Ramp");
    CGeneFonction gene("GENE");
    gene.TypeSignal = CGeneFonction::Rampe;
    const std::string text = gene.LitConfiguration(0);
    tarvic::SetString(201, original);
    EXPECT_EQ(text, "\\gConsigne:\\n Ramp, Valeur Repos = 0 %,Val. C=0.00 %, Val. V=10.00 %/s Retard =0.000 s\n");
    EXPECT_EQ(tarvic::LoadString(199), "");
}

// --- archives --------------------------------------------------------------------------------

std::string EnTete(char type, float repos, float retard, float tePt, float echelon, float rampe, float frequence,
                   float acceleration, std::int32_t nbPoints, std::int32_t nbBlocs)
{
    return std::string(1, type) + Octets(repos) + Octets(retard) + Octets(tePt) + Octets(echelon) + Octets(rampe) +
           Octets(frequence) + Octets(acceleration) + Octets(nbPoints) + Octets(nbBlocs);
}

TEST_F(GeneFonctionTest, ArchiveRecordByteForByte)
{
    Banc('X');
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 20.0f);
    gene.SetFParam(1, 5.0f);
    gene.SetFParam(3, 0.5f);
    gene.SetCParam(0, CGeneFonction::Rampe);
    ASSERT_EQ(gene.NbPoints, 23);
    std::string expected = EnTete(1, 0.0f, 0.5f, 200.0f, 20.0f, 5.0f, 1.0f, 20.0f, 23, 1);
    for (const int point : Points(gene)) expected += Octets(static_cast<std::int16_t>(point));
    EXPECT_EQ(Stocke(gene), expected);

    CGeneFonction loaded;
    ASSERT_TRUE(Charge(loaded, expected));
    EXPECT_EQ(loaded.TypeSignal, 1);
    EXPECT_EQ(loaded.RETARD, 0.5f);
    EXPECT_EQ(loaded.TE_PT, 200.0f);
    EXPECT_EQ(loaded.ECHELON, 20.0f);
    EXPECT_EQ(Points(loaded), Points(gene));
    EXPECT_EQ(loaded.NbBlocs, 1);
    EXPECT_EQ(loaded.NbParam(), 7);
}

TEST_F(GeneFonctionTest, EmptyTableArchivesWithoutPoints)
{
    CGeneFonction gene("GENE");
    EXPECT_EQ(Stocke(gene), EnTete(0, 0.0f, 0.0f, 500.0f, 0.0f, 10.0f, 1.0f, 20.0f, 0, 0));
}

TEST_F(GeneFonctionTest, LoadingReplacesTheTable)
{
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 50.0f);
    gene.SetCParam(0, CGeneFonction::Rampe);
    ASSERT_EQ(gene.NbPoints, 53);
    const std::string record = EnTete(2, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 2, 1) + Octets(std::int16_t{-2}) +
                               Octets(std::int16_t{300});
    ASSERT_TRUE(Charge(gene, record));
    EXPECT_EQ(Points(gene), (std::vector<int>{-2, 300}));
    EXPECT_EQ(gene.NbPoints, 2);
    EXPECT_EQ(gene.ConfFerz(5), "CRS00FFFE012C" + std::string(30 * 4, '0'));
}

TEST_F(GeneFonctionTest, MalformedPointCountIsRefusedAndKeepsTheTable)
{
    for (const auto& counts :
         {std::pair{-1, 0}, std::pair{513, 17}, std::pair{0x7FFFFFFF, 1}, std::pair{10, 18}, std::pair{10, -1}}) {
        CGeneFonction gene("GENE");
        gene.SetFParam(0, 50.0f);
        gene.SetCParam(0, CGeneFonction::Rampe);
        const std::string avant = Stocke(gene);
        const std::string record =
            EnTete(2, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, counts.first, counts.second) + std::string(64, '\x01');
        EXPECT_FALSE(Charge(gene, record)) << counts.first;
        EXPECT_EQ(Stocke(gene), avant);
        EXPECT_EQ(gene.NbPoints, 53);
        EXPECT_EQ(gene.NbParam(), 8);
    }
}

TEST_F(GeneFonctionTest, TruncatedArchiveLoadsNothing)
{
    CGeneFonction gene("GENE");
    const std::string record = EnTete(1, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 4, 1) + Octets(std::int16_t{9});
    EXPECT_FALSE(Charge(gene, record));
    EXPECT_EQ(gene.NbPoints, 0);
    EXPECT_EQ(gene.ECHELON, 0.0f);
    EXPECT_EQ(gene.TypeSignal, 0);
}

TEST_F(GeneFonctionTest, IsCreatableFromItsClassName)
{
    const CRuntimeClass* record = CRuntimeClass::FromName("CGeneFonction");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_wSchema, 0);
    std::unique_ptr<CObject> object(record->CreateObject());
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CEidElement)));
}
