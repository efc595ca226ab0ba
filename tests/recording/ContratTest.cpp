#include <gtest/gtest.h>

#include <fstream>

#include "RecordingSupport.h"
#include "tarvic/recording/Enregistrement.h"

using tarvic::test::ProfilBanc;

TEST(EnregistrementContratTest, AFreshElementHasTheDefaultSettings)
{
    ProfilBanc banc;
    CEnregistrement enregistrement;
    EXPECT_EQ(enregistrement.LitGrp(), "D_MODE0_ENREGISTREMENT");
    EXPECT_EQ(enregistrement.LitParam(2), 20);
    EXPECT_EQ(enregistrement.LitParam(3), 'O');
    EXPECT_EQ(enregistrement.ConfFerz(0), "EMO");
    EXPECT_EQ(enregistrement.ConfFerz(1), "EVE");
    EXPECT_EQ(enregistrement.ConfFerz(1007), "0064");
    EXPECT_EQ(enregistrement.ConfFerz(2), "");
    EXPECT_EQ(enregistrement.LitTempsAttente(), 3200);
    EXPECT_EQ(enregistrement.NbParam(), 2);
    EXPECT_FALSE(enregistrement.LitStart());
    for (const int i : {0, 1, 4, 5, 6, -1}) EXPECT_EQ(enregistrement.LitParam(i), 0) << i;
    EXPECT_EQ(enregistrement.LitNbPoint(), 0);
}

TEST(EnregistrementContratTest, SettingsComeFromTheRecordingSection)
{
    ProfilBanc banc;
    banc.Profil().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 5);
    banc.Profil().WriteProfileInt("ENREGISTREMENT", "MODE", 'E');
    banc.Profil().WriteProfileInt("ENREGISTREMENT", "TEM", 10);
    CEnregistrement enregistrement;
    EXPECT_EQ(enregistrement.LitParam(2), 5);
    EXPECT_EQ(enregistrement.ConfFerz(0), "EME");
    EXPECT_EQ(enregistrement.ConfFerz(1007), "000A");
    EXPECT_EQ(enregistrement.LitTempsAttente(), 320);
}

TEST(EnregistrementContratTest, TheWaitingTimeIsParameter1001)
{
    ProfilBanc banc;
    CEnregistrement enregistrement;
    float v = -1.0f;
    EXPECT_TRUE(enregistrement.LitFParam(1001, v));
    EXPECT_EQ(v, 100.0f);
    EXPECT_FALSE(enregistrement.SetFParam(1001, 250.7f));
    EXPECT_TRUE(enregistrement.LitFParam(1001, v));
    EXPECT_EQ(v, 250.0f);
    EXPECT_EQ(banc.Profil().GetProfileInt("ENREGISTREMENT", "TEM", 0), 250);
    EXPECT_EQ(enregistrement.ConfFerz(1007), "00FA");
    EXPECT_FALSE(enregistrement.SetFParam(1001, 70000.0f));  // reduced to 16 bits
    EXPECT_EQ(enregistrement.ConfFerz(1007), "1170");

    float autre = -1.0f;
    EXPECT_FALSE(enregistrement.LitFParam(1000, autre));
    EXPECT_EQ(autre, -1.0f);
    EXPECT_FALSE(enregistrement.SetFParam(1000, 5.0f));
    EXPECT_EQ(enregistrement.ConfFerz(1007), "1170");
}

TEST(EnregistrementContratTest, SetModeIsWrittenToTheProfile)
{
    ProfilBanc banc;
    CEnregistrement enregistrement;
    enregistrement.SetMode('E');
    EXPECT_EQ(enregistrement.ConfFerz(0), "EME");
    EXPECT_EQ(enregistrement.LitParam(3), 'E');
    EXPECT_EQ(banc.Profil().GetProfileInt("ENREGISTREMENT", "MODE", 0), 'E');
}

TEST(EnregistrementContratTest, CharacterParametersAndProbesAreNotReadBack)
{
    ProfilBanc banc('X');
    CEnregistrement enregistrement;
    int v = -7;
    EXPECT_FALSE(enregistrement.LitCParam(55, v));
    EXPECT_EQ(v, -7);
    EXPECT_FALSE(enregistrement.SetCParam(55, 'T'));
    EXPECT_EQ(enregistrement.LitAxe('7'), 5);  // the selector took the letter
    EXPECT_EQ(enregistrement.LitSonde(0), 0.0f);
}

TEST(EnregistrementContratTest, OnlyTheSingleByteFFIsRefused)
{
    ProfilBanc banc;
    CEnregistrement enregistrement;
    EXPECT_FALSE(enregistrement.TraitRecept("\xFF"));
    EXPECT_TRUE(enregistrement.TraitRecept("\xFF\xFF"));
    EXPECT_TRUE(enregistrement.TraitRecept(""));
    EXPECT_TRUE(enregistrement.TraitRecept("!AVS0000"));
}

TEST(EnregistrementContratTest, IsCreatableFromItsName)
{
    ProfilBanc banc;
    const CRuntimeClass* classe = CRuntimeClass::FromName("CEnregistrement");
    ASSERT_EQ(classe, RUNTIME_CLASS(CEnregistrement));
    EXPECT_TRUE(classe->IsDerivedFrom(RUNTIME_CLASS(CEidElement)));
    const std::unique_ptr<CObject> objet(classe->CreateObject());
    EXPECT_EQ(static_cast<CEnregistrement*>(objet.get())->ConfFerz(0), "EMO");
}

TEST(EnregistrementContratTest, ExportTxtCreatesAnEmptyFile)
{
    ProfilBanc banc;
    CEnregistrement enregistrement;
    const std::string chemin = ::testing::TempDir() + "export_enregistrement.txt";
    {
        std::ofstream ancien(chemin);
        ancien << "ancien contenu";
    }
    enregistrement.ExportTxt(chemin);
    std::ifstream relu(chemin, std::ios::binary);
    ASSERT_TRUE(relu.is_open());
    EXPECT_EQ(relu.peek(), std::char_traits<char>::eof());
    enregistrement.ExportTxt(::testing::TempDir() + "absent/dossier/export.txt");  // no effect, no crash
}
