#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <limits>

#include "BancTestSupport.h"
#include "engine/outputs/BodePlot.h"
#include "support/GuiApplication.h"
#include "tarvic/platform/RecordingDC.h"

using namespace banc;
using analysis::BodePoint;

namespace {

constexpr COLORREF kOrange = RGB(230, 120, 0);

BodePoint At(double hz, double db, double deg, bool trusted = true)
{
    BodePoint point;
    point.frequencyHz = hz;
    point.gainDb = db;
    point.gain = std::pow(10.0, db / 20);
    point.phaseDeg = deg;
    point.trusted = trusted;
    return point;
}

// Three points on two decades, 0.01 to 1 Hz: on the picture's frame the
// frequencies take 400 columns a decade from column 80 (0.01 Hz, 0.1 Hz at 480,
// 1 Hz at 880). The gains, 0 to -20 dB, take ten steps of 2 dB from row 300
// (-20 dB) up to row 60 (0 dB), 12 rows a dB; the phases, -10 to -85 degrees,
// ten steps of 10 degrees centred on them, -100 at row 580 up to 0 at row 340.
BodeContent ThreePoints()
{
    BodeContent content;
    content.title = "Temp\xE9rature";
    content.measured = {At(0.01, 0, -10), At(0.1, -5, -50), At(1, -20, -85)};
    return content;
}

class BodeDrawing : public ::testing::Test {
protected:
    std::vector<std::string> Drawn(const BodeContent& content, const BodeFrame& frame = kBodeImageFrame)
    {
        CRecordingDC dc;
        DrawBode(dc, content, frame);
        m_calls = dc.Calls();
        return dc.Descriptions();
    }
    static bool Has(const std::vector<std::string>& drawn, const std::string& call)
    {
        return std::find(drawn.begin(), drawn.end(), call) != drawn.end();
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& call : m_calls)
            if (call.op == "text") texts.push_back(call.text);
        return texts;
    }
    std::vector<const CRecordingDC::Call*> Polylines() const
    {
        std::vector<const CRecordingDC::Call*> lines;
        for (const auto& call : m_calls)
            if (call.op == "polyline") lines.push_back(&call);
        return lines;
    }

    std::vector<CRecordingDC::Call> m_calls;
};

}  // namespace

TEST_F(BodeDrawing, TheFrequencyAxisIsLogarithmicWithItsGridAtTheDecades)
{
    const auto drawn = Drawn(ThreePoints());
    // The decades darker, on both panels.
    for (const int x : {80, 480, 880}) {
        EXPECT_TRUE(Has(
            drawn, "line (" + std::to_string(x) + ",60)-(" + std::to_string(x) + ",300) pen dot 1 rgb(160,160,160)"))
            << x;
        EXPECT_TRUE(Has(
            drawn, "line (" + std::to_string(x) + ",340)-(" + std::to_string(x) + ",580) pen dot 1 rgb(160,160,160)"))
            << x;
    }
    // 0.02 Hz is log10(2) = 0.30103 of a decade in: 120.4 columns; 0.5 Hz 0.69897: 279.6.
    EXPECT_TRUE(Has(drawn, "line (200,60)-(200,300) pen dot 1 rgb(215,215,215)"));
    EXPECT_TRUE(Has(drawn, "line (760,340)-(760,580) pen dot 1 rgb(215,215,215)"));
    // Nine graduations a decade on each panel, the last decade's alone: 19 columns twice.
    int columns = 0;
    for (const auto& call : m_calls)
        if (call.op == "line" && call.pen.lopnStyle == PS_DOT && call.points[0].x == call.points[1].x) ++columns;
    EXPECT_EQ(columns, 2 * 19);
    // The decades labelled under the phase panel, centred (4 columns a character of 12).
    const std::string label = " Times New Roman 12/4 400 rgb(0,0,0)";
    EXPECT_TRUE(Has(drawn, "text (72,586) \"0.01\"" + label));
    EXPECT_TRUE(Has(drawn, "text (474,586) \"0.1\"" + label));
    EXPECT_TRUE(Has(drawn, "text (878,586) \"1\"" + label));
    EXPECT_TRUE(Has(drawn, "text (888,586) \"f (Hz)\" Times New Roman 14/4 400 rgb(0,0,0)"));
}

