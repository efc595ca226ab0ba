#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "tarvic/control/Tor.h"

using tarvic::test::Charge;
using tarvic::test::Octets;
using tarvic::test::Stocke;

namespace {

class TorTest : public tarvic::test::ControlTest {};

}  // namespace

TEST_F(TorTest, ThresholdsComeFromTheProfileAndGoBackAtOnce)
{
    Banc('N', 1);
    m_profile->WriteProfileString("N_MODE1_TOR", "RBP", "7.5");
    CTor tor;
    EXPECT_EQ(tor.LitGrp(), "N_MODE1_TOR");
    EXPECT_EQ(tor.RBN, -10.0f);
    EXPECT_EQ(tor.RBP, 7.5f);
    EXPECT_EQ(tor.EchelleSortie, 3276.0f);
    EXPECT_EQ(tor.EchelleValeurs, 3276.0f);
    EXPECT_TRUE(tor.SetFParam(15, -12.5f));
    EXPECT_TRUE(tor.SetFParam(16, 3.0f));
    EXPECT_EQ(Entree("N_MODE1_TOR", "RBN"), "-12.50");
    EXPECT_EQ(Entree("N_MODE1_TOR", "RBP"), "3.00");
    float v = 0;
    EXPECT_TRUE(tor.LitFParam(15, v));
    EXPECT_EQ(v, -12.5f);
    EXPECT_FALSE(tor.SetFParam(1000, 50.0f));
    EXPECT_EQ(Entree("FERZ", "TE"), "50");
    EXPECT_TRUE(tor.LitFParam(1000, v));
    EXPECT_EQ(v, 50.0f);
    EXPECT_FALSE(tor.LitFParam(17, v));
    EXPECT_FALSE(tor.SetFParam(14, 1.0f));
}

TEST_F(TorTest, ThresholdFieldsScaleByTheBench)
{
    CTor tor;
    EXPECT_EQ(tor.ConfFerz(2), "RBNFEB9");
    EXPECT_EQ(tor.ConfFerz(3), "RBP0147");
    tor.RBP = 10.9f;  // the fraction is dropped before scaling
    EXPECT_EQ(tor.ConfFerz(16), "RBP0147");
    for (const char letter : {'I', 'X'}) {
        Banc(letter);
        CTor direct;
        EXPECT_EQ(direct.ConfFerz(15), "RBNFEB9") << letter;
    }
    Banc('S');
    CTor load;
    EXPECT_EQ(load.EchelleValeurs, 32768.0f);
    EXPECT_EQ(load.EchelleSortie, 256.0f);
    EXPECT_EQ(load.ConfFerz(2), "RBNFFF6");
    EXPECT_EQ(load.ConfFerz(3), "RBP000A");
}

TEST_F(TorTest, ConfigurationSequenceAndFragments)
{
    CTor tor;
    EXPECT_EQ(tor.NbParam(), 4);
    EXPECT_EQ(tor.ConfFerz(0), "RTRE200");
    EXPECT_TRUE(tor.SetCParam(1, 1));
    EXPECT_EQ(tor.ConfFerz(100), "RTRE280");
    EXPECT_EQ(tor.ConfFerz(1), "RER0064");
    EXPECT_EQ(tor.ConfFerz(4), "DCPDFII");
    tor.SetCParam(6, 1);
    tor.SetCParam(7, 2);
    EXPECT_EQ(tor.ConfFerz(6), "DCPDFDT");
    EXPECT_EQ(tor.ConfFerz(7), "DCPDFDT");
    EXPECT_EQ(tor.ConfFerz(101), "RS");
    tor.ModeRD = true;
    EXPECT_EQ(tor.ConfFerz(101), "RD");
    EXPECT_EQ(tor.ConfFerz(1001), "FDT");
    EXPECT_EQ(tor.ConfFerz(1002), "280");
    EXPECT_EQ(tor.ConfFerz(1008), "0064");
    EXPECT_EQ(tor.ConfFerz(5), "");
    EXPECT_TRUE(tor.SetCParam(1, 0));
    EXPECT_EQ(tor.Actions, 0);
    EXPECT_FALSE(tor.SetCParam(2, 1));
}

TEST_F(TorTest, OnlyTheElectricalLoadBenchRoutesItsCommand)
{
    Banc('S');
    CTor load;
    load.SetCParam(6, 1);
    load.SetCParam(7, 1);
    EXPECT_EQ(load.SourceCommande, 'F');
    EXPECT_EQ(load.LitBRetour(), 'V');
    load.SetCParam(7, 2);
    EXPECT_EQ(load.SourceRetour, 'P');
    for (const char letter : {'I', 'X'}) {
        Banc(letter);
        CTor tor;
        tor.SetCParam(6, 1);
        tor.SetCParam(7, 1);
        EXPECT_EQ(tor.SourceCommande, 'I') << letter;
        EXPECT_EQ(tor.SourceRetour, 'I') << letter;
        tor.SetCParam(6, 3);
        tor.SetCParam(7, 3);
        EXPECT_EQ(tor.SourceCommande, 'T');
        EXPECT_EQ(tor.SourceRetour, '2');
    }
    Banc('N');
    CTor level;
    level.SetCParam(6, 1);
    level.SetCParam(7, 2);
    EXPECT_EQ(level.SourceCommande, 'P');
    EXPECT_EQ(level.SourceRetour, '1');
}

