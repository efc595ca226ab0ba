#include <gtest/gtest.h>

#include <vector>

#include "RecordingSupport.h"
#include "tarvic/recording/Enregistrement.h"

using tarvic::test::Acquiert;
using tarvic::test::ProfilBanc;
using tarvic::test::Valeurs;

namespace {

// Card-unit bench, curve 'F' (row 5) read raw: the curve is exactly the values given.
class MesureTest : public ::testing::Test {
protected:
    void Courbe(const std::vector<int>& points)
    {
        std::vector<Valeurs> blocs((points.size() + 31) / 32);
        for (std::size_t i = 0; i < points.size(); ++i)
            blocs[i / 32][5][i % 32] = static_cast<std::uint16_t>(points[i]);
        Acquiert(m_enregistrement, blocs);
    }

    ProfilBanc m_banc{'X'};
    CEnregistrement m_enregistrement;
};

}  // namespace

TEST_F(MesureTest, CalculMinMaxWidensAroundASingleZero)
{
    Courbe({0});
    float min = 0.0f, max = 0.0f;
    m_enregistrement.CalculMinMax('F', 1, min, max);
    EXPECT_EQ(min, -10.0f);
    EXPECT_EQ(max, 10.0f);
}

TEST_F(MesureTest, CalculMinMaxWidensByStepsOf10AndNeverShrinks)
{
    Courbe({25, -3, 40, -20});
    float min = 0.0f, max = 0.0f;
    m_enregistrement.CalculMinMax('F', 3, min, max);  // the fourth point is not looked at
    EXPECT_EQ(min, -10.0f);
    EXPECT_EQ(max, 50.0f);
    m_enregistrement.CalculMinMax('F', 4, min, max);
    EXPECT_EQ(min, -30.0f);
    EXPECT_EQ(max, 50.0f);
    float large = -1000.0f, haut = 1000.0f;
    m_enregistrement.CalculMinMax('F', 4, large, haut);
    EXPECT_EQ(large, -1000.0f);
    EXPECT_EQ(haut, 1000.0f);
    float debut = 2.5f, fin = 2.5f;
    m_enregistrement.CalculMinMax('F', 1, debut, fin);
    EXPECT_EQ(debut, 2.5f);
    EXPECT_EQ(fin, 32.5f);
}

TEST_F(MesureTest, CalculMinMaxEndsOnHugeAndInfiniteValues)
{
    Valeurs valeurs{};
    valeurs[3][0] = 0x7FFF;  // 'G': a 32-bit position of about 2^31, divided by 4
    valeurs[4][0] = 0xFFFF;
    valeurs[3][1] = 0x8000;
    valeurs[5][0] = 100;  // 'K'
    Acquiert(m_enregistrement, {valeurs});
    float min = 0.0f, max = 0.0f;
    m_enregistrement.CalculMinMax('G', 2, min, max);
    const float haut = m_enregistrement.LitPoint('G', 0);
    const float bas = m_enregistrement.LitPoint('G', 1);
    // Floats 64 apart there: the bound lands on the first one beyond the step.
    EXPECT_GT(max, haut);
    EXPECT_LE(max - haut, 64.0f + 10.0f);
    EXPECT_LT(min, bas);
    EXPECT_LE(bas - min, 64.0f + 10.0f);

    m_enregistrement.CalculGain(1, 1, 1, 0.0f, 1.0f);  // zero counts: infinite gains
    float kmin = 0.0f, kmax = 0.0f;
    m_enregistrement.CalculMinMax('K', 1, kmin, kmax);
    EXPECT_EQ(kmin, 0.0f);
    EXPECT_EQ(kmax, 0.0f);
}

TEST_F(MesureTest, RecherchePointMatchesWithinLessThan5)
{
    Courbe({10});
    m_enregistrement.SetPoint('F', 1, "F");
    float v = 14.9f;
    EXPECT_TRUE(m_enregistrement.RecherchePoint(0, v));
    EXPECT_EQ(v, 10.0f);
    v = 15.0f;
    EXPECT_FALSE(m_enregistrement.RecherchePoint(0, v));
    EXPECT_EQ(v, 15.0f);
    v = 5.1f;
    EXPECT_TRUE(m_enregistrement.RecherchePoint(0, v));
    v = 5.0f;
    EXPECT_FALSE(m_enregistrement.RecherchePoint(0, v));
}

