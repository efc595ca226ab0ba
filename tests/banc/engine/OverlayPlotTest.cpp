#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

#include "BancTestSupport.h"
#include "engine/outputs/AnalysisPlot.h"
#include "engine/outputs/PlotImage.h"
#include "engine/outputs/Results.h"
#include "recording/RecordingSupport.h"
#include "support/GuiApplication.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/RecordingDC.h"
#include "tarvic/recording/Axe.h"
#include "tarvic/recording/AxeTemps.h"

using namespace banc;
using tarvic::test::Valeurs;

namespace {

constexpr int kMeasureRow = 7, kFullScale = 3264;
constexpr COLORREF kOrange = RGB(230, 120, 0);

// A water level PID experiment of four blocks planned, two recorded at 20 %:
// on the picture's frame the time axis has 12.5 columns a second from column
// 80, the value axis 3.6 rows a percent from row 430 (0 %) up to row 70 (100 %).
class OverlayPlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings = banc::test::MakeSettings("niveaueau", "pid", {});
        m_settings.duration = 64;
        ASSERT_EQ(Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
        std::vector<Valeurs> blocks(2);
        for (auto& block : blocks) block[kMeasureRow].fill(kFullScale / 5);
        tarvic::test::Acquiert(*m_elements.recording, blocks);
        m_plot = MakePlot(m_settings, m_elements);
    }
    std::vector<std::string> Drawn(const CAxeTemps* time = nullptr, const PlotFrame& frame = kImageFrame)
    {
        CRecordingDC dc;
        DrawPlot(dc, *m_elements.recording, m_plot, frame, time);
        m_calls = dc.Calls();
        return dc.Descriptions();
    }
    bool Has(const std::vector<std::string>& drawn, const std::string& call)
    {
        return std::find(drawn.begin(), drawn.end(), call) != drawn.end();
    }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
    PlotContent m_plot;
    std::vector<CRecordingDC::Call> m_calls;
};

}  // namespace

TEST_F(OverlayPlot, AnOverlayIsDrawnOnThePlotsAxesDashedWithItsMarksAsCrosses)
{
    m_plot.overlays.push_back({"Pr\xE9vue", kOrange, true, 0, {{0, 25}, {8, 50}, {16, 75}}, {{32, 50}}});
    const auto drawn = Drawn();
    // 0 s, 8 s, 16 s at columns 80, 180, 280; 25, 50, 75 % at rows 340, 250, 160.
    EXPECT_TRUE(Has(drawn, "polyline (80,340) (180,250) (280,160) pen dash 2 rgb(230,120,0)"));
    // The mark at 32 s (column 480) and 50 %: a cross 4 either side.
    EXPECT_TRUE(Has(drawn, "line (476,246)-(484,254) pen dash 2 rgb(230,120,0)"));
    EXPECT_TRUE(Has(drawn, "line (476,254)-(484,246) pen dash 2 rgb(230,120,0)"));
    // Over the recorded curves: drawn after the three of them.
    int curves = 0;
    for (const auto& call : m_calls) {
        if (call.op == "polyline" && call.pen.lopnColor == kOrange) {
            EXPECT_EQ(curves, 3);
        }
        if (call.op == "polyline" && call.pen.lopnColor != kOrange) ++curves;
    }
    // In the legend, after the curves named in their colours: a dashed stroke 18 wide at the first row's middle.
    int strokes = 0;
    for (const auto& call : m_calls) {
        if (call.op != "line" || call.pen.lopnColor != kOrange || call.points[0].y != 430 + 46 + 11) continue;
        ++strokes;
        EXPECT_EQ(call.points[1].x - call.points[0].x, 18);
        EXPECT_EQ(call.points[1].y, call.points[0].y);
    }
    EXPECT_EQ(strokes, 1);
    EXPECT_NE(std::find_if(m_calls.begin(), m_calls.end(),
                           [](const auto& call) { return call.op == "text" && call.text == "Pr\xE9vue   "; }),
              m_calls.end());
}

TEST_F(OverlayPlot, MarksAloneHaveACrossInTheLegendAndAnUnlabelledOverlayNoEntry)
{
    m_plot.overlays.push_back({"Points lus", RGB(0, 150, 150), false, 0, {}, {{8, 25}}});
    m_plot.overlays.push_back({"", RGB(150, 0, 150), false, 0, {{0, 25}, {16, 75}}, {}});
    const auto drawn = Drawn();
    EXPECT_TRUE(Has(drawn, "line (176,336)-(184,344) pen solid 1 rgb(0,150,150)"));
    EXPECT_TRUE(Has(drawn, "polyline (80,340) (280,160) pen solid 1 rgb(150,0,150)"));
    std::vector<const CRecordingDC::Call*> legend;
    for (const auto& call : m_calls)
        if (call.op == "line" && call.points[0].y > 430) legend.push_back(&call);
    // The marks' entry: a cross centred on its stroke's place, 9 down from the row's top (476), 11 into its width.
    ASSERT_EQ(legend.size(), 2u);
    const int x = legend[0]->points[0].x + 4;
    EXPECT_EQ(legend[0]->points[0], CPoint(x - 4, 476 + 11 - 4));
    EXPECT_EQ(legend[0]->points[1], CPoint(x + 4, 476 + 11 + 4));
    EXPECT_EQ(legend[1]->points[0], CPoint(x - 4, 476 + 11 + 4));
    EXPECT_EQ(legend[1]->pen.lopnColor, RGB(0, 150, 150));
    int texts = 0;
    for (const auto& call : m_calls) texts += call.op == "text" && call.text == "   " ? 1 : 0;
    EXPECT_EQ(texts, 0);
}

