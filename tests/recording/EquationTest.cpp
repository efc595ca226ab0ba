#include <gtest/gtest.h>

#include "support/GuiApplication.h"
#include "tarvic/platform/RecordingDC.h"
#include "tarvic/recording/Equation.h"

// Fixed metrics: a run of n characters in a font of height h and width w is
// n * w wide (n * (w + 1) in bold) and h high.
namespace {

using Descriptions = std::vector<std::string>;

Descriptions Draw(const std::string& text, CPoint at, int size, bool keepColor = false)
{
    CRecordingDC dc;
    CEquation equation(text, at, size);
    equation.Draw(&dc, keepColor);
    return dc.Descriptions();
}

std::string TextRun(CPoint at, const std::string& text, const std::string& font,
                    const std::string& color = "rgb(0,0,0)")
{
    return "text (" + std::to_string(at.x) + "," + std::to_string(at.y) + ") \"" + text + "\" " + font + " " + color;
}

const std::string times20 = "Times New Roman 20/6 400";
const std::string times12 = "Times New Roman 12/4 400";

}  // namespace

TEST(EquationRuns, IndexIsSmallerAndLoweredByAThirdOfItsHeight)
{
    EXPECT_EQ(Draw("U\\is", {10, 50}, 20),
              (Descriptions{TextRun({10, 50}, "U", times20), TextRun({16, 55}, "s", "Times New Roman 17/5 400")}));
}

TEST(EquationRuns, ExponentIsRaisedByANinthOfItsHeight)
{
    EXPECT_EQ(Draw("x\\e2 + 1", {0, 50}, 12),
              (Descriptions{TextRun({0, 50}, "x", times12), TextRun({4, 49}, "2 + 1", times12)}));
}

TEST(EquationRuns, EscapesAccumulateUntilARunAndApplyToThatRunOnly)
{
    EXPECT_EQ(Draw("\\i\\gk(x", {0, 30}, 12), (Descriptions{TextRun({0, 33}, "k(x", "Times New Roman 9/3 700")}));
    EXPECT_EQ(Draw("\\gK\\n+L", {0, 0}, 12),
              (Descriptions{TextRun({0, 0}, "K", "Times New Roman 12/4 700"), TextRun({5, 0}, "+L", times12)}));
}

TEST(EquationRuns, FaceEscapeSelectsTheSymbolFaceForOneRun)
{
    EXPECT_EQ(Draw("\\f1w\\f9t", {0, 0}, 12),
              (Descriptions{TextRun({0, 0}, "w", "Symbol 12/4 400"), TextRun({4, 0}, "t", times12)}));
}

TEST(EquationRuns, UnknownEscapeLetterIsDrawn)
{
    EXPECT_EQ(Draw("a\\zb", {0, 0}, 12), (Descriptions{TextRun({0, 0}, "a", times12), TextRun({4, 0}, "zb", times12)}));
}

TEST(EquationRuns, OtherCharactersEndTheRunAndAreNotDrawn)
{
    EXPECT_EQ(Draw("a_b[c", {0, 0}, 12), (Descriptions{TextRun({0, 0}, "a", times12), TextRun({4, 0}, "b", times12),
                                                       TextRun({8, 0}, "c", times12)}));
}

TEST(EquationRuns, AccentedLettersBelongToTheRunOtherHighBytesDoNot)
{
    EXPECT_EQ(Draw("\xC9t\xE9 \xE8 \xB5s \xB0" "C\xD7y\x80z", {0, 0}, 12),
              (Descriptions{TextRun({0, 0}, "\\xC9t\\xE9 \\xE8 \\xB5s \\xB0C", times12), TextRun({44, 0}, "y", times12),
                            TextRun({48, 0}, "z", times12)}));
}

TEST(EquationRuns, ATextEndingInAnEscapeDrawsNothingMoreAndKeepsTheStyle)
{
    CRecordingDC dc;
    CEquation equation("ab\\g", {0, 0}, 12);
    equation.Draw(&dc, false);
    equation.Draw(&dc, false);
    EXPECT_EQ(dc.Descriptions(),
              (Descriptions{TextRun({0, 0}, "ab", times12), TextRun({0, 0}, "ab", "Times New Roman 12/4 700")}));
}

