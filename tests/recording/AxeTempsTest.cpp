#include <gtest/gtest.h>

#include <climits>

#include "tarvic/recording/AxeTemps.h"

namespace {

CAxeTemps Window640(int cycles, int block)
{
    CAxeTemps axe;
    axe.m_fenetre = 640;
    axe.m_cyclesAcquis = cycles;
    axe.m_blocAcquis = block;
    axe.Calcul();
    return axe;
}

// The scroll count as the plain search finds it, counting up from 1.
int CountedScroll(int step, long long total)
{
    int n = 1;
    while (static_cast<long long>(step) * n + 640 < total) ++n;
    return n;
}

}  // namespace

TEST(AxeTempsDefaults, AreTheDocumentedOnes)
{
    const CAxeTemps axe;
    EXPECT_EQ(axe.m_pasTemps, 10.0f);
    EXPECT_EQ(axe.m_periode, 1.0f);
    EXPECT_EQ(axe.m_zoom, 1);
    EXPECT_EQ(axe.m_fenetre, 0);
    EXPECT_EQ(axe.m_offset, 0);
}

TEST(AxeTempsCalcul, StandsStillDuringTheFirstPass)
{
    const CAxeTemps axe = Window640(0, 15);
    EXPECT_EQ(axe.m_nbDecal, 0);
    EXPECT_EQ(axe.m_premier, 0);
    EXPECT_EQ(axe.m_dernier, 640);
}

TEST(AxeTempsCalcul, ScrollsByTenthsOfTheWindowAfterIt)
{
    CAxeTemps axe = Window640(1, 0);
    EXPECT_EQ(axe.m_nbDecal, 1);
    EXPECT_EQ(axe.m_premier, 64);
    EXPECT_EQ(axe.m_dernier, 704);
    axe = Window640(1, 3);  // total 736: 64 * 2 + 640 >= 736
    EXPECT_EQ(axe.m_nbDecal, 2);
    EXPECT_EQ(axe.m_premier, 128);
}

TEST(AxeTempsCalcul, ZoomAndOffsetNarrowAndShiftTheWindow)
{
    CAxeTemps axe;
    axe.m_fenetre = 640;
    axe.m_zoom = 4;
    axe.m_offset = 3;
    axe.Calcul();
    EXPECT_EQ(axe.m_premier, 48);
    EXPECT_EQ(axe.m_dernier, 208);
}

TEST(AxeTempsCalcul, ScrollCountIsTheSmallestThatShowsTheNewestPoint)
{
    for (int window : {10, 100, 640, 1000, 6400})
        for (int zoom : {1, 2, 3})
            for (int cycles = 1; cycles <= 4; ++cycles)
                for (int block = 0; block < 20; ++block) {
                    const int step = window / (zoom * 10);
                    if (step == 0) continue;  // the counting search never ends there (StepZeroDoesNotHang)
                    CAxeTemps axe;
                    axe.m_fenetre = window;
                    axe.m_zoom = zoom;
                    axe.m_cyclesAcquis = cycles;
                    axe.m_blocAcquis = block;
                    axe.Calcul();
                    ASSERT_EQ(axe.m_nbDecal, CountedScroll(step, (cycles * 20LL + block) * 32))
                        << window << " " << zoom << " " << cycles << " " << block;
                }
}

TEST(AxeTempsCalcul, StepZeroDoesNotHang)
{
    CAxeTemps axe = Window640(0, 0);
    axe.m_fenetre = 5;  // 5 / 10 = 0 points per step
    axe.m_cyclesAcquis = 3;
    axe.Calcul();
    EXPECT_EQ(axe.m_nbDecal, 1);
    EXPECT_EQ(axe.m_premier, 0);
    EXPECT_EQ(axe.m_dernier, 5);
}

TEST(AxeTempsCalcul, ZoomZeroCountsAsOne)
{
    CAxeTemps axe;
    axe.m_fenetre = 640;
    axe.m_zoom = 0;
    axe.Calcul();
    EXPECT_EQ(axe.m_premier, 0);
    EXPECT_EQ(axe.m_dernier, 640);
}

TEST(AxeTempsCalcul, HugeCountsAreWorkedOutWithoutOverflow)
{
    CAxeTemps axe = Window640(0, 0);
    axe.m_fenetre = 10;
    axe.m_cyclesAcquis = INT_MAX;
    axe.Calcul();
    EXPECT_EQ(axe.m_nbDecal, INT_MAX);
    EXPECT_EQ(axe.m_premier, INT_MAX);
}

TEST(AxeTempsMapping, IndicesAndColumns)
{
    CAxeTemps axe = Window640(1, 0);  // points 64 .. 704
    axe.m_pixGauche = 50;
    axe.m_pixDroite = 690;
    EXPECT_EQ(axe.calculpx(64), 50);
    EXPECT_EQ(axe.calculpx(704), 690);
    EXPECT_EQ(axe.calculpx(65), 51);
    EXPECT_EQ(axe.calculpx(0), -14);
    EXPECT_EQ(axe.CalculRang(690), 704);
    EXPECT_EQ(axe.CalculRang(51), 65);
    EXPECT_EQ(axe.PasInt(), 64);
}

TEST(AxeTempsMapping, IntegerArithmeticMultipliesBeforeDividing)
{
    CAxeTemps axe = Window640(0, 0);
    axe.m_dernier = 3;
    axe.m_pixGauche = 0;
    axe.m_pixDroite = 10;
    EXPECT_EQ(axe.calculpx(1), 3);  // 1 * 10 / 3
    EXPECT_EQ(axe.calculpx(2), 6);
    EXPECT_EQ(axe.CalculRang(-4), -1);  // toward zero
}

TEST(AxeTempsMapping, TimesInSeconds)
{
    CAxeTemps axe = Window640(0, 0);
    axe.m_periode = 2.0f;
    axe.m_pixGauche = 0;
    axe.m_pixDroite = 320;
    EXPECT_EQ(axe.CalculRang(0.5f), 250);
    EXPECT_EQ(axe.CalculRang(0.0039f), 1);
    EXPECT_EQ(axe.ConvIntFloat(0.5f), 125);
    EXPECT_EQ(axe.ConvIntFloat(1.279f), 319);
}

TEST(AxeTempsMapping, ZeroSpansGiveDefinedValues)
{
    CAxeTemps axe;
    axe.m_pixGauche = 7;
    axe.m_pixDroite = 7;
    axe.m_premier = 12;
    axe.m_dernier = 12;
    EXPECT_EQ(axe.calculpx(40), 7);
    EXPECT_EQ(axe.CalculRang(40), 12);
    EXPECT_EQ(axe.ConvIntFloat(1.0f), 7);
    axe.m_dernier = 100;
    axe.m_periode = 0.0f;
    EXPECT_EQ(axe.CalculRang(1.0f), 0);
    EXPECT_EQ(axe.ConvIntFloat(1.0f), 7);
}

TEST(AxeTempsHitTest, LeftEdgeInRightEdgeOut)
{
    CAxeTemps axe;
    axe.m_pixGauche = 50;
    axe.m_pixDroite = 690;
    EXPECT_TRUE(axe.TestPoint({50, -1000}));
    EXPECT_TRUE(axe.TestPoint({689, 0}));
    EXPECT_FALSE(axe.TestPoint({690, 0}));
    EXPECT_FALSE(axe.TestPoint({49, 0}));
}