TEST_F(OverlayPlot, AnOverlayIsCutAtTheEdgesOfTheTimeSpanShown)
{
    // Zoomed twice, scrolled ten tenths: points 60 to 124, 30 s to 62 s over the 800 columns.
    CAxeTemps time = PlotTimeAxis(m_plot, kImageFrame);
    time.m_zoom = 2;
    time.m_offset = 10;
    time.Calcul();
    ASSERT_EQ(time.m_premier, 60);
    ASSERT_EQ(time.m_dernier, 124);
    m_plot.overlays.push_back({"", kOrange, false, 0, {{20, 25}, {40, 75}, {70, 75}}, {{10, 50}, {40, 50}}});
    const auto drawn = Drawn(&time);
    // Cut at 30 s (50 %, the frame's left) and at 62 s; 40 s is point 80, 250 columns in.
    EXPECT_TRUE(Has(drawn, "polyline (80,250) (330,160) (880,160) pen solid 1 rgb(230,120,0)"));
    // The mark at 10 s is out of sight; the one at 40 s drawn.
    EXPECT_TRUE(Has(drawn, "line (326,246)-(334,254) pen solid 1 rgb(230,120,0)"));
    int lines = 0;
    for (const auto& call : m_calls) lines += call.op == "line" && call.pen.lopnColor == kOrange ? 1 : 0;
    EXPECT_EQ(lines, 2);
    // A tangent from before the span to after it: cut at both edges, at 40 % and 72 % (rows 286 and 170.8, truncated).
    m_plot.overlays = {{"", kOrange, false, 0, {{0, 10}, {80, 90}}, {}}};
    EXPECT_TRUE(Has(Drawn(&time), "polyline (80,286) (880,170) pen solid 1 rgb(230,120,0)"));
}

TEST_F(OverlayPlot, TheValueAxisWidensToTakeAnOverlayBeyondTheMeasurementsRange)
{
    m_plot.overlays.push_back({"", kOrange, false, 0, {{0, 20}, {8, 115}}, {}});
    const CAxe axis = PlotValueAxis(*m_elements.recording, m_plot, kImageFrame, 0);
    EXPECT_GE(axis.m_max, 115);
    EXPECT_LE(axis.m_min, 0);
    const auto drawn = Drawn();
    const std::string expected = "polyline (80," + std::to_string(axis.ConvIntFloat(20)) + ") (180," +
                                 std::to_string(axis.ConvIntFloat(115)) + ") pen solid 1 rgb(230,120,0)";
    EXPECT_TRUE(Has(drawn, expected)) << expected;
    EXPECT_LT(axis.ConvIntFloat(115), axis.ConvIntFloat(100));
    // Without the overlay, the percent's range.
    m_plot.overlays.clear();
    EXPECT_EQ(PlotValueAxis(*m_elements.recording, m_plot, kImageFrame, 0).m_max, 100);
}

TEST_F(OverlayPlot, ThePictureShowsTheOverlayInItsPen)
{
    m_plot.overlays.push_back({"", kOrange, false, 0, {{0, 50}, {48, 50}}, {}});
    tarvic::test::RequireGuiApplication();
    banc::test::TemporaryFolder folder;
    const std::string picture = folder.File("surcharge.png");
    ASSERT_EQ(SavePlot(picture, *m_elements.recording, m_plot), "");
    const QImage image(QString::fromLocal8Bit(picture.c_str()));
    // 50 % at row 250, from column 80 to 680.
    EXPECT_EQ(image.pixelColor(400, 250), QColor(230, 120, 0));
    EXPECT_EQ(image.pixelColor(700, 250), QColor(255, 255, 255));
}

