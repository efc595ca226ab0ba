#include <gtest/gtest.h>

#include "RecordingSupport.h"
#include "tarvic/recording/Enregistrement.h"

using tarvic::test::Acquiert;
using tarvic::test::ProfilBanc;
using tarvic::test::Valeurs;
using tarvic::test::ValeursAvec;

namespace {

// Point 0 of row r holds 100 + r, so that a raw curve shows its row.
Valeurs ValeursParRang()
{
    Valeurs valeurs{};
    for (int rang = 0; rang < 16; ++rang) valeurs[rang][0] = static_cast<std::uint16_t>(100 + rang);
    return valeurs;
}

// The row read for each code on a bench, seen through raw values.
struct RangAttendu {
    int code;
    int rang;
};

}  // namespace

TEST(CourbeTest, RowsOnTheCardUnitBenches)
{
    ProfilBanc banc('S');
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {ValeursParRang()});
    for (const auto [code, rang] : {RangAttendu{'3', 12},
                                    {'4', 13},
                                    {'5', 14},
                                    {'6', 15},
                                    {'7', 0},
                                    {'8', 1},
                                    {'9', 2},
                                    {':', 4},
                                    {';', 3},
                                    {'<', 4},
                                    {'=', 6},
                                    {'?', 4},
                                    {'@', 5},
                                    {'A', 4},
                                    {'B', 5},
                                    {'F', 5},
                                    {'c', 15},
                                    {0, 0},
                                    {9, 9},
                                    {15, 15}})
        EXPECT_EQ(enregistrement.LitPoint(code, 0), static_cast<float>(100 + rang)) << code;
}

TEST(CourbeTest, RowsOnThePercentBenches)
{
    ProfilBanc banc('D');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    for (int rang = 0; rang < 16; ++rang) valeurs[rang][0] = static_cast<std::uint16_t>(32 * (rang + 1));
    Acquiert(enregistrement, {valeurs});
    // v * 100 / 3264 with v = 32 (r + 1): (r + 1) / 1.02
    for (const auto [code, rang] : {RangAttendu{'2', 8},
                                    {'3', 10},
                                    {'4', 11},
                                    {'5', 12},
                                    {'6', 13},
                                    {'7', 0},
                                    {'8', 1},
                                    {'9', 2},
                                    {'>', 9},
                                    {'J', 4},
                                    {'K', 5},
                                    {'L', 6},
                                    {'M', 7},
                                    {0, 0},
                                    {15, 15}})
        EXPECT_EQ(enregistrement.LitPoint(code, 0), static_cast<float>(32 * (rang + 1)) * 100.0f / 3264.0f) << code;
    EXPECT_EQ(enregistrement.LitPoint('F', 0), 32.0f * 6);
    EXPECT_EQ(enregistrement.LitPoint('G', 0), 32.0f * 5);
    EXPECT_EQ(enregistrement.LitPoint('H', 0), 32.0f * 3);
    EXPECT_EQ(enregistrement.LitPoint('I', 0), 32.0f * 2);
    EXPECT_EQ(enregistrement.LitPoint('c', 0), 32.0f * 16);
}

TEST(CourbeTest, PercentBenchScalesOfTheAnalogInputs)
{
    ProfilBanc banc('D');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    valeurs[4][0] = 819;
    valeurs[4][1] = 4095;
    valeurs[5][1] = 4095;
    valeurs[3][0] = 2457;
    valeurs[6][0] = 3276;
    Acquiert(enregistrement, {valeurs});
    EXPECT_EQ(enregistrement.LitPoint('<', 0), 0.0f);
    EXPECT_EQ(enregistrement.LitPoint('<', 1), 100.0f);
    EXPECT_EQ(enregistrement.LitPoint('A', 1), 100.0f);
    EXPECT_EQ(enregistrement.LitPoint('B', 1), 100.0f);
    EXPECT_EQ(enregistrement.LitPoint(':', 1), 20.0f);
    EXPECT_EQ(enregistrement.LitPoint('?', 1), 20.0f);
    EXPECT_EQ(enregistrement.LitPoint('@', 1), 20.0f);
    EXPECT_EQ(enregistrement.LitPoint(';', 0), 12.0f);
    EXPECT_EQ(enregistrement.LitPoint('=', 0), 100.0f);
}

