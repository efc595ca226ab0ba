#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "tarvic/control/CorZ.h"

using tarvic::test::Charge;
using tarvic::test::Octets;
using tarvic::test::Stocke;

namespace {

class CorZTest : public tarvic::test::ControlTest {};

// The "Processus" part of a description.
std::string Processus(const std::string& text) { return text.substr(text.find("\\gProcessus")); }

const char kDefaultDescription[] =
    "\\gCorrecteur: Z\\n , C\\i0\\n = 1.00, C\\i1\\n = 1.00, C\\i2\\n = 1.00, C\\i3\\n = 1.00, B\\i1\\n = 1.00, "
    "B\\i2\\n = 1.00, B\\i3\\n = 1.00\n\\gProcessus:\\n Commande Isol\xE9" "e\\n , Liaison mesure ouverte";

}  // namespace

TEST_F(CorZTest, DefaultCoefficientsGiveUnitQ10Fields)
{
    CorZTest::Banc('D', 3);
    CCorZ corz;
    EXPECT_EQ(corz.LitGrp(), "D_MODE3_CorZ");
    EXPECT_EQ(corz.NbParam(), 3);
    EXPECT_EQ(corz.ConfFerz(0), "RTRE300");
    EXPECT_EQ(corz.ConfFerz(1), "RER0064");
    EXPECT_EQ(corz.ConfFerz(2), "RZ0400040004000400040004000400");
}

TEST_F(CorZTest, CoefficientsAreStoredPersistedAndResentWhole)
{
    CCorZ corz;
    EXPECT_TRUE(corz.SetFParam(17, 32.0f));
    EXPECT_TRUE(corz.SetFParam(21, -1.0f));
    EXPECT_TRUE(corz.SetFParam(23, 0.5f));
    EXPECT_EQ(Entree("D_MODE0_CorZ", "coefC0"), "32.000");
    EXPECT_EQ(Entree("D_MODE0_CorZ", "coefB0"), "-1.000");
    EXPECT_EQ(Entree("D_MODE0_CorZ", "coefB2"), "0.500");
    // B0 B1 B2 then C0 to C3; 32 wraps in its 16-bit field.
    EXPECT_EQ(corz.ConfFerz(23), "RZFC00040002008000040004000400");
    EXPECT_EQ(corz.ConfFerz(2), corz.ConfFerz(23));
    for (int n = 17; n <= 22; ++n) EXPECT_EQ(corz.ConfFerz(n), "") << n;
    float v = 0;
    EXPECT_TRUE(corz.LitFParam(17, v));
    EXPECT_EQ(v, 32.0f);
    EXPECT_TRUE(corz.LitFParam(23, v));
    EXPECT_EQ(v, 0.5f);
    EXPECT_FALSE(corz.LitFParam(24, v));
    EXPECT_FALSE(corz.SetFParam(16, 1.0f));
    CCorZ next;
    EXPECT_EQ(next.coefC[0], 32.0f);
    EXPECT_EQ(next.coefB[2], 0.5f);
}

TEST_F(CorZTest, WiringCommandsAndFragments)
{
    Banc('S', 3);
    CCorZ corz;
    EXPECT_TRUE(corz.SetCParam(1, 1));
    EXPECT_TRUE(corz.SetCParam(6, 1));
    EXPECT_TRUE(corz.SetCParam(7, 1));
    EXPECT_FALSE(corz.SetCParam(8, 1));
    for (const int n : {3, 6, 7, 9}) EXPECT_EQ(corz.ConfFerz(n), "DCPSFFV") << n;
    EXPECT_EQ(corz.ConfFerz(100), "RTRE380");
    EXPECT_EQ(corz.ConfFerz(101), "RS");
    EXPECT_EQ(corz.ConfFerz(1001), "FFV");
    EXPECT_EQ(corz.ConfFerz(1002), "380");
    EXPECT_EQ(corz.ConfFerz(1008), "0064");
    EXPECT_EQ(corz.ConfFerz(4), "");
    EXPECT_FALSE(corz.SetFParam(1000, 10.0f));
    EXPECT_EQ(corz.ConfFerz(1), "RER000A");
    EXPECT_EQ(corz.LitBRetour(), 'V');
}