namespace {

// A step from 0 to 50 % at 5 s with the measurement at rest at 10 %, its
// model a gain of 0.8 with a lag of 10 s after 2 s: what a student's methods read.
analysis::Identification Identified()
{
    analysis::Identification identification;
    identification.step.stepTime = 5;
    identification.step.commandBefore = 0;
    identification.step.commandAfter = 50;
    identification.step.measureBefore = 10;
    identification.step.measureFinal = 50;
    analysis::FitResult fit;
    fit.model = {analysis::ModelKind::FirstOrderDelay, 0.8, 10, 2, 1};
    identification.fit = fit;
    analysis::MethodResult broida{"broida", "Bro\xEF" "da (28 % et 40 %)", fit.model, {{10.3, 21.2}, {12.1, 26}}, {}};
    analysis::MethodResult strejc{
        "strejc", "Strejc", fit.model, {{9, 20}}, std::pair{analysis::CurvePoint{7, 10}, analysis::CurvePoint{19, 50}}};
    identification.methods = {broida, strejc};
    return identification;
}

analysis::StepRecord Record()
{
    analysis::StepRecord record;
    record.period = 0.5;
    record.command.assign(64, 0);
    record.measure.assign(64, 10);
    return record;
}

int Grey(COLORREF colour)
{
    return (299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour)) / 1000;
}

}  // namespace

TEST(AnalysisOverlays, TheModelIsItsResponseToTheRecordedStepFromTheRestLevel)
{
    const std::vector<PlotOverlay> overlays = IdentificationOverlays(Identified(), Record());
    ASSERT_EQ(overlays.size(), 3u);
    const PlotOverlay& model = overlays[0];
    EXPECT_EQ(model.label, "Mod\xE8le ajust\xE9");
    EXPECT_FALSE(model.dashed);
    EXPECT_EQ(model.axis, 0);
    EXPECT_TRUE(model.marks.empty());
    ASSERT_EQ(model.line.size(), 64u);
    // At rest until the delay after the step (7 s, point 14), then 10 + 40 (1 - e^(-(t - 7) / 10)).
    EXPECT_EQ(model.line[0].t, 0);
    EXPECT_EQ(model.line[14].t, 7);
    EXPECT_EQ(model.line[14].value, 10);
    EXPECT_EQ(model.line[0].value, 10);
    EXPECT_FLOAT_EQ(model.line[34].value, static_cast<float>(10 + 40 * (1 - std::exp(-1.0))));
    EXPECT_FLOAT_EQ(model.line[63].t, 31.5);
    EXPECT_FLOAT_EQ(model.line[63].value, static_cast<float>(10 + 40 * (1 - std::exp(-2.45))));
}

TEST(AnalysisOverlays, EachMethodShowsThePointsItReadAndStrejcItsTangent)
{
    const std::vector<PlotOverlay> overlays = IdentificationOverlays(Identified(), Record());
    ASSERT_EQ(overlays.size(), 3u);
    const PlotOverlay& broida = overlays[1];
    EXPECT_EQ(broida.label, "Bro\xEF" "da (28 % et 40 %)");
    EXPECT_TRUE(broida.line.empty());
    ASSERT_EQ(broida.marks.size(), 2u);
    EXPECT_FLOAT_EQ(broida.marks[0].t, 10.3f);
    EXPECT_FLOAT_EQ(broida.marks[0].value, 21.2f);
    EXPECT_FLOAT_EQ(broida.marks[1].t, 12.1f);
    const PlotOverlay& strejc = overlays[2];
    EXPECT_EQ(strejc.label, "Strejc");
    ASSERT_EQ(strejc.line.size(), 2u);
    EXPECT_EQ(strejc.line[0].t, 7);
    EXPECT_EQ(strejc.line[0].value, 10);
    EXPECT_EQ(strejc.line[1].t, 19);
    EXPECT_EQ(strejc.line[1].value, 50);
    ASSERT_EQ(strejc.marks.size(), 1u);
    // Every one in a grey of its own, none within 25 of another's nor of the measurement's blue.
    std::vector<int> greys = {Grey(RGB(0, 0, 255))};
    for (const PlotOverlay& overlay : overlays) greys.push_back(Grey(overlay.pen));
    for (std::size_t a = 0; a < greys.size(); ++a)
        for (std::size_t b = a + 1; b < greys.size(); ++b)
            EXPECT_GE(std::abs(greys[a] - greys[b]), 25) << a << " " << b;
}

TEST(AnalysisOverlays, ARefusedIdentificationDrawsNothing)
{
    analysis::Identification refused = Identified();
    refused.refusal = "Pas d'\xE9" "chelon dans la commande.";
    EXPECT_TRUE(IdentificationOverlays(refused, Record()).empty());
}

TEST(AnalysisOverlays, APredictionIsDashedOverItsPeriod)
{
    analysis::LoopPrediction prediction;
    prediction.period = 0.5;
    prediction.measure = {10, 12, 15};
    const PlotOverlay overlay = PredictionOverlay(prediction);
    EXPECT_EQ(overlay.label, "R\xE9ponse pr\xE9" "dite");
    EXPECT_TRUE(overlay.dashed);
    ASSERT_EQ(overlay.line.size(), 3u);
    EXPECT_EQ(overlay.line[2].t, 1);
    EXPECT_EQ(overlay.line[2].value, 15);
    EXPECT_EQ(overlay.pen, IdentificationOverlays(Identified(), Record())[0].pen);
}
