#include <gtest/gtest.h>

#include "tarvic/platform/RecordingDC.h"
#include "tarvic/recording/Axe.h"

namespace {

CAxe Axe300To100(bool visible = true) { return CAxe(300, 100, 0.0f, 100.0f, "mm", 5, visible, 2); }

}  // namespace

TEST(AxeDefaults, AreTheDocumentedOnes)
{
    const CAxe axe;
    EXPECT_TRUE(axe.m_visible);
    EXPECT_EQ(axe.m_decimales, 0);
    EXPECT_EQ(axe.m_unite, "inc");
    EXPECT_EQ(axe.m_pixMin, 0);
    EXPECT_EQ(axe.m_pixMax, 100);
    EXPECT_EQ(axe.m_min, 0.0f);
    EXPECT_EQ(axe.m_max, 100.0f);
}

TEST(AxeMapping, ValuesToRowsClampedToTheRange)
{
    const CAxe axe = Axe300To100();
    EXPECT_EQ(axe.ConvIntFloat(50.0f), 200);
    EXPECT_EQ(axe.ConvIntFloat(150.0f), 100);
    EXPECT_EQ(axe.ConvIntFloat(-20.0f), 300);
    EXPECT_EQ(axe.ConvIntFloat(33.3f), 233);  // 300 - 66.6, truncated toward zero
}

TEST(AxeMapping, RowsToValuesAreNotClamped)
{
    const CAxe axe = Axe300To100();
    EXPECT_FLOAT_EQ(axe.ConvFloatInt(100), 100.0f);
    EXPECT_FLOAT_EQ(axe.ConvFloatInt(200), 50.0f);
    EXPECT_FLOAT_EQ(axe.ConvFloatInt(50), 125.0f);
}

TEST(AxeMapping, StepsAreATenthOfTheSpans)
{
    const CAxe axe = Axe300To100();
    EXPECT_EQ(axe.PasInt(), 20);
    EXPECT_FLOAT_EQ(axe.PasFloat(), 10.0f);
    EXPECT_EQ(CAxe(100, 125, 0.0f, 1.0f, "", 0, true, 0).PasInt(), 2);
}

TEST(AxeMapping, ZeroSpansGiveTheLowEnd)
{
    const CAxe flatValues(300, 100, 5.0f, 5.0f, "mm", 0, true, 0);
    EXPECT_EQ(flatValues.ConvIntFloat(5.0f), 300);
    EXPECT_EQ(flatValues.ConvIntFloat(9.0f), 300);
    const CAxe flatPixels(200, 200, 0.0f, 100.0f, "mm", 0, true, 0);
    EXPECT_FLOAT_EQ(flatPixels.ConvFloatInt(150), 0.0f);
    EXPECT_EQ(flatPixels.PasInt(), 0);
}

TEST(AxeHitTest, RowBetweenBothEndsInclusive)
{
    const CAxe axe = Axe300To100();
    EXPECT_TRUE(axe.TestPoint({-999, 100}));
    EXPECT_TRUE(axe.TestPoint({0, 300}));
    EXPECT_FALSE(axe.TestPoint({0, 99}));
    EXPECT_FALSE(axe.TestPoint({0, 301}));
}

TEST(AxeRange, AjustePlageWidensBothSides)
{
    CAxe axe = Axe300To100();
    axe.AjustePlage(10.0f);
    EXPECT_FLOAT_EQ(axe.m_min, -10.0f);
    EXPECT_FLOAT_EQ(axe.m_max, 110.0f);
}

TEST(AxeText, UniteValeurFormatsWithTheDecimalsAndUnit)
{
    CAxe axe = Axe300To100();
    EXPECT_EQ(axe.UniteValeur(200, 1), "50.00 mm");
    EXPECT_EQ(axe.UniteValeur(200, 0), ", 50.00 mm");
    EXPECT_EQ(axe.UniteValeur(275, 2), ", 12.50 mm");
    axe.m_decimales = 0;
    EXPECT_EQ(axe.UniteValeur(275, 1), "12 mm");
    axe.m_decimales = -3;
    EXPECT_EQ(axe.UniteValeur(275, 1), "12 mm");
    axe.m_decimales = 1000;
    EXPECT_EQ(axe.UniteValeur(300, 1), "0.00000000000000000000 mm");
}

TEST(AxeText, HiddenAxisHasNoText) { EXPECT_EQ(Axe300To100(false).UniteValeur(200, 1), ""); }

TEST(AxeDraw, ElevenWholeLabelsUpwardsAndTheUnitOnTop)
{
    CRecordingDC dc;
    dc.SetTextColor(RGB(255, 0, 0));
    CAxe axe(300, 100, -5.0f, 15.0f, "\\c2mm", 5, true, 2);
    axe.Draw(&dc);
    const std::vector<std::string> calls = dc.Descriptions();
    ASSERT_EQ(calls.size(), 12u);
    const std::string label = " Times New Roman 12/4 400 rgb(0,0,0)";
    EXPECT_EQ(calls[0], "text (5,293) \"-5\"" + label);
    EXPECT_EQ(calls[1], "text (5,273) \"-3\"" + label);
    EXPECT_EQ(calls[3], "text (5,233) \"1\"" + label);
    EXPECT_EQ(calls[10], "text (5,93) \"15\"" + label);
    EXPECT_EQ(calls[11], "text (5,82) \"mm\" Times New Roman 14/4 400 rgb(255,0,0)");
}

TEST(AxeDraw, HiddenAxisDrawsNothing)
{
    CRecordingDC dc;
    Axe300To100(false).Draw(&dc);
    Axe300To100().Draw(nullptr);
    EXPECT_TRUE(dc.Calls().empty());
}
