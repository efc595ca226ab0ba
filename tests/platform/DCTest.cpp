#include <gtest/gtest.h>

#include "tarvic/platform/RecordingDC.h"

using Descriptions = std::vector<std::string>;

TEST(DCObjects, SelectReturnsThePreviousObjectAndRestoresIt)
{
    CRecordingDC dc;
    CPen red(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* old = dc.SelectObject(&red);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(dc.GetCurrentPen(), &red);
    dc.LineTo(10, 0);
    EXPECT_EQ(dc.SelectObject(old), &red);
    dc.LineTo(20, 0);
    EXPECT_EQ(dc.Descriptions(), (Descriptions{"line (0,0)-(10,0) pen solid 2 rgb(255,0,0)",
                                               "line (10,0)-(20,0) pen solid 1 rgb(0,0,0)"}));
}

TEST(DCObjects, ObjectsNotCreatedAreRefused)
{
    CRecordingDC dc;
    CPen pen;
    CFont font;
    CBrush* previousBrush = dc.GetCurrentBrush();
    EXPECT_EQ(dc.SelectObject(&pen), nullptr);
    EXPECT_EQ(dc.SelectObject(&font), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CBrush*>(nullptr)), nullptr);
    EXPECT_EQ(dc.GetCurrentBrush(), previousBrush);
    EXPECT_NE(dc.GetCurrentPen(), &pen);
}

TEST(DCObjects, StockObjectsSelectAndSurviveDeletion)
{
    CRecordingDC dc;
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    ASSERT_NE(oldBrush, nullptr);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(0, 0, 4, 4);
    EXPECT_FALSE(GetStockObject(BLACK_PEN)->DeleteObject());
    EXPECT_TRUE(GetStockObject(BLACK_PEN)->IsCreated());
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(dc.SelectStockObject(42), nullptr);
    dc.SelectObject(oldBrush);
    dc.SelectStockObject(BLACK_PEN);
    dc.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(dc.Descriptions(), (Descriptions{"rectangle (0,0,4,4) pen null 1 rgb(0,0,0) brush null",
                                               "rectangle (0,0,4,4) pen solid 1 rgb(0,0,0) brush rgb(255,255,255)"}));
}

TEST(DCObjects, DrawingKeepsItsCopyWhenTheSelectedObjectIsDeleted)
{
    CRecordingDC dc;
    CBrush brush(RGB(1, 2, 3));
    dc.SelectObject(&brush);
    brush.DeleteObject();
    dc.Ellipse(0, 0, 8, 8);
    EXPECT_EQ(dc.Descriptions(), (Descriptions{"ellipse (0,0,8,8) pen solid 1 rgb(0,0,0) brush rgb(1,2,3)"}));
}

TEST(DCState, StartsBlackOnOpaqueWhiteAlignedLeftTop)
{
    CRecordingDC dc;
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetTextAlign(), TA_LEFT | TA_TOP);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(0, 0));
}

TEST(DCState, SettersReturnThePreviousValue)
{
    CRecordingDC dc;
    EXPECT_EQ(dc.SetTextColor(RGB(255, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(dc.SetTextColor(RGB(0, 0, 255)), RGB(255, 0, 0));
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetBkMode(7), 0);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.SetTextAlign(TA_CENTER | TA_BASELINE), TA_LEFT | TA_TOP);
    EXPECT_EQ(dc.MoveTo(3, 4), CPoint(0, 0));
    EXPECT_EQ(dc.MoveTo(CPoint(5, 6)), CPoint(3, 4));
}

TEST(DCRecording, TextCarriesFontColourAlignmentAndBackground)
{
    CRecordingDC dc;
    LOGFONT log;
    log.lfHeight = 20;
    log.lfWidth = 6;
    log.lfWeight = FW_BOLD;
    log.lfItalic = 1;
    log.lfCharSet = SYMBOL_CHARSET;
    log.lfFaceName = "Symbol";
    CFont font;
    font.CreateFontIndirect(&log);
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(0, 128, 0));
    dc.SetTextAlign(TA_RIGHT);
    dc.TextOut(5, 7, "a\xF2\"\\");
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_LEFT);
    dc.TextOut(1, 2, "b");
    EXPECT_EQ(dc.Descriptions(),
              (Descriptions{"text (5,7) \"a\\xF2\\x22\\x5C\" Symbol 20/6 700 italic charset 2 rgb(0,128,0) align 2 "
                            "opaque rgb(255,255,255)",
                            "text (1,2) \"b\" Symbol 20/6 700 italic charset 2 rgb(0,128,0)"}));
    EXPECT_EQ(dc.Calls().back().font, log);
}

