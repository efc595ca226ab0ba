#include <gtest/gtest.h>

#include <sstream>

#include "RecordingSupport.h"
#include "support/ArchiveBytes.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/recording/Enregistrement.h"

using tarvic::test::Acquiert;
using tarvic::test::ProfilBanc;
using tarvic::test::Valeurs;
using tarvic::test::ValeursAvec;
using tarvic::test::ValeursDistinctes;

namespace {

void Ajoute16(std::string& octets, std::uint16_t mot)
{
    octets += static_cast<char>(mot & 0xFF);
    octets += static_cast<char>(mot >> 8);
}

void Ajoute32(std::string& octets, std::uint32_t mot)
{
    Ajoute16(octets, static_cast<std::uint16_t>(mot & 0xFFFF));
    Ajoute16(octets, static_cast<std::uint16_t>(mot >> 16));
}

std::string OctetsBloc(const Valeurs& valeurs)
{
    std::string octets;
    for (const auto& rang : valeurs)
        for (const std::uint16_t valeur : rang) Ajoute16(octets, valeur);
    return octets;
}

std::string Stocke(CEnregistrement& enregistrement) { return tarvic::test::StoredBytes(enregistrement); }

// Loads `octets` into `enregistrement`; true when the archive did not fail.
bool Charge(CEnregistrement& enregistrement, const std::string& octets)
{
    return tarvic::test::LoadBytes(enregistrement, octets).has_value();
}

class ArchiveEnregistrementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 2);
        m_premier = ValeursDistinctes();
        m_second = ValeursAvec(7, 9, 0xBEEF);
    }

    // What a recording of the two blocks stores, byte for byte.
    std::string Attendu() const
    {
        std::string octets;
        Ajoute16(octets, 100);  // waiting time
        Ajoute32(octets, 'O');  // mode
        Ajoute32(octets, 2);    // block count
        Ajoute32(octets, 0);    // reserved word
        Ajoute32(octets, 2);    // current block
        Ajoute32(octets, 0);    // cycles
        Ajoute16(octets, 2);    // blocks in the list
        Ajoute16(octets, 0xFFFF);
        Ajoute16(octets, 0);
        Ajoute16(octets, 10);
        octets += "CBlocPoint";
        octets += OctetsBloc(m_premier);
        Ajoute16(octets, 0x8001);
        octets += OctetsBloc(m_second);
        return octets;
    }

    ProfilBanc m_banc{'X'};
    Valeurs m_premier{};
    Valeurs m_second{};
};

}  // namespace

TEST_F(ArchiveEnregistrementTest, StoresTheSettingsThenTheBlockList)
{
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {m_premier, m_second});
    EXPECT_EQ(Stocke(enregistrement), Attendu());
}

TEST_F(ArchiveEnregistrementTest, AnEmptyRecordingStoresACountOfZero)
{
    CEnregistrement enregistrement;
    const std::string octets = Stocke(enregistrement);
    ASSERT_EQ(octets.size(), 24u);
    EXPECT_EQ(octets.substr(22), std::string(2, '\0'));
}

TEST_F(ArchiveEnregistrementTest, LoadsBackStoppedWithTheBlockReady)
{
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "TEM", 7);
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "MODE", 'E');
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 9);
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {ValeursAvec(0, 0, 5)});
    ASSERT_TRUE(enregistrement.LitStart());
    ASSERT_TRUE(Charge(enregistrement, Attendu()));
    EXPECT_FALSE(enregistrement.LitStart());
    EXPECT_EQ(enregistrement.LitParam(1), 1);
    EXPECT_EQ(enregistrement.LitParam(2), 2);
    EXPECT_EQ(enregistrement.LitParam(3), 'O');
    EXPECT_EQ(enregistrement.LitParam(5), 2);
    EXPECT_EQ(enregistrement.ConfFerz(1007), "0064");
    EXPECT_EQ(enregistrement.LitPoint(0, 0), 0.0f);  // the old block went
    EXPECT_EQ(enregistrement.LitPoint(3, 17), static_cast<float>(0x311));
    EXPECT_EQ(enregistrement.LitPoint(7, 32 + 9), static_cast<float>(static_cast<std::int16_t>(0xBEEF)));
    EXPECT_EQ(Stocke(enregistrement), Attendu());

    // A loaded recording keeps its place when the last curve is deselected.
    enregistrement.SetPoint('F', 1, "");
    enregistrement.SetPoint('F', 0, "");
    EXPECT_EQ(enregistrement.LitParam(5), 2);
}

