#include <gtest/gtest.h>

#include <tarvic/platform/RecordingDC.h>

#include <algorithm>

#include "salle/TrendDrawing.h"

using namespace salle;
using namespace std::chrono_literals;

namespace {

const Clock::time_point kNow{std::chrono::hours(1000)};

std::vector<const CRecordingDC::Call*> Polylines(const CRecordingDC& dc)
{
    std::vector<const CRecordingDC::Call*> lines;
    for (const CRecordingDC::Call& call : dc.Calls())
        if (call.op == "polyline") lines.push_back(&call);
    return lines;
}

std::vector<CPoint> Frame(int left, int top, int right, int bottom)
{
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
}

}  // namespace

TEST(TrendDrawingTest, ATileTrendSpansFiveMinutesToNowAndItsOwnRange)
{
    // 300 px for 300 s: a pixel a second; 10 to 20 over 100 px: 10 px a unit.
    Trend trend{"Niveau", "cm", {{kNow - 300s, 10}, {kNow - 150s, 20}, {kNow - 30s, 15}, {kNow, 12.5}}};
    CRecordingDC dc;
    DrawTrend(dc, trend, RGB(21, 101, 192), CRect(10, 10, 310, 110), kNow);
    const auto lines = Polylines(dc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->points, Frame(10, 10, 310, 110));
    EXPECT_EQ(lines[0]->pen.lopnColor, kTrendFrame);
    EXPECT_EQ(lines[0]->pen.lopnWidth, 1);
    EXPECT_EQ(lines[1]->points, (std::vector<CPoint>{{10, 110}, {160, 10}, {280, 60}, {310, 85}}));
    EXPECT_EQ(lines[1]->pen.lopnColor, RGB(21, 101, 192));
    EXPECT_EQ(lines[1]->pen.lopnWidth, 2);
}

TEST(TrendDrawingTest, AFlatTrendSitsMidwayAndALonePointIsSeen)
{
    Trend trend{"Niveau", "cm", {{kNow - 60s, 7}}};
    CRecordingDC dc;
    DrawTrend(dc, trend, RGB(1, 2, 3), CRect(0, 0, 300, 40), kNow);
    const auto lines = Polylines(dc);
    ASSERT_EQ(lines.size(), 2u);
    // 6 to 8 over 40 px; 240 s after the start of the span.
    EXPECT_EQ(lines[1]->points, (std::vector<CPoint>{{240, 20}, {241, 20}}));
}

TEST(TrendDrawingTest, AnEmptyTrendIsAFrameAlone)
{
    CRecordingDC dc;
    DrawTrend(dc, Trend{"Niveau", "cm", {}}, RGB(1, 2, 3), CRect(0, 0, 300, 40), kNow);
    const auto lines = Polylines(dc);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->points, Frame(0, 0, 300, 40));
}

TEST(TrendDrawingTest, TheLivePlotPutsEveryMeasureOnOneScaleWithItsLabelsAndLegend)
{
    const std::vector<Trend> trends{{"Consigne", "cm", {{kNow - 300s, 20}, {kNow, 20}}},
                                    {"Niveau", "cm", {{kNow - 300s, 0}, {kNow, 18.5}}},
                                    {"Commande", "%", {{kNow - 150s, 100}, {kNow, 40}}}};
    CRecordingDC dc;
    DrawLivePlot(dc, trends, CRect(70, 12, 670, 212), kNow);
    const auto lines = Polylines(dc);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0]->points, Frame(70, 12, 670, 212));
    // 0 to 100 over 200 px, 2 px a unit; 600 px for 300 s.
    EXPECT_EQ(lines[1]->points, (std::vector<CPoint>{{70, 172}, {670, 172}}));
    EXPECT_EQ(lines[1]->pen.lopnColor, kTrendColours[0]);
    EXPECT_EQ(lines[2]->points, (std::vector<CPoint>{{70, 212}, {670, 175}}));
    EXPECT_EQ(lines[2]->pen.lopnColor, kTrendColours[1]);
    EXPECT_EQ(lines[3]->points, (std::vector<CPoint>{{370, 12}, {670, 132}}));
    EXPECT_EQ(lines[3]->pen.lopnColor, kTrendColours[2]);
    std::vector<std::string> labels;
    for (const CRecordingDC::Call& call : dc.Calls())
        if (call.op == "text") labels.push_back(call.text);
    ASSERT_GE(labels.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 4),
              (std::vector<std::string>{"100", "0", "-5 min", "0"}));
    std::string legend;
    for (std::size_t i = 4; i < labels.size(); ++i) legend += labels[i];
    for (const char* entry : {"Consigne (cm)", "Niveau (cm)", "Commande (%)"})
        EXPECT_NE(legend.find(entry), std::string::npos) << legend;
}
