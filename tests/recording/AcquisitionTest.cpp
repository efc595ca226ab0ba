#include <gtest/gtest.h>

#include "RecordingSupport.h"
#include "support/TraceCapture.h"
#include "tarvic/recording/Enregistrement.h"

using tarvic::test::LigneBloc;
using tarvic::test::ProfilBanc;
using tarvic::test::TraceCapture;
using tarvic::test::Valeurs;
using tarvic::test::ValeursAvec;
using tarvic::test::ValeursDistinctes;

namespace {

class AcquisitionTest : public ::testing::Test {
protected:
    void SetUp() override { m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 2); }

    // Card-unit bench: codes 0 to 15 read the raw rows unscaled.
    ProfilBanc m_banc{'X'};
};

}  // namespace

TEST_F(AcquisitionTest, NoStatusRequestBeforeTheStart)
{
    CEnregistrement enregistrement;
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
}

TEST_F(AcquisitionTest, TheStatusRequestGoesOnceUntilItsReply)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    EXPECT_EQ(enregistrement.DmdMesure(1), "");
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
    EXPECT_EQ(enregistrement.DmdMesure(1), "");
    EXPECT_TRUE(enregistrement.TraitRecept("!TEM01O"));  // another block: ignored
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
    EXPECT_EQ(enregistrement.LitParam(1), 0);
    EXPECT_TRUE(enregistrement.TraitRecept("!TEM00N"));
    EXPECT_EQ(enregistrement.LitParam(1), 0);
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
    EXPECT_TRUE(enregistrement.TraitRecept("!TEM00O"));
    EXPECT_EQ(enregistrement.LitParam(1), 1);
}

TEST_F(AcquisitionTest, ShortStatusRepliesReadNothingOutsideTheLine)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
    EXPECT_TRUE(enregistrement.TraitRecept("!TEM"));  // no block number: nothing changes
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
    EXPECT_TRUE(enregistrement.TraitRecept("!TEM00"));  // no status character: not ready
    EXPECT_EQ(enregistrement.LitParam(1), 0);
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
}

TEST_F(AcquisitionTest, TheBlockRequestGoesOnceUntilABlockIsTakenOrRefused)
{
    TraceCapture traces;
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    EXPECT_EQ(enregistrement.LitBloc(), "TSF00");
    EXPECT_EQ(enregistrement.LitBloc(), "");
    EXPECT_EQ(enregistrement.LitBloc(3), "");
    enregistrement.TraitRecept(LigneBloc(1, ValeursDistinctes()));  // another block: ignored
    EXPECT_EQ(enregistrement.LitBloc(), "");
    EXPECT_EQ(enregistrement.LitParam(5), 0);
    EXPECT_EQ(traces.Count("erreur->str_len=2056\n"), 0);
    EXPECT_EQ(traces.Count("str_len=2056\n"), 1);
    enregistrement.TraitRecept(LigneBloc(0, ValeursDistinctes()));
    EXPECT_EQ(enregistrement.LitParam(5), 1);
    EXPECT_EQ(enregistrement.LitBloc(), "TSF01");
}

TEST_F(AcquisitionTest, BlockRepliesOfTheWrongLengthAreRequestedAgain)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    const std::string ligne = LigneBloc(0, ValeursDistinctes());
    for (const std::string& faux : {ligne.substr(0, 2055), ligne + "0", std::string("!TSF0")}) {
        TraceCapture traces;
        ASSERT_EQ(enregistrement.LitBloc(), "TSF00");
        EXPECT_TRUE(enregistrement.TraitRecept(faux));
        const std::string longueur = std::to_string(faux.size());
        EXPECT_EQ(traces.Texts(),
                  (std::vector<std::string>{"str_len=" + longueur + "\n", "erreur->str_len=" + longueur + "\n"}));
        EXPECT_EQ(enregistrement.LitParam(5), 0);
        EXPECT_EQ(enregistrement.LitPoint(0, 0), 0.0f);
    }
    TraceCapture traces;
    EXPECT_EQ(enregistrement.LitBloc(), "TSF00");
    EXPECT_TRUE(enregistrement.TraitRecept(ligne));
    EXPECT_EQ(traces.Texts(), std::vector<std::string>{"str_len=2056\n"});
    EXPECT_EQ(enregistrement.LitParam(5), 1);
}

TEST_F(AcquisitionTest, AnAcceptedBlockClearsTheRequestsAndTheReadyFlag)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
    enregistrement.TraitRecept("!TEM00O");
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");  // asked again while the block is fetched
    EXPECT_EQ(enregistrement.LitBloc(), "TSF00");
    enregistrement.TraitRecept(LigneBloc(0, ValeursDistinctes()));
    EXPECT_EQ(enregistrement.LitParam(1), 0);
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM01");
    EXPECT_EQ(enregistrement.LitBloc(), "TSF01");
}

TEST_F(AcquisitionTest, TheBlockIsDecodedPointAfterPoint)
{
    CEnregistrement enregistrement;
    const Valeurs valeurs = ValeursDistinctes();
    tarvic::test::Acquiert(enregistrement, {valeurs});
    for (int rang = 0; rang < 16; ++rang)
        for (int point = 0; point < 32; ++point)
            EXPECT_EQ(enregistrement.LitPoint(rang, point), static_cast<float>(rang * 0x100 + point))
                << rang << "," << point;
}

