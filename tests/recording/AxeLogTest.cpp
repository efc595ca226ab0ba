#include <gtest/gtest.h>

#include "tarvic/platform/RecordingDC.h"
#include "tarvic/recording/AxeLog.h"

namespace {

// Four decades, 0.01 to 100 Hz, over 400 columns: 100 columns a decade.
CAxeLog FourDecades(bool visible = true) { return CAxeLog(100, 500, 0.01f, 100.0f, "f (Hz)", 320, visible); }

}  // namespace

TEST(AxeLogDefaults, OneDecadeInHertz)
{
    const CAxeLog axe;
    EXPECT_TRUE(axe.m_visible);
    EXPECT_EQ(axe.m_unite, "Hz");
    EXPECT_EQ(axe.m_pixGauche, 0);
    EXPECT_EQ(axe.m_pixDroite, 100);
    EXPECT_EQ(axe.m_min, 1.0f);
    EXPECT_EQ(axe.m_max, 10.0f);
}

TEST(AxeLogMapping, EqualRatiosTakeEqualWidths)
{
    const CAxeLog axe = FourDecades();
    EXPECT_EQ(axe.ConvIntFloat(0.01f), 100);
    EXPECT_EQ(axe.ConvIntFloat(0.1f), 200);
    EXPECT_EQ(axe.ConvIntFloat(1.0f), 300);
    EXPECT_EQ(axe.ConvIntFloat(10.0f), 400);
    EXPECT_EQ(axe.ConvIntFloat(100.0f), 500);
    // log10(2) = 0.30103: 30.1 columns into the decade of 1 Hz.
    EXPECT_EQ(axe.ConvIntFloat(2.0f), 330);
    // log10(5) = 0.69897: 69.9 columns, rounded to the nearest.
    EXPECT_EQ(axe.ConvIntFloat(5.0f), 370);
}

TEST(AxeLogMapping, ValuesOutsideTheRangeAreClamped)
{
    const CAxeLog axe = FourDecades();
    EXPECT_EQ(axe.ConvIntFloat(0.001f), 100);
    EXPECT_EQ(axe.ConvIntFloat(0.0f), 100);
    EXPECT_EQ(axe.ConvIntFloat(-3.0f), 100);
    EXPECT_EQ(axe.ConvIntFloat(1000.0f), 500);
}

TEST(AxeLogMapping, ColumnsToValuesAreNotClamped)
{
    const CAxeLog axe = FourDecades();
    EXPECT_FLOAT_EQ(axe.ConvFloatInt(300), 1.0f);
    EXPECT_FLOAT_EQ(axe.ConvFloatInt(250), 0.31622777f);  // 10 to the power -0.5
    EXPECT_FLOAT_EQ(axe.ConvFloatInt(600), 1000.0f);
}

TEST(AxeLogMapping, RangesWithoutLogarithmGiveTheLeftEnd)
{
    const CAxeLog fromZero(100, 500, 0.0f, 100.0f, "Hz", 0, true);
    EXPECT_EQ(fromZero.ConvIntFloat(10.0f), 100);
    EXPECT_TRUE(fromZero.Decades().empty());
    EXPECT_TRUE(fromZero.Graduations().empty());
    const CAxeLog reversed(100, 500, 10.0f, 1.0f, "Hz", 0, true);
    EXPECT_EQ(reversed.ConvIntFloat(5.0f), 100);
    EXPECT_FLOAT_EQ(reversed.ConvFloatInt(300), 10.0f);
    const CAxeLog flatPixels(200, 200, 1.0f, 10.0f, "Hz", 0, true);
    EXPECT_FLOAT_EQ(flatPixels.ConvFloatInt(150), 1.0f);
}

TEST(AxeLogGrid, DecadesWithinTheRange)
{
    EXPECT_EQ(FourDecades().Decades(), (std::vector<float>{0.01f, 0.1f, 1.0f, 10.0f, 100.0f}));
    const CAxeLog between(0, 100, 0.05f, 3.0f, "Hz", 0, true);
    EXPECT_EQ(between.Decades(), (std::vector<float>{0.1f, 1.0f}));
    const CAxeLog inside(0, 100, 2.0f, 9.0f, "Hz", 0, true);
    EXPECT_TRUE(inside.Decades().empty());
}

TEST(AxeLogGrid, GraduationsAreOneToNineTimesEachDecade)
{
    const CAxeLog axe(0, 100, 0.05f, 3.0f, "Hz", 0, true);
    EXPECT_EQ(axe.Graduations(), (std::vector<float>{0.05f, 0.06f, 0.07f, 0.08f, 0.09f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f,
                                                     0.6f, 0.7f, 0.8f, 0.9f, 1.0f, 2.0f, 3.0f}));
}