TEST(CourbeTest, TheWaterLevelBenchShiftsCurveEqualsBy20)
{
    ProfilBanc banc('N');
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {ValeursAvec(6, 0, 3276)});
    EXPECT_EQ(enregistrement.LitPoint('=', 0), 80.0f);
}

TEST(CourbeTest, ThirtyTwoBitCurvesTakeTheirHighWordFromTheRowAbove)
{
    ProfilBanc banc('X');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    valeurs[3][0] = 0x0001;  // 'G' and 'J': high word
    valeurs[4][0] = 0x8000;  // low word, taken unsigned
    valeurs[8][0] = 0xFFFF;  // '2'
    valeurs[9][0] = 0xFFFE;
    valeurs[10][0] = 0x0002;  // '>'
    valeurs[11][0] = 0x0000;
    Acquiert(enregistrement, {valeurs});
    EXPECT_EQ(enregistrement.LitPoint('J', 0), 98304.0f / 4.0f);
    EXPECT_EQ(enregistrement.LitPoint('G', 0), 98304.0f / 4.0f);
    EXPECT_EQ(enregistrement.LitPoint('2', 0), -2.0f);
    EXPECT_EQ(enregistrement.LitPoint('>', 0), 131072.0f);
    EXPECT_EQ(enregistrement.LitPoint(4, 0), static_cast<float>(static_cast<std::int16_t>(0x8000)));
}

TEST(CourbeTest, TheSameRowsAre16BitOnThePercentBenches)
{
    ProfilBanc banc('D');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    valeurs[3][0] = 0x0001;
    valeurs[4][0] = 0xFFF0;
    Acquiert(enregistrement, {valeurs});
    EXPECT_EQ(enregistrement.LitPoint('G', 0), -16.0f);
}

TEST(CourbeTest, CardUnitScalesOfTheMotorCurves)
{
    ProfilBanc banc('I');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    valeurs[2][0] = 1024;  // 'H' (row 2 holds 12-bit values)
    valeurs[1][0] = 853;   // 'I'
    valeurs[7][0] = 4096;  // 'M'
    valeurs[5][0] = 300;   // 'K'
    valeurs[6][0] = 500;   // 'L'
    Acquiert(enregistrement, {valeurs});
    EXPECT_FLOAT_EQ(enregistrement.LitPoint('H', 0), 500.0f);
    EXPECT_FLOAT_EQ(enregistrement.LitPoint('I', 0), 10.001172f);
    EXPECT_FLOAT_EQ(enregistrement.LitPoint('M', 0), 2000.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 300.0f);  // gains start at 1
    EXPECT_EQ(enregistrement.LitPoint('L', 0), 50.0f);
}

TEST(CourbeTest, Measure7FollowsItsSelector)
{
    ProfilBanc banc('X');
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {ValeursAvec(0, 0, 2048)});
    EXPECT_EQ(enregistrement.LitPoint('7', 0), 2048.0f);
    enregistrement.SetCParam(55, 'T');
    EXPECT_EQ(enregistrement.LitPoint('7', 0), 48.0f);
    enregistrement.SetCParam(55, 'C');
    EXPECT_EQ(enregistrement.LitPoint('7', 0), 1000.0f);
    enregistrement.SetCParam(55, 'Q');
    EXPECT_EQ(enregistrement.LitPoint('7', 0), 1000.0f);
}

