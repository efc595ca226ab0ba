#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>

#include "support/GuiApplication.h"
#include "tarvic/platform/FontMap.h"
#include "tarvic/platform/RecordingDC.h"

using namespace tarvic;

namespace {

LOGFONT Face(const char* face, int height, int width = 0, int weight = FW_NORMAL)
{
    LOGFONT log;
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfWeight = weight;
    log.lfFaceName = face;
    return log;
}

class FontMap : public ::testing::Test {
protected:
    void SetUp() override { test::RequireGuiApplication(); }
};

}  // namespace

TEST_F(FontMap, RequestedFacesResolveToTheInstalledFreeFaces)
{
    EXPECT_EQ(QFontInfo(QFontFromLogFont(Face("Times New Roman", 20))).family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(
        QFontInfo(QFontFromLogFont(Face("Symbol", 20))).family().startsWith(QStringLiteral("Standard Symbols PS")));
}

TEST_F(FontMap, SymbolCodesBecomeTheirUnicodeSigns)
{
    const LOGFONT symbol = Face("Symbol", 40);
    EXPECT_EQ(QStringForFont("\xF2", symbol), QString(QChar(0x222B)));
    EXPECT_EQ(QStringForFont("pa-1", symbol), QString::fromUtf16(u"\u03C0\u03B1\u22121"));
    EXPECT_TRUE(QFontMetrics(QFontFromLogFont(symbol)).inFont(QChar(0x222B)));
    // Any face with the symbol character set reads the symbol encoding too.
    LOGFONT charset = Face("Times New Roman", 20);
    charset.lfCharSet = SYMBOL_CHARSET;
    EXPECT_TRUE(IsSymbolFont(charset));
    EXPECT_EQ(QStringForFont("\xE9t\xE9", Face("Times New Roman", 20)), QString::fromUtf16(u"\u00E9t\u00E9"));
}

TEST_F(FontMap, PositiveHeightIsTheCellNegativeTheEm)
{
    EXPECT_NEAR(QFontMetrics(QFontFromLogFont(Face("Times New Roman", 40))).height(), 40, 1);
    EXPECT_EQ(QFontFromLogFont(Face("Times New Roman", -40)).pixelSize(), 40);
}

TEST_F(FontMap, WidthIsTheAverageCharacterWidth)
{
    for (int width : {4, 7, 12}) {
        const QFont font = QFontFromLogFont(Face("Times New Roman", 20, width));
        EXPECT_NEAR(QFontMetricsF(font).averageCharWidth(), width, 0.75) << width;
    }
    const CSize narrow = FontTextExtent(Face("Times New Roman", 20, 4), "Temps de r\xE9ponse");
    const CSize wide = FontTextExtent(Face("Times New Roman", 20, 8), "Temps de r\xE9ponse");
    EXPECT_NEAR(static_cast<double>(wide.cx) / narrow.cx, 2.0, 0.15);
    EXPECT_EQ(wide.cy, narrow.cy);
}

TEST_F(FontMap, BoldRunsAreWiderThanNormalOnes)
{
    const CSize normal = FontTextExtent(Face("Times New Roman", 20), "Kp");
    const CSize bold = FontTextExtent(Face("Times New Roman", 20, 0, FW_BOLD), "Kp");
    EXPECT_GT(bold.cx, normal.cx);
}

TEST_F(FontMap, RecordingInFontModeMeasuresLikeThePainter)
{
    CRecordingDC dc(CRecordingDC::Metrics::font);
    const LOGFONT log = Face("Times New Roman", 14, 4);
    CFont font;
    font.CreateFontIndirect(&log);
    dc.SelectObject(&font);
    EXPECT_EQ(dc.GetTextExtent("U(t) = 12"), FontTextExtent(log, "U(t) = 12"));
    EXPECT_NE(dc.GetTextExtent("U(t) = 12"), FixedTextExtent(log, "U(t) = 12"));
}