TEST(DCRecording, FiguresAreNormalisedAndKeepTheirCorner)
{
    CRecordingDC dc;
    dc.Rectangle(CRect(10, 20, 0, 5));
    dc.RoundRect(CRect(3, 3, 63, 23), CPoint(10, 10));
    dc.Ellipse(8, 8, -8, -8);
    EXPECT_EQ(dc.Descriptions(),
              (Descriptions{"rectangle (0,5,10,20) pen solid 1 rgb(0,0,0) brush rgb(255,255,255)",
                            "roundrect (3,3,63,23) corner 10x10 pen solid 1 rgb(0,0,0) brush rgb(255,255,255)",
                            "ellipse (-8,-8,8,8) pen solid 1 rgb(0,0,0) brush rgb(255,255,255)"}));
}

TEST(DCRecording, LinesMoveTheCurrentPositionAndPolylinesNeedTwoPoints)
{
    CRecordingDC dc;
    dc.MoveTo(1, 1);
    dc.LineTo(5, 1);
    dc.LineTo(CPoint(5, 9));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(5, 9));
    const CPoint points[] = {{0, 0}, {4, 8}, {8, 0}};
    EXPECT_TRUE(dc.Polyline(points, 3));
    EXPECT_FALSE(dc.Polyline(points, 1));
    EXPECT_FALSE(dc.Polyline(nullptr, 3));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(5, 9));
    EXPECT_EQ(dc.Descriptions(),
              (Descriptions{"line (1,1)-(5,1) pen solid 1 rgb(0,0,0)", "line (5,1)-(5,9) pen solid 1 rgb(0,0,0)",
                            "polyline (0,0) (4,8) (8,0) pen solid 1 rgb(0,0,0)"}));
}

TEST(DCRecording, FillsNeedASolidBrush)
{
    CRecordingDC dc;
    CBrush yellow(RGB(255, 255, 0));
    dc.FillRect(CRect(0, 0, 5, 5), &yellow);
    dc.FillRect(CRect(0, 0, 5, 5), dynamic_cast<CBrush*>(GetStockObject(NULL_BRUSH)));
    dc.FillRect(CRect(0, 0, 5, 5), nullptr);
    dc.FillSolidRect(CRect(9, 9, 2, 2), RGB(255, 217, 255));
    EXPECT_EQ(dc.Descriptions(), (Descriptions{"fill (0,0,5,5) rgb(255,255,0)", "fill (2,2,9,9) rgb(255,217,255)"}));
}

TEST(DCRecording, IconsOfSizeZeroAreDrawn32Wide)
{
    CRecordingDC dc;
    const CIcon icon(130, QImage());
    dc.DrawIcon(4, 5, icon);
    dc.DrawIcon(4, 5, icon, 16, 0);
    EXPECT_EQ(dc.Descriptions(), (Descriptions{"icon 130 (4,5,36,37)", "icon 130 (4,5,20,37)"}));
}

TEST(DCRecording, FixedMetricsDependOnTheLogicalFontOnly)
{
    CRecordingDC dc;
    EXPECT_EQ(dc.GetTextExtent("abc"), CSize(3 * 9, 16));  // system font: height 16, bold: 16 / 2 + 1
    LOGFONT log;
    log.lfHeight = -12;
    log.lfWidth = 5;
    CFont font;
    font.CreateFontIndirect(&log);
    dc.SelectObject(&font);
    EXPECT_EQ(dc.GetTextExtent("abcd"), CSize(20, 12));
    EXPECT_EQ(dc.GetTextExtent(""), CSize(0, 12));
}