TEST(CourbeTest, GainsScaleThePositionSpeedAndAccelerationCurves)
{
    ProfilBanc banc('X');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    valeurs[4][0] = 4000;  // 'J' (row 3, the high word, is 0)
    valeurs[5][0] = 3906;  // 'K'
    valeurs[6][0] = 1000;  // 'L'
    Acquiert(enregistrement, {valeurs});
    const float counts = 1000.0f;
    const float period = 2.0f;
    const float q = period * 0.9765f;

    enregistrement.CalculGain(1, 1, 1, counts, period);
    EXPECT_EQ(enregistrement.LitPoint('J', 0), 4000.0f * (360.0f / counts) / 4.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 3906.0f * (60.0f / (4.0f * counts * q)));
    EXPECT_EQ(enregistrement.LitPoint('L', 0), 1000.0f * (1.0f / (4.0f * counts * period * q)) / 10.0f);

    enregistrement.CalculGain(2, 2, 2, counts, period);
    EXPECT_EQ(enregistrement.LitPoint('J', 0), 4000.0f * (1.0f / counts) / 4.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 3906.0f * (6.2832f / (4.0f * counts * q)));
    EXPECT_EQ(enregistrement.LitPoint('L', 0), 1000.0f * (6.2832f / (4.0f * counts * q * q)) / 10.0f);

    enregistrement.CalculGain(3, 3, 3, counts, period);
    EXPECT_EQ(enregistrement.LitPoint('J', 0), 4000.0f * (6.2832f / counts) / 4.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 3906.0f * (1.0f / (4.0f * counts * q)));
    EXPECT_EQ(enregistrement.LitPoint('L', 0), 1000.0f * (50.26548f / (4.0f * counts * 33.2f * q * q)) / 10.0f);

    enregistrement.CalculGain(4, 4, 4, counts, period);
    EXPECT_EQ(enregistrement.LitPoint('J', 0), 4000.0f * (50.26548f / (counts * 33.2f)) / 4.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 3906.0f * (50.26548f / (4.0f * counts * 33.2f * q)));
    EXPECT_EQ(enregistrement.LitPoint('L', 0), 100.0f);  // no fourth acceleration unit

    enregistrement.CalculGain(0, 0, 0, counts, period);
    EXPECT_EQ(enregistrement.LitPoint('J', 0), 1000.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 3906.0f);
}

TEST(CourbeTest, GainsDoNotTouchThePercentBenches)
{
    ProfilBanc banc('D');
    CEnregistrement enregistrement;
    Acquiert(enregistrement, {ValeursAvec(5, 0, 3264)});
    enregistrement.CalculGain(1, 1, 1, 10.0f, 1.0f);
    EXPECT_EQ(enregistrement.LitPoint('K', 0), 100.0f);
}

TEST(CourbeTest, CodesWithoutARowAndPointsNotAcquiredReadZero)
{
    ProfilBanc banc('X');
    CEnregistrement enregistrement;
    Valeurs valeurs{};
    for (auto& rang : valeurs) rang.fill(77);
    Acquiert(enregistrement, {valeurs});
    for (const int code : {int{'C'}, int{'D'}, int{'E'}, int{'N'}, int{'b'}, int{'d'}, int{'1'}, 16, 49, -1, 1000})
        EXPECT_EQ(enregistrement.LitPoint(code, 0), 0.0f) << code;
    EXPECT_EQ(enregistrement.LitPoint('F', 31), 77.0f);
    EXPECT_EQ(enregistrement.LitPoint('F', 32), 0.0f);
    EXPECT_EQ(enregistrement.LitPoint('F', -1), 0.0f);
    EXPECT_EQ(enregistrement.LitPoint('F', -32), 0.0f);
}

TEST(CourbeTest, AxesOfTheCurves)
{
    {
        ProfilBanc banc('D');
        CEnregistrement enregistrement;
        for (const auto& [code, axe] : {std::pair{'2', 0},
                                        {'7', 0},
                                        {'8', 1},
                                        {':', 1},
                                        {'<', 0},
                                        {'H', 4},
                                        {'I', 5},
                                        {'J', 1},
                                        {'K', 2},
                                        {'L', 3},
                                        {'M', 4},
                                        {'c', 2},
                                        {'C', 0}})
            EXPECT_EQ(enregistrement.LitAxe(code), axe) << code;
        enregistrement.SetCParam(55, 'T');
        EXPECT_EQ(enregistrement.LitAxe('7'), 0);
        EXPECT_EQ(enregistrement.LitAxe(3), 0);
    }
    ProfilBanc banc('S');
    CEnregistrement enregistrement;
    EXPECT_EQ(enregistrement.LitAxe('c'), 0);
    EXPECT_EQ(enregistrement.LitAxe('@'), 1);
    EXPECT_EQ(enregistrement.LitAxe('7'), 0);
    enregistrement.SetCParam(55, 'C');
    EXPECT_EQ(enregistrement.LitAxe('7'), 4);
    enregistrement.SetCParam(55, 'T');
    EXPECT_EQ(enregistrement.LitAxe('7'), 5);
}