TEST_F(AcquisitionTest, Rows1And2Are12BitValues)
{
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    valeurs[1][0] = 0x0800;
    valeurs[2][5] = 0x0FFF;
    valeurs[3][0] = 0x0800;
    valeurs[4][0] = 0xFFFF;
    valeurs[1][1] = 0x07FF;
    tarvic::test::Acquiert(enregistrement, {valeurs});
    EXPECT_EQ(enregistrement.LitPoint(1, 0), -2048.0f);
    EXPECT_EQ(enregistrement.LitPoint(2, 5), -1.0f);
    EXPECT_EQ(enregistrement.LitPoint(3, 0), 2048.0f);
    EXPECT_EQ(enregistrement.LitPoint(4, 0), -1.0f);
    EXPECT_EQ(enregistrement.LitPoint(1, 1), 2047.0f);
}

TEST_F(AcquisitionTest, LowerCaseDigitsAreRead)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    std::string ligne = LigneBloc(0, ValeursAvec(5, 0, 0xABCD));
    for (std::size_t i = 6; i < ligne.size(); ++i)
        if (ligne[i] >= 'A' && ligne[i] <= 'F') ligne[i] = static_cast<char>(ligne[i] - 'A' + 'a');
    enregistrement.TraitRecept(ligne);
    EXPECT_EQ(enregistrement.LitPoint(5, 0), static_cast<float>(static_cast<std::int16_t>(0xABCD)));
}

TEST_F(AcquisitionTest, WithoutTSFTheBlockNumberIsAtPosition2)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    enregistrement.TraitRecept("!X00" + tarvic::test::DonneesBloc(ValeursAvec(0, 0, 0x1234)) + "    ");
    EXPECT_EQ(enregistrement.LitParam(5), 1);
    EXPECT_EQ(enregistrement.LitPoint(0, 0), static_cast<float>(0x1234));
}

TEST_F(AcquisitionTest, DataThatWouldRunPastTheLineIsRefused)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    const std::string ligne = "!xxxTSF00" + tarvic::test::DonneesBloc(ValeursDistinctes()).substr(0, 2047);
    ASSERT_EQ(ligne.size(), 2056u);
    EXPECT_EQ(enregistrement.LitBloc(), "TSF00");
    TraceCapture traces;
    enregistrement.TraitRecept(ligne);
    EXPECT_EQ(traces.Count("erreur->str_len=2056\n"), 1);
    EXPECT_EQ(enregistrement.LitParam(5), 0);
    EXPECT_EQ(enregistrement.LitBloc(), "TSF00");
}

TEST_F(AcquisitionTest, FieldsThatAreNoNumberStayZero)
{
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    std::string ligne = LigneBloc(0, ValeursAvec(0, 0, 0x1111));
    ligne.replace(6, 4, "zzzz");
    enregistrement.TraitRecept(ligne);
    EXPECT_EQ(enregistrement.LitParam(5), 1);
    EXPECT_EQ(enregistrement.LitPoint(0, 0), 0.0f);
}

TEST_F(AcquisitionTest, ModeOStopsAfterTheLastBlock)
{
    CEnregistrement enregistrement;
    tarvic::test::Acquiert(enregistrement, {ValeursAvec(0, 0, 1), ValeursAvec(0, 0, 2)});
    EXPECT_FALSE(enregistrement.LitStart());
    EXPECT_EQ(enregistrement.LitParam(5), 2);
    EXPECT_EQ(enregistrement.LitParam(4), 0);
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
    EXPECT_EQ(enregistrement.LitNbPoint(), 64);
    EXPECT_EQ(enregistrement.LitPoint(0, 32), 2.0f);
}

TEST_F(AcquisitionTest, ModeEWrapsAroundAndCountsCycles)
{
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "MODE", 'E');
    CEnregistrement enregistrement;
    tarvic::test::Acquiert(enregistrement, {ValeursAvec(0, 0, 1), ValeursAvec(0, 0, 2)});
    EXPECT_TRUE(enregistrement.LitStart());
    EXPECT_EQ(enregistrement.LitParam(4), 1);
    EXPECT_EQ(enregistrement.LitParam(5), 0);
    EXPECT_EQ(enregistrement.LitNbPoint(), 64);
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
    enregistrement.TraitRecept(LigneBloc(0, ValeursAvec(0, 0, 3)));  // appended after the first pass
    EXPECT_EQ(enregistrement.LitNbPoint(), 96);
    EXPECT_EQ(enregistrement.LitPoint(0, 0), 1.0f);
    EXPECT_EQ(enregistrement.LitPoint(0, 64), 3.0f);
}

TEST_F(AcquisitionTest, AnyOtherModeLetterIssuesNoStatusRequest)
{
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "MODE", 'Z');
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
}

TEST_F(AcquisitionTest, StoppingKeepsTheDataAndRestartingEmptiesIt)
{
    CEnregistrement enregistrement;
    tarvic::test::Acquiert(enregistrement, {ValeursAvec(0, 0, 9)});
    enregistrement.SetStart(false);
    EXPECT_EQ(enregistrement.DmdMesure(0), "");
    EXPECT_EQ(enregistrement.LitPoint(0, 0), 9.0f);
    EXPECT_EQ(enregistrement.LitParam(5), 1);
    enregistrement.SetStart(true);
    EXPECT_EQ(enregistrement.LitPoint(0, 0), 0.0f);
    EXPECT_EQ(enregistrement.LitParam(5), 0);
    EXPECT_EQ(enregistrement.LitNbPoint(), 0);
}

TEST_F(AcquisitionTest, RestartingForgetsRequestsLeftUnanswered)
{
    CEnregistrement enregistrement;
    tarvic::test::Acquiert(enregistrement, {ValeursAvec(0, 0, 9)});
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM01");
    EXPECT_EQ(enregistrement.LitBloc(), "TSF01");
    enregistrement.SetStart(true);  // the answers to block 1 would never match block 0
    EXPECT_EQ(enregistrement.DmdMesure(0), "TEM00");
    EXPECT_EQ(enregistrement.LitBloc(), "TSF00");
}