TEST(EquationRuns, CutShortEscapesAtTheEndDrawNothing)
{
    for (const char* text : {"ab\\", "ab\\c", "ab\\f"})
        EXPECT_EQ(Draw(text, {0, 0}, 12), (Descriptions{TextRun({0, 0}, "ab", times12)})) << text;
}

TEST(EquationColours, ColourEscapeLastsUntilTheNextOne)
{
    EXPECT_EQ(
        Draw("a\\c2b\\ic\\c1d\\c9e", {0, 0}, 12),
        (Descriptions{TextRun({0, 0}, "a", times12), TextRun({4, 0}, "b", times12, "rgb(255,0,0)"),
                      TextRun({8, 3}, "c", "Times New Roman 9/3 400", "rgb(255,0,0)"),
                      TextRun({11, 0}, "d", times12, "rgb(0,0,255)"), TextRun({15, 0}, "e", times12, "rgb(0,0,255)")}));
}

TEST(EquationColours, KeepColourStartsWithTheContextsColour)
{
    CRecordingDC dc;
    dc.SetTextColor(RGB(0, 128, 0));
    CEquation("a\\c4b", {0, 0}, 12).Draw(&dc, true);
    CEquation("c", {0, 0}, 12).Draw(&dc, false);
    EXPECT_EQ(dc.Descriptions(),
              (Descriptions{TextRun({0, 0}, "a", times12, "rgb(0,128,0)"),
                            TextRun({4, 0}, "b", times12, "rgb(192,192,192)"), TextRun({0, 0}, "c", times12)}));
}

TEST(EquationDrawing, RestoresTheFontAndDrawsTransparentFromTheTopLeft)
{
    CRecordingDC dc;
    CFont* before = dc.GetCurrentFont();
    dc.SetTextAlign(TA_CENTER | TA_BASELINE);
    CEquation("K\\ip |", {0, 0}, 12).Draw(&dc, false);
    EXPECT_EQ(dc.GetCurrentFont(), before);
    EXPECT_EQ(dc.GetTextAlign(), TA_LEFT | TA_TOP);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
}

TEST(EquationIntegral, IsTheSymbolSignAtDoubleSizeRaisedByAQuarter)
{
    EXPECT_EQ(Draw("|x dt", {0, 50}, 12),
              (Descriptions{TextRun({0, 44}, "\\xF2", "Symbol 24/8 400"), TextRun({8, 50}, "x dt", times12)}));
}

TEST(EquationLines, NewlineStartsALineOneSizeLower)
{
    EXPECT_EQ(Draw("ab\ncd\n\ne", {5, 10}, 12),
              (Descriptions{TextRun({5, 10}, "ab", times12), TextRun({5, 22}, "cd", times12),
                            TextRun({5, 46}, "e", times12)}));
}

TEST(EquationFractions, NarrowerDenominatorIsCentredUnderTheBar)
{
    EXPECT_EQ(Draw("x = F{abcd}/{ab} + 1", {0, 100}, 12),
              (Descriptions{TextRun({0, 100}, "x = ", times12), "line (16,106)-(32,106) pen solid 1 rgb(0,0,0)",
                            TextRun({16, 92}, "abcd", times12), TextRun({20, 106}, "ab", times12),
                            TextRun({32, 100}, " + 1", times12)}));
}

TEST(EquationFractions, NarrowerNumeratorIsCentredOverTheBar)
{
    EXPECT_EQ(Draw("F{1}/{1 + Tp}", {10, 40}, 12),
              (Descriptions{"line (10,46)-(34,46) pen solid 1 rgb(0,0,0)", TextRun({20, 32}, "1", times12),
                            TextRun({10, 46}, "1 + Tp", times12)}));
}