TEST_F(TorTest, AvsValuesInPercentWithTheOutputClamped)
{
    CTor tor;
    EXPECT_EQ(tor.DmdMesure(0), "AVS");
    EXPECT_EQ(tor.DmdMesure(1), "");
    EXPECT_TRUE(tor.TraitRecept("!AVS0CCCF33406661000\r\n"));
    EXPECT_EQ(tor.LitSonde(0), 100.0f);
    EXPECT_EQ(tor.LitSonde(1), -100.0f);
    EXPECT_EQ(tor.LitSonde(2), 50.0f);
    EXPECT_EQ(tor.LitSonde(3), 100.0f);
    EXPECT_EQ(tor.LitSonde(4), 0.0f);
    EXPECT_FALSE(tor.TraitRecept("APID0000"));
    EXPECT_EQ(tor.LitSonde(0), 100.0f);
}

TEST_F(TorTest, AvsValuesOfTheElectricalLoadBenchAreCardUnits)
{
    Banc('S');
    CTor tor;
    EXPECT_TRUE(tor.TraitRecept("AVS00010000FFFFFFFF80007FFF"));
    EXPECT_EQ(tor.LitSonde(0), 65536.0f);
    EXPECT_EQ(tor.LitSonde(1), -1.0f);
    EXPECT_EQ(tor.LitSonde(2), -32768.0f);
    EXPECT_EQ(tor.LitSonde(3), 32767.0f);
}

TEST_F(TorTest, LimitsAreLeftAlone)
{
    CTor tor;
    float min = 3.0f, max = 4.0f;
    tor.LitMinMax(15, min, max);
    EXPECT_EQ(min, 3.0f);
    EXPECT_EQ(max, 4.0f);
    int v = 9;
    EXPECT_FALSE(tor.LitCParam(0, v));
    EXPECT_FALSE(tor.LitEtat(1, v));
    EXPECT_EQ(v, 9);
}

TEST_F(TorTest, DescriptionIsAlwaysOpen)
{
    CTor tor;
    EXPECT_EQ(tor.LitConfiguration(0),
              "\\gCorrecteur: TOR\\n  Ouvert, RBN = -10.000, RBP = 10.000\n\\gProcessus:\\n "
              "Commande Isol\xE9" "e\\n , Liaison mesure ouverte");
    EXPECT_EQ(tor.LitConfiguration(1),
              "\\gCorrecteur: TOR\\n \n Ouvert\n RBN = -10.000\n RBP = 10.000\n\\gProcessus:\\n\n"
              " Cde Isol\xE9" "e\\n\nmesure ouverte\n");
    tor.SetCParam(6, 2);
    tor.SetCParam(7, 2);
    EXPECT_EQ(tor.LitConfiguration(0),
              "\\gCorrecteur: TOR\\n  Ouvert, RBN = -10.000, RBP = 10.000\n\\gProcessus:\\n "
              "Commande Temp\xE9rature, Mesure de la temp\xE9rature");
    EXPECT_EQ(tor.LitConfiguration(1),
              "\\gCorrecteur: TOR\\n \n Ouvert\n RBN = -10.000\n RBP = 10.000\n\\gProcessus:\\n\n"
              " Cmde Temp\xE9rature\nMesure temp\n");
    tor.SetCParam(6, 1);
    tor.SetCParam(7, 1);
    EXPECT_EQ(tor.LitConfiguration(3),
              "\\gCorrecteur: TOR\\n \n Ouvert\n RBN = -10.000\n RBP = 10.000\n\\gProcessus:\\n\n"
              "Cmde D\xE9" "bit\nMesure d\xE9" "bit\n");
}

TEST_F(TorTest, CopyAndArchive)
{
    Banc('S');
    CTor tor;
    tor.SetCParam(1, 1);
    tor.SetCParam(6, 1);
    tor.SetCParam(7, 2);
    tor.RBN = -3.0f;
    tor.ModeRD = true;
    tor.TraitRecept("AVS00000001000000010001FFFF");
    CTor copy(&tor);
    EXPECT_EQ(copy.Actions, 0x80);
    EXPECT_EQ(copy.RBN, -3.0f);
    EXPECT_EQ(copy.SourceCommande, 'F');
    EXPECT_EQ(copy.SourceRetour, 'P');
    EXPECT_FALSE(copy.ModeRD);
    EXPECT_EQ(copy.LitSonde(0), 0.0f);
    EXPECT_EQ(copy.EchelleSortie, 256.0f);

    const std::string expected = std::string("FP\x80") + Octets(100.0f) + Octets(-3.0f) + Octets(10.0f);
    EXPECT_EQ(Stocke(tor), expected);
    Banc('D');
    CTor loaded;
    ASSERT_TRUE(Charge(loaded, expected));
    EXPECT_EQ(loaded.SourceCommande, 'F');
    EXPECT_EQ(loaded.Actions, 0x80);
    EXPECT_EQ(loaded.RBN, -3.0f);
    EXPECT_EQ(loaded.RBP, 10.0f);
    EXPECT_NE(CRuntimeClass::FromName("CTor"), nullptr);
}