TEST_F(ArchiveEnregistrementTest, ATruncatedArchiveLeavesTheRecordingAsItWas)
{
    const std::string complet = Attendu();
    for (const std::size_t longueur : {std::size_t{0}, std::size_t{10}, std::size_t{22}, std::size_t{30},
                                       std::size_t{700}, std::size_t{1064}, std::size_t{1066}, complet.size() - 1}) {
        CEnregistrement enregistrement;
        Acquiert(enregistrement, {ValeursAvec(0, 0, 5)});
        EXPECT_FALSE(Charge(enregistrement, complet.substr(0, longueur))) << longueur;
        EXPECT_TRUE(enregistrement.LitStart());
        EXPECT_EQ(enregistrement.LitParam(1), 0);
        EXPECT_EQ(enregistrement.LitParam(5), 1);
        EXPECT_EQ(enregistrement.LitPoint(0, 0), 5.0f);
        EXPECT_EQ(enregistrement.LitPoint(3, 32), 0.0f);
    }
}

TEST_F(ArchiveEnregistrementTest, ABlockCountBeyondTheStreamStopsAtItsEnd)
{
    for (const std::uint32_t compte : {3u, 0xFFFFu, 0xFFFFFFFFu}) {
        std::string octets = Attendu().substr(0, 22);
        if (compte < 0xFFFF) {
            Ajoute16(octets, static_cast<std::uint16_t>(compte));
        } else {
            Ajoute16(octets, 0xFFFF);
            Ajoute32(octets, compte);
        }
        octets += Attendu().substr(24);
        CEnregistrement enregistrement;
        EXPECT_FALSE(Charge(enregistrement, octets)) << compte;
        EXPECT_EQ(enregistrement.LitParam(1), 0);
        EXPECT_EQ(enregistrement.LitPoint(0, 1), 0.0f);
    }
}

TEST_F(ArchiveEnregistrementTest, AnUnknownClassInTheListFails)
{
    std::string octets = Attendu();
    octets.replace(octets.find("CBlocPoint"), 10, "CBlocPoinX");
    CEnregistrement enregistrement;
    EXPECT_FALSE(Charge(enregistrement, octets));
    EXPECT_EQ(enregistrement.LitParam(1), 0);
}

TEST_F(ArchiveEnregistrementTest, TravelsAsAnObjectOfItsOwnClass)
{
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {m_premier, m_second});
    std::stringstream flux;
    {
        CArchive ar(flux, CArchive::store);
        ar.WriteObject(&enregistrement);
    }
    const std::string octets = flux.str();
    EXPECT_EQ(octets.substr(0, 6), std::string("\xFF\xFF\0\0\x0F\0", 6));
    EXPECT_EQ(octets.substr(6, 15), "CEnregistrement");
    CArchive ar(flux, CArchive::load);
    const std::unique_ptr<CObject> objet(ar.ReadObject(RUNTIME_CLASS(CEnregistrement)));
    ASSERT_NE(objet, nullptr);
    EXPECT_TRUE(ar.IsBufferEmpty());
    auto& relu = static_cast<CEnregistrement&>(*objet);
    EXPECT_EQ(relu.LitPoint(15, 31), static_cast<float>(0xF1F));
    EXPECT_EQ(relu.LitPoint(7, 41), static_cast<float>(static_cast<std::int16_t>(0xBEEF)));
}

TEST_F(ArchiveEnregistrementTest, TheCopyIsDeepAndStartsStoppedWithoutSelection)
{
    Valeurs valeurs = ValeursAvec(0, 0, 1024);
    valeurs[4][1] = 400;  // 'J'
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 3);
    m_banc.Profil().WriteProfileInt("ENREGISTREMENT", "TEM", 55);
    CEnregistrement autre;
    Acquiert(autre, {valeurs});
    autre.SetCParam(55, 'T');
    autre.CalculGain(2, 0, 0, 4.0f, 1.0f);
    autre.SetPoint('7', 1, "");
    autre.TraitRecept("!TEM01O");
    EXPECT_EQ(autre.DmdMesure(0), "TEM01");
    EXPECT_EQ(autre.LitBloc(), "TSF01");

    CEnregistrement copie(&autre);
    autre.SetStart(true);  // deletes the original's blocks
    EXPECT_EQ(copie.LitGrp(), "X_MODE0_ENREGISTREMENT");
    EXPECT_EQ(copie.LitPoint('7', 0), 24.0f);
    EXPECT_EQ(copie.LitPoint('J', 1), 400.0f * 0.25f / 4.0f);
    EXPECT_EQ(copie.LitParam(1), 1);
    EXPECT_EQ(copie.LitParam(2), 3);
    EXPECT_EQ(copie.LitParam(5), 1);
    EXPECT_EQ(copie.LitParam(0), 0);
    EXPECT_EQ(copie.LitTempsAttente(), 55 * 32);
    EXPECT_FALSE(copie.LitStart());
    EXPECT_EQ(copie.LitBloc(), "TSF01");  // nothing pending in the copy
}