TEST(EquationFractions, BarUsesTheContextsPen)
{
    CRecordingDC dc;
    CPen blue(PS_SOLID, 2, RGB(0, 0, 255));
    dc.SelectObject(&blue);
    CEquation("F{a}/{b}", {0, 0}, 12).Draw(&dc, false);
    EXPECT_EQ(dc.Descriptions().front(), "line (0,6)-(4,6) pen solid 2 rgb(0,0,255)");
}

TEST(EquationFractions, NewlinesBeforeAFractionAreNotLineBreaks)
{
    EXPECT_EQ(
        Draw("a\nF{b}/{c}\nd", {0, 0}, 12),
        (Descriptions{TextRun({0, 0}, "a", times12), "line (4,6)-(8,6) pen solid 1 rgb(0,0,0)",
                      TextRun({4, -8}, "b", times12), TextRun({4, 6}, "c", times12), TextRun({0, 12}, "d", times12)}));
}

TEST(EquationFractions, CutShortFractionsAreDrawnPlainly)
{
    EXPECT_EQ(Draw("a{b", {0, 0}, 12), (Descriptions{TextRun({0, 0}, "a", times12), TextRun({4, 0}, "b", times12)}));
    EXPECT_EQ(Draw("F{num}/{den", {0, 0}, 12),
              (Descriptions{TextRun({0, 0}, "F", times12), TextRun({4, 0}, "num", times12),
                            TextRun({16, 0}, "/", times12), TextRun({20, 0}, "den", times12)}));
    EXPECT_EQ(Draw("F{a}", {0, 0}, 12), (Descriptions{TextRun({0, 0}, "F", times12), TextRun({4, 0}, "a", times12)}));
    EXPECT_EQ(Draw("{a}/", {0, 0}, 12), (Descriptions{TextRun({0, 0}, "a", times12), TextRun({4, 0}, "/", times12)}));
}

TEST(EquationFractions, FractionAtTheVeryStartHasNoMarkerToSkip)
{
    EXPECT_EQ(Draw("{a}/{bc}", {0, 20}, 12),
              (Descriptions{"line (0,26)-(8,26) pen solid 1 rgb(0,0,0)", TextRun({2, 12}, "a", times12),
                            TextRun({0, 26}, "bc", times12)}));
}

TEST(EquationMeasure, LongEquationSumsRunsAndIntegrals)
{
    CRecordingDC dc;
    CEquation equation("", {0, 0}, 12);
    EXPECT_EQ(equation.LongEquation(&dc, "ab\\gcd|\\ie"), 8 + 10 + 8 + 3);
    EXPECT_TRUE(dc.Calls().empty());
    EXPECT_EQ(equation.LongEquation(nullptr, "ab"), 0);
}

TEST(EquationMeasure, LongEquationDoesNotChangeTheColourOrTheFont)
{
    CRecordingDC dc;
    CFont* before = dc.GetCurrentFont();
    CEquation("", {0, 0}, 12).LongEquation(&dc, "\\c2a");
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetCurrentFont(), before);
}

// The next run starts where the bold run ended when drawn.
static int DrawnBoldWidth(CRecordingDC& dc)
{
    CEquation("\\gKp\\nx", {0, 0}, 20).Draw(&dc, false);
    return dc.Calls().back().points.front().x;
}

TEST(EquationMeasure, LongEquationOfABoldRunIsItsDrawnWidth)
{
    CRecordingDC dc;
    CEquation equation("", {0, 0}, 20);
    EXPECT_EQ(equation.LongEquation(&dc, "\\gKp"), 14);
    EXPECT_EQ(DrawnBoldWidth(dc), 14);
}

TEST(EquationMeasure, LongEquationOfABoldRunIsItsDrawnWidthWithRealFonts)
{
    tarvic::test::RequireGuiApplication();
    CRecordingDC dc(CRecordingDC::Metrics::font);
    CEquation equation("", {0, 0}, 20);
    const int measured = equation.LongEquation(&dc, "\\gKp");
    EXPECT_GT(measured, 0);
    EXPECT_EQ(DrawnBoldWidth(dc), measured);
}