TEST_F(BodeDrawing, APointIsCrossedAtItsFrequencysColumnOnBothPanels)
{
    const auto drawn = Drawn(ThreePoints());
    // 0.1 Hz at column 480; -5 dB at row 60 + 5 x 12; -50 degrees half way down the phase panel.
    const std::string blue = " pen solid 1 rgb(0,0,255)";
    EXPECT_TRUE(Has(drawn, "line (476,116)-(484,124)" + blue));
    EXPECT_TRUE(Has(drawn, "line (476,124)-(484,116)" + blue));
    EXPECT_TRUE(Has(drawn, "line (476,456)-(484,464)" + blue));
    EXPECT_TRUE(Has(drawn, "line (476,464)-(484,456)" + blue));
    // 1 Hz, -20 dB: the right bottom corner of the gain panel.
    EXPECT_TRUE(Has(drawn, "line (876,296)-(884,304)" + blue));
    const std::vector<std::string> texts = Texts();
    for (const char* text :
         {"-20", "-18", "0", "gain (dB)", "-100", "-90", "phase (\xB0)", "Temp\xE9rature", "Points mesur\xE9s   "})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    // All trusted: no entry for doubtful points.
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.find("douteux") != std::string::npos; }),
              0);
}

TEST_F(BodeDrawing, TheModelsCurveIsDrawnOverThePointsOnBothPanels)
{
    BodeContent content = ThreePoints();
    content.curves.push_back({"Mod\xE8le", kOrange, false, {At(0.01, 0, -10), At(0.1, -5, -50), At(1, -20, -100)}});
    Drawn(content);
    const auto lines = Polylines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->points, (std::vector<CPoint>{{80, 60}, {480, 120}, {880, 300}}));
    EXPECT_EQ(lines[1]->points, (std::vector<CPoint>{{80, 364}, {480, 460}, {880, 580}}));
    EXPECT_EQ(lines[0]->pen.lopnColor, kOrange);
    EXPECT_EQ(lines[0]->pen.lopnWidth, 2);
    // The measured points drawn after it, on top.
    const auto curve =
        std::find_if(m_calls.begin(), m_calls.end(), [](const auto& call) { return call.op == "polyline"; });
    const auto cross = std::find_if(m_calls.begin(), m_calls.end(), [](const auto& call) {
        return call.op == "line" && call.pen.lopnColor == RGB(0, 0, 255);
    });
    EXPECT_LT(curve, cross);
    const std::vector<std::string> texts = Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Mod\xE8le   "), texts.end());
}

TEST_F(BodeDrawing, TheMarginsAreMarkedFromTheirReferencesAtTheCrossovers)
{
    BodeContent content;
    // Phases -90 to -180: ten steps of 10 degrees from -180 at row 580.
    content.measured = {At(0.01, 0, -90), At(0.1, -5, -150), At(1, -20, -180)};
    analysis::LoopMargins margins;
    margins.gainDb = 10;
    margins.phaseCrossoverHz = 1;
    margins.phaseDeg = 50;
    margins.gainCrossoverHz = 0.01;
    content.margins = margins;
    const auto drawn = Drawn(content);
    const std::string green = " pen solid 2 rgb(0,128,0)";
    // The gain margin at 1 Hz from 0 dB (row 60) down to -10 dB (row 180), its figure on the left: no room on the
    // right.
    EXPECT_TRUE(Has(drawn, "line (80,60)-(880,60) pen dash 1 rgb(0,0,0)"));
    EXPECT_TRUE(Has(drawn, "line (880,60)-(880,180)" + green));
    EXPECT_TRUE(Has(drawn, "text (826,114) \"Mg = 10.0 dB\" Times New Roman 13/4 400 rgb(0,0,0)"));
    // The phase margin at 0.01 Hz from -180 degrees (row 580) up to -130 (row 460), its figure on the right.
    EXPECT_TRUE(Has(drawn, "line (80,580)-(880,580) pen dash 1 rgb(0,0,0)"));
    EXPECT_TRUE(Has(drawn, "line (80,580)-(80,460)" + green));
    EXPECT_TRUE(Has(drawn, "text (86,514) \"M\" Times New Roman 13/4 400 rgb(0,0,0)"));
    EXPECT_TRUE(Has(drawn, "text (90,514) \"f\" Symbol 13/4 400 rgb(0,0,0)"));
    EXPECT_TRUE(Has(drawn, "text (94,514) \" = 50.0\\xB0\" Times New Roman 13/4 400 rgb(0,0,0)"));
}