TEST_F(CorZTest, Limits)
{
    CCorZ corz;
    float min = 0, max = 0;
    corz.LitMinMax(1, min, max);
    EXPECT_EQ(min, -32.0f);
    EXPECT_EQ(max, 32.0f);
    corz.LitMinMax(17, min, max);
    EXPECT_EQ(min, -512.0f);
    EXPECT_EQ(max, 512.0f);
}

TEST_F(CorZTest, AvsValuesScaleLikeTheOnOffController)
{
    CCorZ corz;
    EXPECT_EQ(corz.DmdMesure(0), "AVS");
    EXPECT_EQ(corz.DmdMesure(1), "");
    EXPECT_TRUE(corz.TraitRecept("AVS0CCCF33406661000"));
    EXPECT_EQ(corz.LitSonde(0), 100.0f);
    EXPECT_EQ(corz.LitSonde(2), 50.0f);
    EXPECT_EQ(corz.LitSonde(3), 100.0f);
    EXPECT_EQ(corz.LitSonde(4), 0.0f);
    EXPECT_FALSE(corz.TraitRecept("ACO0000"));
}

TEST_F(CorZTest, DescriptionNumbersTheBCoefficientsFromOne)
{
    CCorZ corz;
    EXPECT_EQ(corz.LitConfiguration(0), kDefaultDescription);
    corz.SetFParam(21, 0.5f);
    corz.SetFParam(22, 0.25f);
    corz.SetFParam(23, -2.0f);
    corz.SetFParam(20, 3.0f);
    EXPECT_EQ(corz.LitConfiguration(1),
              "\\gCorrecteur: Z\\n \n C\\i0\\n = 1.00\n C\\i1\\n = 1.00\n C\\i2\\n = 1.00\n C\\i3\\n = 3.00\n"
              " B\\i1\\n = 0.50\n B\\i2\\n = 0.25\n B\\i3\\n = -2.00\n\\gProcessus:\\n\n Cde Isol\xE9" "e\\n\n"
              "mesure ouverte\n");
}

TEST_F(CorZTest, RoutedDescriptions)
{
    CCorZ corz;
    corz.SetCParam(6, 2);
    corz.SetCParam(7, 2);
    EXPECT_EQ(Processus(corz.LitConfiguration(1)), "\\gProcessus:\\n\nCde Temp\xE9rature\nMesure temp\xE9rature\n");
    corz.SetCParam(6, 1);
    corz.SetCParam(7, 1);
    EXPECT_EQ(Processus(corz.LitConfiguration(0)), "\\gProcessus:\\n Commande D\xE9" "bit, Mesure du d\xE9" "bit");
    EXPECT_EQ(Processus(corz.LitConfiguration(1)), "\\gProcessus:\\n\nCde D\xE9" "bit\nMesure du d\xE9" "bit\n");
    // The low action bits, which nothing here sets, would print "Ouvert ".
    corz.Actions = 0x01;
    EXPECT_EQ(corz.LitConfiguration(0).substr(0, 28), "\\gCorrecteur: Z\\n Ouvert , C");
}

TEST_F(CorZTest, CopyAndArchive)
{
    CCorZ corz;
    corz.SetCParam(6, 1);
    corz.SetCParam(1, 1);
    corz.coefC[3] = -0.5f;
    corz.coefB[1] = 2.0f;
    corz.ModeRD = true;
    corz.TraitRecept("AVS0CCC0CCC0CCC0CCC");
    CCorZ copy(&corz);
    EXPECT_EQ(copy.coefC[3], -0.5f);
    EXPECT_EQ(copy.coefB[1], 2.0f);
    EXPECT_EQ(copy.SourceCommande, 'D');
    EXPECT_EQ(copy.Actions, 0x80);
    EXPECT_FALSE(copy.ModeRD);
    EXPECT_EQ(copy.LitSonde(0), 0.0f);

    const std::string expected = std::string("DI\x80") + Octets(100.0f) + Octets(1.0f) + Octets(1.0f) + Octets(1.0f) +
                                 Octets(-0.5f) + Octets(1.0f) + Octets(2.0f) + Octets(1.0f);
    EXPECT_EQ(Stocke(corz), expected);
    CCorZ loaded;
    ASSERT_TRUE(Charge(loaded, expected));
    EXPECT_EQ(loaded.coefC[3], -0.5f);
    EXPECT_EQ(loaded.coefB[1], 2.0f);
    EXPECT_EQ(loaded.SourceCommande, 'D');
    EXPECT_NE(CRuntimeClass::FromName("CCorZ"), nullptr);
}
