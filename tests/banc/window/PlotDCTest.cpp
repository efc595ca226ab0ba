#include <gtest/gtest.h>

#include <tarvic/platform/RecordingDC.h>

#include "window/PlotDC.h"

using banc::window::PlotDC;

namespace {

// The plot's frame, as the window draws it 1920 wide.
const CRect kFrame(80, 75, 1840, 675);

class PlotDCTest : public ::testing::Test {
protected:
    PlotDCTest() : m_dc(m_target) {}

    CRecordingDC m_target;
    PlotDC m_dc;
};

}  // namespace

TEST_F(PlotDCTest, LinesAreCutAtTheClipsEdgesAndThoseOutsideLeftOut)
{
    CPen pen(PS_DOT, 1, RGB(90, 90, 90));
    m_dc.SelectObject(&pen);
    m_dc.SetClip(kFrame);
    m_dc.MoveTo(-800, 100);
    m_dc.LineTo(1840, 100);  // from far left of the frame to its right edge
    m_dc.MoveTo(40, 75);
    m_dc.LineTo(40, 675);  // across the labels on the left
    m_dc.MoveTo(0, 0);
    m_dc.LineTo(200, 200);  // in through the left edge at row 80
    m_dc.MoveTo(500, 300);
    m_dc.LineTo(600, 400);  // inside
    EXPECT_EQ(m_target.Descriptions(), (std::vector<std::string>{
                                           "line (80,100)-(1840,100) pen dot 1 rgb(90,90,90)",
                                           "line (80,80)-(200,200) pen dot 1 rgb(90,90,90)",
                                           "line (500,300)-(600,400) pen dot 1 rgb(90,90,90)",
                                       }));
    // The target's own pen and position are as they were.
    EXPECT_EQ(m_target.GetCurrentPen()->GetLogPen(), LOGPEN{});
    EXPECT_EQ(m_target.GetCurrentPosition(), CPoint(0, 0));
}

TEST_F(PlotDCTest, APolylineThatLeavesTheClipGoesOnInPiecesWithoutAClipWhole)
{
    const std::vector<CPoint> points = {{100, 100}, {100, 700}, {200, 700}, {200, 100}, {300, 100}};
    m_dc.Polyline(points.data(), static_cast<int>(points.size()));
    m_dc.SetClip(kFrame);
    m_dc.Polyline(points.data(), static_cast<int>(points.size()));
    EXPECT_EQ(m_target.Descriptions(),
              (std::vector<std::string>{
                  "polyline (100,100) (100,700) (200,700) (200,100) (300,100) pen solid 1 rgb(0,0,0)",
                  "polyline (100,100) (100,675) pen solid 1 rgb(0,0,0)",
                  "polyline (200,675) (200,100) (300,100) pen solid 1 rgb(0,0,0)",
              }));
}

TEST_F(PlotDCTest, TextsSmallerThanTheSmallestReadableAreEnlargedInProportion)
{
    m_dc.SetSmallestText(20);
    LOGFONT small;
    small.lfHeight = 12;
    small.lfWidth = 6;
    small.lfFaceName = "Times New Roman";
    LOGFONT large = small;
    large.lfHeight = 24;
    CFont smallFont, largeFont;
    smallFont.CreateFontIndirect(&small);
    largeFont.CreateFontIndirect(&large);
    m_dc.SetTextColor(RGB(0, 0, 255));
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.SelectObject(&smallFont);
    // Measured as it is drawn: 3 characters of 10 (6 enlarged by 20 / 12), 20 high.
    EXPECT_EQ(m_dc.GetTextExtent("abc"), CSize(30, 20));
    m_dc.TextOut(10, 20, "abc");
    m_dc.SelectObject(&largeFont);
    m_dc.TextOut(10, 60, "de");
    EXPECT_EQ(m_target.Descriptions(), (std::vector<std::string>{
                                           "text (10,20) \"abc\" Times New Roman 20/10 0 rgb(0,0,255)",
                                           "text (10,60) \"de\" Times New Roman 24/6 0 rgb(0,0,255)",
                                       }));
    // The target's own text colour is as it was.
    EXPECT_EQ(m_target.GetTextColor(), RGB(0, 0, 0));
}