namespace {

// A recording archive with the given counters and `blocs` blocks of zeros.
std::string Archive(std::int32_t nbBloc, std::int32_t numBloc, std::int32_t nbCycle, int blocs)
{
    std::string octets;
    Ajoute16(octets, 100);
    Ajoute32(octets, 'E');
    Ajoute32(octets, static_cast<std::uint32_t>(nbBloc));
    Ajoute32(octets, 0);
    Ajoute32(octets, static_cast<std::uint32_t>(numBloc));
    Ajoute32(octets, static_cast<std::uint32_t>(nbCycle));
    Ajoute16(octets, static_cast<std::uint16_t>(blocs));
    for (int bloc = 0; bloc < blocs; ++bloc) {
        if (bloc == 0) {
            Ajoute16(octets, 0xFFFF);
            Ajoute16(octets, 0);
            Ajoute16(octets, 10);
            octets += "CBlocPoint";
        } else {
            Ajoute16(octets, 0x8001);
        }
        octets += std::string(1024, '\0');
    }
    return octets;
}

}  // namespace

TEST_F(ArchiveEnregistrementTest, CountersThatRunPastTheBlocksHeldAreRefused)
{
    struct Compteurs {
        std::int32_t nbBloc, numBloc, nbCycle;
        int blocs;
    };
    for (const Compteurs c : {Compteurs{20, 0x06000000, 0, 0},  // 24 bytes once gave -1073741824 points
                              Compteurs{20, 1, 0, 0}, Compteurs{2, 0, 1, 1}, Compteurs{2, 1, 1, 2},
                              Compteurs{20, -1, 0, 1}, Compteurs{20, 0, -1, 1}, Compteurs{0, 0, 3, 1},
                              Compteurs{-4, 0, 2, 1}, Compteurs{0x40000000, 0, 0x40000000, 2}}) {
        CEnregistrement enregistrement;
        Acquiert(enregistrement, {ValeursAvec(0, 0, 5)});
        EXPECT_FALSE(Charge(enregistrement, Archive(c.nbBloc, c.numBloc, c.nbCycle, c.blocs)))
            << c.nbBloc << " " << c.numBloc << " " << c.nbCycle << " " << c.blocs;
        EXPECT_EQ(enregistrement.LitNbPoint(), 32);
        EXPECT_EQ(enregistrement.LitParam(2), 2);
        EXPECT_TRUE(enregistrement.LitStart());
        EXPECT_EQ(enregistrement.LitPoint(0, 0), 5.0f);
    }
}

TEST_F(ArchiveEnregistrementTest, CountersWithinTheBlocksHeldLoad)
{
    struct Compteurs {
        std::int32_t nbBloc, numBloc, nbCycle;
        int blocs, points;
    };
    for (const Compteurs c : {Compteurs{2, 2, 0, 2, 64},                            // one pass done
                              Compteurs{2, 0, 1, 2, 64},                            // endless, one cycle
                              Compteurs{2, 1, 1, 3, 96}, Compteurs{3, 0, 0, 2, 0},  // deselected, kept its blocks
                              Compteurs{0, 2, 0, 2, 64}, Compteurs{20, 0, 0, 0, 0}}) {
        CEnregistrement enregistrement;
        EXPECT_TRUE(Charge(enregistrement, Archive(c.nbBloc, c.numBloc, c.nbCycle, c.blocs)))
            << c.nbBloc << " " << c.numBloc << " " << c.nbCycle << " " << c.blocs;
        EXPECT_EQ(enregistrement.LitNbPoint(), c.points);
        EXPECT_EQ(enregistrement.LitParam(4), c.nbCycle);
    }
}