TEST_F(MesureTest, RecherchePointTakesTheFirstSelectedCurve)
{
    Valeurs valeurs{};
    valeurs[5][0] = 12;  // 'F'
    valeurs[15][0] = 8;  // 'c'
    Acquiert(m_enregistrement, {valeurs});
    float v = 10.0f;
    EXPECT_FALSE(m_enregistrement.RecherchePoint(0, v));  // nothing selected
    m_enregistrement.SetPoint('c', 1, "");
    m_enregistrement.SetPoint('F', 1, "");
    EXPECT_TRUE(m_enregistrement.RecherchePoint(0, v));
    EXPECT_EQ(v, 8.0f);
}

TEST_F(MesureTest, RechercheRangFindsThePeakAtTheTopOfAPlateau)
{
    Courbe({1, 5, 5, 5, 2});
    EXPECT_EQ(m_enregistrement.RechercheRang(1, 'F', 4, 0, 0.0f), 3);
    EXPECT_EQ(m_enregistrement.RechercheRang(1, 'F', 4, 4, 0.0f), 4);
    EXPECT_EQ(m_enregistrement.RechercheRang(1, 'F', 0, 0, 0.0f), 0);
}

TEST_F(MesureTest, RechercheRangSettlesAtTheFirstRunOfThreeOutsideTheBand)
{
    Courbe({50, 60, 70, 80, 90, 99, 101, 103, 100, 100});
    EXPECT_EQ(m_enregistrement.RechercheRang(0, 'F', 9, 0, 2.0f), 4);
    EXPECT_EQ(m_enregistrement.RechercheRang(0, 'F', 9, 3, 2.0f), 4);
}

TEST_F(MesureTest, RechercheRangWithoutARunOfThreeTakesTheLowestRun)
{
    Courbe({50, 100, 100, 103, 100});
    EXPECT_EQ(m_enregistrement.RechercheRang(0, 'F', 4, 0, 2.0f), 0);
    EXPECT_EQ(m_enregistrement.RechercheRang(0, 'F', 4, 1, 2.0f), 3);
    EXPECT_EQ(m_enregistrement.RechercheRang(0, 'F', 4, 1, 3.0f), 4);  // the band is closed
    EXPECT_EQ(m_enregistrement.RechercheRang(2, 'F', 4, 0, 2.0f), 4);
}

TEST_F(MesureTest, TheCurveSelectionKeepsDuplicatesInOrder)
{
    m_enregistrement.SetPoint('F', 1, "");
    m_enregistrement.SetPoint('c', 1, "");
    m_enregistrement.SetPoint('F', 1, "");
    EXPECT_EQ(m_enregistrement.LitParam(0), 3);
    EXPECT_EQ(m_enregistrement.LitNum(0), 'F');
    EXPECT_EQ(m_enregistrement.LitNum(2), 'F');
    EXPECT_EQ(m_enregistrement.LitNum(3), 0);
    EXPECT_EQ(m_enregistrement.LitNum(-1), 0);
    EXPECT_TRUE(m_enregistrement.TestBloc('c'));
    EXPECT_FALSE(m_enregistrement.TestBloc('G'));
    m_enregistrement.SetPoint('F', 0, "");
    EXPECT_EQ(m_enregistrement.LitNum(0), 'c');
    EXPECT_EQ(m_enregistrement.LitNum(1), 'F');
    EXPECT_TRUE(m_enregistrement.TestBloc('F'));
    m_enregistrement.SetPoint('F', 2, "");
    EXPECT_FALSE(m_enregistrement.TestBloc('F'));
    EXPECT_EQ(m_enregistrement.LitParam(0), 1);
}

TEST_F(MesureTest, EmptyingTheSelectionRewindsTheCurrentBlock)
{
    Courbe({1, 2});
    m_enregistrement.SetPoint('F', 1, "");
    EXPECT_EQ(m_enregistrement.LitParam(5), 1);
    m_enregistrement.SetPoint('G', 0, "");  // not selected: nothing removed
    EXPECT_EQ(m_enregistrement.LitParam(5), 1);
    m_enregistrement.SetPoint('F', 0, "");
    EXPECT_EQ(m_enregistrement.LitParam(5), 0);
}
