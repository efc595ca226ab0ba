// The open-loop function block, the process reader and the empty controller interface.
#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "tarvic/control/BoFonction.h"
#include "tarvic/control/ProcessFonction.h"
#include "tarvic/control/Regulateur.h"

using tarvic::test::Charge;
using tarvic::test::Octets;
using tarvic::test::Stocke;

namespace {

class BoFonctionTest : public tarvic::test::ControlTest {};

}  // namespace

TEST_F(BoFonctionTest, NamesAndPeriod)
{
    m_profile->WriteProfileInt("FERZ", "TE", 40);
    CBoFonction bo;
    EXPECT_EQ(bo.LitGrp(), "D_MODE0_BO");
    EXPECT_EQ(bo.TE, 40.0f);
    CBoFonction named("BO1");
    EXPECT_EQ(named.LitGrp(), "D_MODE0_BO1");
    float v = 0;
    EXPECT_TRUE(bo.LitFParam(1000, v));
    EXPECT_EQ(v, 40.0f);
    EXPECT_FALSE(bo.SetFParam(1000, 20.0f));
    EXPECT_EQ(bo.TE, 20.0f);
    EXPECT_EQ(Entree("FERZ", "TE"), "40");
    EXPECT_FALSE(bo.SetFParam(10, 1.0f));
    EXPECT_FALSE(bo.LitFParam(10, v));
    EXPECT_EQ(bo.LitBRetour(), 'I');
    EXPECT_EQ(bo.NbParam(), 1);
}

TEST_F(BoFonctionTest, CommandsOfTheOpenLoopBlock)
{
    CBoFonction bo;
    EXPECT_EQ(bo.ConfFerz(0), "RTRE000");
    EXPECT_TRUE(bo.SetCParam(1, 1));
    EXPECT_EQ(bo.ConfFerz(100), "RTRE080");
    EXPECT_EQ(bo.ConfFerz(6), "DCPDOII");
    EXPECT_TRUE(bo.SetCParam(6, 1));
    EXPECT_EQ(bo.ConfFerz(6), "DCPDODI");
    EXPECT_EQ(bo.ConfFerz(1001), "ODI");
    EXPECT_EQ(bo.ConfFerz(1002), "000");
    EXPECT_EQ(bo.ConfFerz(1008), "0064");
    EXPECT_EQ(bo.ConfFerz(1), "");
    EXPECT_TRUE(bo.SetCParam(1, 2));
    EXPECT_EQ(bo.Actions, 0);
    EXPECT_FALSE(bo.SetCParam(7, 1));
}

TEST_F(BoFonctionTest, RoutingFollowsTheBenchLetterInForceNow)
{
    CBoFonction bo;
    Banc('X');
    EXPECT_TRUE(bo.SetCParam(6, 1));
    EXPECT_EQ(bo.SourceCommande, 'F');
    EXPECT_EQ(bo.ConfFerz(6), "DCPXOFI");
    Banc('N');
    bo.SetCParam(6, 1);
    EXPECT_EQ(bo.SourceCommande, 'P');
    Banc('Q');
    bo.SetCParam(6, 1);
    EXPECT_EQ(bo.SourceCommande, 'P');
    bo.SetCParam(6, 5);
    EXPECT_EQ(bo.SourceCommande, 'T');
    bo.SetCParam(6, 0);
    EXPECT_EQ(bo.SourceCommande, 'I');
}

TEST_F(BoFonctionTest, CommandReplyUpdatesTheValueButReturnsFalse)
{
    CBoFonction bo;
    EXPECT_EQ(bo.DmdMesure(0), "ACO");
    EXPECT_EQ(bo.DmdMesure(1), "");
    EXPECT_FALSE(bo.TraitRecept("!ACO0CC0\r\n"));
    EXPECT_EQ(bo.ValeurCommande, 100.0f);
    EXPECT_EQ(bo.LitSonde(0), 100.0f);
    EXPECT_EQ(bo.LitSonde(1), 0.0f);
    EXPECT_FALSE(bo.TraitRecept("XYZ"));
    EXPECT_EQ(bo.LitSonde(0), 100.0f);
}

TEST_F(BoFonctionTest, AvsValuesAreKeptUnconverted)
{
    CBoFonction bo;
    EXPECT_TRUE(bo.TraitRecept("AVS0CC0FFFF00100000"));
    EXPECT_EQ(bo.ValeursVS[0], 3264.0f);
    EXPECT_EQ(bo.ValeursVS[1], -1.0f);
    EXPECT_EQ(bo.ValeursVS[2], 16.0f);
    EXPECT_EQ(bo.ValeursVS[3], 0.0f);
    Banc('S');
    CBoFonction load;
    EXPECT_TRUE(load.TraitRecept("AVS00010000FFFFFFFE80001000"));
    EXPECT_EQ(load.ValeursVS[0], 65536.0f);
    EXPECT_EQ(load.ValeursVS[1], -2.0f);
    EXPECT_EQ(load.ValeursVS[2], -32768.0f);
    EXPECT_EQ(load.ValeursVS[3], 4096.0f);
}