TEST_F(BodeDrawing, AMarginWithoutItsCrossoverIsNotMarked)
{
    BodeContent content = ThreePoints();
    analysis::LoopMargins margins;
    margins.phaseDeg = 50;  // its frequency was not read
    content.margins = margins;
    Drawn(content);
    for (const auto& call : m_calls) {
        EXPECT_NE(call.pen.lopnColor, RGB(0, 128, 0)) << call.Describe();
        EXPECT_NE(call.pen.lopnStyle, PS_DASH) << call.Describe();
    }
}

TEST_F(BodeDrawing, ADoubtfulPointIsCrossedInRedAndNamedInTheLegend)
{
    BodeContent content = ThreePoints();
    content.measured[1].trusted = false;
    content.measured[1].flag = "satur\xE9";
    const auto drawn = Drawn(content);
    EXPECT_TRUE(Has(drawn, "line (476,116)-(484,124) pen solid 1 rgb(255,0,0)"));
    EXPECT_FALSE(Has(drawn, "line (476,116)-(484,124) pen solid 1 rgb(0,0,255)"));
    const std::vector<std::string> texts = Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Points douteux (satur\xE9s, d\xE9" "form\xE9s ou bruit\xE9s)   "),
              texts.end());
}

TEST_F(BodeDrawing, AGainWithoutDecibelsIsNotDrawnNorStretchesTheAxes)
{
    BodeContent content = ThreePoints();
    content.measured.push_back(At(0.5, -std::numeric_limits<double>::infinity(), -300));
    content.measured.push_back(At(0, -40, -300));
    const auto drawn = Drawn(content);
    int crosses = 0;
    for (const auto& call : m_calls)
        if (call.op == "line" && call.pen.lopnColor == RGB(0, 0, 255)) ++crosses;
    EXPECT_EQ(crosses, 3 * 2 * 2 + 2);  // three points, two strokes, two panels; the legend's cross
    // The same axes as without them.
    EXPECT_TRUE(Has(drawn, "line (476,116)-(484,124) pen solid 1 rgb(0,0,255)"));
    EXPECT_TRUE(Has(drawn, "line (476,456)-(484,464) pen solid 1 rgb(0,0,255)"));
}

TEST_F(BodeDrawing, AnEmptyDiagramStillHasItsAxes)
{
    Drawn(BodeContent{});
    const std::vector<std::string> texts = Texts();
    for (const char* text : {"1", "10", "f (Hz)", "gain (dB)", "phase (\xB0)"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    EXPECT_TRUE(Polylines().empty());
}

TEST(BodeFrame, PanelsOfWholeTensOfRowsFitTheSurface)
{
    const BodeFrame image = kBodeImageFrame;
    EXPECT_EQ(image.width, 960);
    EXPECT_EQ(image.height, 760);
    EXPECT_EQ(image.left, 80);
    EXPECT_EQ(image.right, 880);
    EXPECT_EQ(image.gainTop, 60);
    EXPECT_EQ(image.gainBottom, 300);
    EXPECT_EQ(image.phaseTop, 340);
    EXPECT_EQ(image.phaseBottom, 580);
    // 1000 x 705: (705 - 280) / 2 = 212 rows, 210 kept.
    const BodeFrame window = BodeFrameFor(1000, 705);
    EXPECT_EQ(window.right, 920);
    EXPECT_EQ(window.gainBottom, 270);
    EXPECT_EQ(window.phaseTop, 310);
    EXPECT_EQ(window.phaseBottom, 520);
    // Too small a surface still gets panels of 50 rows.
    EXPECT_EQ(BodeFrameFor(300, 200).gainBottom, 110);
}

TEST(BodeImage, SaveBodeWritesThePictureOrSaysWhyNot)
{
    tarvic::test::RequireGuiApplication();
    banc::test::TemporaryFolder folder;
    const std::string picture = std::string(TARVIC_RENDER_DIR) + "/banc-bode.png";
    ASSERT_EQ(SaveBode(picture, ThreePoints()), "");
    const QImage image(QString::fromLocal8Bit(picture.c_str()));
    EXPECT_EQ(image.size(), QSize(kBodeImageFrame.width, kBodeImageFrame.height));
    // On the cross of 0.1 Hz, -5 dB, a little off its centre.
    EXPECT_EQ(image.pixelColor(482, 122).blue(), 255);
    EXPECT_EQ(image.pixelColor(482, 122).red(), 0);
    EXPECT_EQ(SaveBode(folder.Path(), ThreePoints()),
              "Impossible d'\xE9" "crire l'image " + folder.Path() + " : c'est un dossier.");
}