TEST(AxeLogHitTest, ColumnBetweenBothEndsInclusive)
{
    const CAxeLog axe = FourDecades();
    EXPECT_TRUE(axe.TestPoint({100, -999}));
    EXPECT_TRUE(axe.TestPoint({500, 0}));
    EXPECT_FALSE(axe.TestPoint({99, 0}));
    EXPECT_FALSE(axe.TestPoint({501, 0}));
}

TEST(AxeLogRange, AjusteDecadesWidensToTheEnclosingDecades)
{
    CAxeLog axe(0, 100, 0.0008f, 0.08f, "Hz", 0, true);
    axe.AjusteDecades();
    EXPECT_FLOAT_EQ(axe.m_min, 0.0001f);
    EXPECT_FLOAT_EQ(axe.m_max, 0.1f);
    CAxeLog decades = FourDecades();
    decades.AjusteDecades();
    EXPECT_FLOAT_EQ(decades.m_min, 0.01f);
    EXPECT_FLOAT_EQ(decades.m_max, 100.0f);
}

TEST(AxeLogRange, AjusteDecadesKeepsOneDecadeAtLeast)
{
    CAxeLog single(0, 100, 5.0f, 5.0f, "Hz", 0, true);
    single.AjusteDecades();
    EXPECT_FLOAT_EQ(single.m_min, 1.0f);
    EXPECT_FLOAT_EQ(single.m_max, 10.0f);
    CAxeLog onDecade(0, 100, 10.0f, 10.0f, "Hz", 0, true);
    onDecade.AjusteDecades();
    EXPECT_FLOAT_EQ(onDecade.m_min, 10.0f);
    EXPECT_FLOAT_EQ(onDecade.m_max, 100.0f);
    CAxeLog noLogarithm(0, 100, 0.0f, 10.0f, "Hz", 0, true);
    noLogarithm.AjusteDecades();
    EXPECT_EQ(noLogarithm.m_min, 0.0f);
    EXPECT_EQ(noLogarithm.m_max, 10.0f);
}

TEST(AxeLogText, DecadesWrittenOutThenAsPowers)
{
    EXPECT_EQ(CAxeLog::TexteDecade(0.0001f), "10\\e-4");
    EXPECT_EQ(CAxeLog::TexteDecade(0.001f), "0.001");
    EXPECT_EQ(CAxeLog::TexteDecade(0.1f), "0.1");
    EXPECT_EQ(CAxeLog::TexteDecade(1.0f), "1");
    EXPECT_EQ(CAxeLog::TexteDecade(1000.0f), "1000");
    EXPECT_EQ(CAxeLog::TexteDecade(10000.0f), "10\\e4");
}

TEST(AxeLogDraw, ALabelCentredUnderEachDecadeAndTheUnitAfterTheEnd)
{
    CRecordingDC dc;
    dc.SetTextColor(RGB(255, 0, 0));
    CAxeLog(100, 500, 0.01f, 100.0f, "\\c2f (Hz)", 320, true).Draw(&dc);
    const std::vector<std::string> calls = dc.Descriptions();
    ASSERT_EQ(calls.size(), 6u);
    // Fixed metrics: 4 columns a character at size 12, so "0.01" is 16 wide.
    const std::string label = " Times New Roman 12/4 400 rgb(0,0,0)";
    EXPECT_EQ(calls[0], "text (92,320) \"0.01\"" + label);
    EXPECT_EQ(calls[1], "text (194,320) \"0.1\"" + label);
    EXPECT_EQ(calls[2], "text (298,320) \"1\"" + label);
    EXPECT_EQ(calls[3], "text (396,320) \"10\"" + label);
    EXPECT_EQ(calls[4], "text (494,320) \"100\"" + label);
    EXPECT_EQ(calls[5], "text (508,320) \"f (Hz)\" Times New Roman 14/4 400 rgb(255,0,0)");
}

TEST(AxeLogDraw, PowersDrawTheirExponentRaised)
{
    CRecordingDC dc;
    CAxeLog(0, 100, 10000.0f, 100000.0f, "Hz", 50, true).Draw(&dc);
    const std::vector<std::string> calls = dc.Descriptions();
    ASSERT_EQ(calls.size(), 5u);
    // "10" then "4" raised by a ninth of its height: 12 columns in all, from 0 - 6.
    EXPECT_EQ(calls[0], "text (-6,50) \"10\" Times New Roman 12/4 400 rgb(0,0,0)");
    EXPECT_EQ(calls[1], "text (2,49) \"4\" Times New Roman 12/4 400 rgb(0,0,0)");
    EXPECT_EQ(calls[2], "text (94,50) \"10\" Times New Roman 12/4 400 rgb(0,0,0)");
    EXPECT_EQ(calls[3], "text (102,49) \"5\" Times New Roman 12/4 400 rgb(0,0,0)");
}

TEST(AxeLogDraw, HiddenAxisDrawsNothing)
{
    CRecordingDC dc;
    FourDecades(false).Draw(&dc);
    FourDecades().Draw(nullptr);
    EXPECT_TRUE(dc.Calls().empty());
}