TEST_F(BoFonctionTest, CommandValueInVoltsOrMilliamps)
{
    Banc('S');
    CBoFonction bo;
    EXPECT_FALSE(bo.TraitRecept("ACO0400"));
    EXPECT_EQ(bo.LitSonde(0), 1024.0f);
    EXPECT_FALSE(bo.SetCParam(55, 'T'));
    EXPECT_EQ(bo.LitSonde(0), 24.0f);
    bo.SetCParam(55, 'C');
    EXPECT_EQ(bo.LitSonde(0), 500.0f);
    bo.SetCParam(55, 'Z');
    EXPECT_EQ(bo.LitSonde(0), 500.0f);
    EXPECT_EQ(bo.LitSonde(1), 0.0f);
}

TEST_F(BoFonctionTest, Descriptions)
{
    CBoFonction bo;
    EXPECT_EQ(bo.LitConfiguration(0), "\\gProcessus:\\nOuvert");
    EXPECT_EQ(bo.LitConfiguration(1), "\\gProcessus:\\n\n Ouvert\n");
    bo.SetCParam(6, 2);
    EXPECT_EQ(bo.LitConfiguration(0), "\\gProcessus:\\nCommande Temp\xE9rature");
    bo.SetCParam(6, 1);
    EXPECT_EQ(bo.LitConfiguration(1), "\\gProcessus:\\n\n Commande D\xE9" "bit\n");
    bo.SourceCommande = 'F';
    EXPECT_EQ(bo.LitConfiguration(0), "\\gProcessus:\\n");
    EXPECT_EQ(bo.LitConfiguration(1), "\\gProcessus:\\n\n ");
}

TEST_F(BoFonctionTest, CopyAndArchive)
{
    CBoFonction bo("BO2");
    bo.SetCParam(1, 1);
    bo.SetCParam(6, 2);
    bo.SetCParam(55, 'T');
    bo.TraitRecept("ACO0666");
    CBoFonction copy(&bo);
    EXPECT_EQ(copy.LitGrp(), "D_MODE0_BO2");
    EXPECT_EQ(copy.Actions, 0x80);
    EXPECT_EQ(copy.SourceCommande, 'T');
    EXPECT_EQ(copy.TypeSortie, 'T');
    EXPECT_EQ(copy.ValeurCommande, bo.ValeurCommande);

    const std::string expected = std::string("T\x80") + Octets(100.0f);
    EXPECT_EQ(Stocke(bo), expected);
    CBoFonction loaded;
    ASSERT_TRUE(Charge(loaded, std::string("D\x00", 2) + Octets(25.0f)));
    EXPECT_EQ(loaded.SourceCommande, 'D');
    EXPECT_EQ(loaded.Actions, 0);
    EXPECT_EQ(loaded.TE, 25.0f);
    EXPECT_NE(CRuntimeClass::FromName("CBoFonction"), nullptr);
}

// --- process reader -------------------------------------------------------------

TEST_F(BoFonctionTest, ProcessReaderRequestsThreeChannels)
{
    CProcessFonction process("PROCESS");
    EXPECT_EQ(process.LitGrp(), "D_MODE0_PROCESS");
    EXPECT_EQ(process.DmdMesure(0), "AEBC0");
    EXPECT_EQ(process.DmdMesure(2), "AEBC2");
    EXPECT_EQ(process.DmdMesure(3), "");
    EXPECT_EQ(process.DmdMesure(-1), "");
    EXPECT_EQ(process.NbParam(), 0);
    EXPECT_EQ(process.ConfFerz(0), "");
    int v = 4;
    EXPECT_FALSE(process.SetCParam(1, 1));
    EXPECT_FALSE(process.LitCParam(1000, v));
    EXPECT_EQ(v, 4);
}

TEST_F(BoFonctionTest, ProcessReaderKeepsDecimalValuesAndReturnsFalse)
{
    CProcessFonction process("PROCESS");
    EXPECT_FALSE(process.TraitRecept("!AEBC12.50\r\n"));
    EXPECT_EQ(process.ValeursAEBC[1], 2.5f);
    EXPECT_FALSE(process.TraitRecept("AEBC0-1.50"));
    EXPECT_EQ(process.ValeursAEBC[0], -1.5f);
    EXPECT_FALSE(process.TraitRecept("AEBC3 9.0"));
    EXPECT_FALSE(process.TraitRecept("AEBC/9.00"));
    EXPECT_FALSE(process.TraitRecept("AEBC2abcd"));
    EXPECT_FALSE(process.TraitRecept("AEBC"));
    EXPECT_EQ(process.ValeursAEBC[0], -1.5f);
    EXPECT_EQ(process.ValeursAEBC[1], 2.5f);
    EXPECT_EQ(process.ValeursAEBC[2], 0.0f);
}

TEST_F(BoFonctionTest, ProcessReaderIsNoRegisteredClass)
{
    CProcessFonction process("PROCESS");
    EXPECT_EQ(process.GetRuntimeClass(), RUNTIME_CLASS(CEidElement));
    EXPECT_EQ(CRuntimeClass::FromName("CProcessFonction"), nullptr);
}

// --- empty controller interface -------------------------------------------------------

TEST_F(BoFonctionTest, EmptyControllerInterfaceDoesNothing)
{
    CRegulateur regulateur;
    regulateur.SetFParam(10, 5.0f);
    EXPECT_EQ(regulateur.LitFParam(10), 0.0f);
    EXPECT_EQ(regulateur.GetRuntimeClass(), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("CRegulateur"), nullptr);
}
