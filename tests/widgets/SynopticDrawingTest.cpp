#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "SynopticTestSupport.h"
#include "tarvic/widgets/BoiteFonction.h"
#include "tarvic/widgets/Bouton.h"
#include "tarvic/widgets/CteTemps.h"
#include "tarvic/widgets/Dep1.h"
#include "tarvic/widgets/Inter.h"
#include "tarvic/widgets/Sonde.h"
#include "tarvic/widgets/Tempscp.h"
#include "tarvic/widgets/indeBoite.h"
#include "tarvic/widgets/mesure.h"

using tarvic::test::black;
using tarvic::test::Caption;
using tarvic::test::Drawing;
using tarvic::test::white;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string blue2 = "pen solid 2 rgb(0,0,255)";
const std::string red2 = "pen solid 2 rgb(255,0,0)";
const std::string pink = "fill (10,39,30,57) rgb(255,217,255)";

}  // namespace

TEST(MeasurementDrawing, RingAndLabel)
{
    CMesure point(5, 100, 200, "M1", "x", 3);
    EXPECT_THAT(Drawing(point),
                ElementsAre("ellipse (92,192,108,208) " + black + " " + white, Caption(90, 170, "M1", 20)));
}

TEST(MeasurementDrawing, LitPointGetsADotOfItsColour)
{
    CMesure point(5, 100, 200, "M\\i1", "x", 3);
    point.EEtat(true);
    point.SetColor(RGB(255, 128, 0));
    EXPECT_THAT(Drawing(point),
                ElementsAre("ellipse (92,192,108,208) " + black + " " + white,
                            "ellipse (95,195,105,205) pen solid 1 rgb(255,128,0) brush rgb(255,128,0)",
                            Caption(90, 170, "M", 20), "text (96,175) \"1\" Times New Roman 17/5 400 rgb(0,0,0)"));
}

TEST(MeasurementDrawing, DotIsGreenByDefaultAndObjectsComeBack)
{
    CMesure point(5, 100, 200, "", "", 0);
    point.EEtat(true);
    CRecordingDC dc;
    CPen* pen = dc.GetCurrentPen();
    CBrush* brush = dc.GetCurrentBrush();
    point.Draw(&dc);
    ASSERT_EQ(dc.Calls().size(), 2u);
    EXPECT_EQ(dc.Calls()[1].brush.lbColor, RGB(0, 255, 0));
    EXPECT_EQ(dc.GetCurrentPen(), pen);
    EXPECT_EQ(dc.GetCurrentBrush(), brush);
}

TEST(SwitchDrawing, OpenSwitchHasItsBladeUp)
{
    CInter sw(1, 0, 10, 50);
    EXPECT_THAT(Drawing(sw), ElementsAre(pink, "polyline (10,55) (15,55) (25,39) " + blue2,
                                         "polyline (25,51) (25,55) (30,55) " + blue2));
}

TEST(SwitchDrawing, ClosedSwitchIsOneRedWire)
{
    CInter sw(1, 0, 10, 50);
    sw.EEtat(true);
    EXPECT_THAT(Drawing(sw), ElementsAre(pink, "polyline (10,55) (15,55) (25,51) (25,55) (30,55) " + red2));
}

TEST(SwitchDrawing, MirroredSwitch)
{
    CInter sw(1, 1, 10, 50);  // (10, 32, 32, 57)
    const std::string fill = "fill (10,32,32,57) rgb(255,217,255)";
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "polyline (32,55) (27,55) (27,32) " + blue2,
                                         "polyline (17,51) (17,55) (10,55) " + blue2));
    sw.EEtat(true);
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "polyline (32,55) (27,55) (17,51) (17,55) (10,55) " + red2));
}

TEST(SwitchDrawing, ThreeWaySwitchIsAlwaysBlue)
{
    CInter sw(1, 2, 0, 100);  // (0, 82, 13, 118)
    const std::string fill = "fill (0,82,13,118) rgb(255,217,255)";
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "line (0,100)-(13,100) " + blue2));
    sw.Test({5, 84});
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "line (0,100)-(11,82) " + blue2));
    sw.Test({5, 118});
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "line (0,100)-(11,118) " + blue2));
}

TEST(SwitchDrawing, SelectorBladesAndItsOpenPosition)
{
    CInter sw(1, 3, 0, 100);  // (0, 78, 20, 122)
    const std::string fill = "fill (0,78,20,122) rgb(255,217,255)";
    EXPECT_THAT(Drawing(sw), ElementsAre(fill));
    sw.Test({15, 80});
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "line (0,100)-(18,78) " + red2));
    sw.Test({15, 100});
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "line (0,100)-(20,100) " + blue2));
    sw.Test({15, 122});
    EXPECT_THAT(Drawing(sw), ElementsAre(fill, "line (0,100)-(18,122) " + blue2));
}

TEST(SwitchDrawing, PenComesBack)
{
    CInter sw(1, 0, 10, 50);
    CRecordingDC dc;
    CPen* pen = dc.GetCurrentPen();
    sw.Draw(&dc);
    EXPECT_EQ(dc.GetCurrentPen(), pen);
}

TEST(FunctionBlockDrawing, ShadowBoxAndText)
{
    CBoiteFonction block(7, 10, 20, 110, 60, "PID");
    CRecordingDC dc;
    CBrush grey(RGB(9, 9, 9));
    dc.SelectObject(&grey);
    block.Draw(&dc);
    EXPECT_THAT(dc.Descriptions(), ElementsAre("roundrect (13,23,113,63) corner 10x10 " + black + " brush rgb(0,0,0)",
                                               "roundrect (10,20,110,60) corner 10x10 " + black + " " + white,
                                               Caption(15, 32, "PID", 20)));
    EXPECT_EQ(dc.GetCurrentBrush(), &grey);
    EXPECT_EQ(block.NbParam(), 0);
}

TEST(ProbeDrawing, BoxOnAStem)
{
    CSonde probe(9, CPoint(100, 100), "P", 1);
    EXPECT_THAT(Drawing(probe),
                ElementsAre("line (100,108)-(100,120) " + black, "rectangle (70,120,130,140) " + black + " " + white,
                            Caption(72, 122, "----", 17)));
}

TEST(ProbeDrawing, FirstFormStemHangsFromTheBoxCentre)
{
    CSonde probe(3, 50, 100, "T1", 0);
    probe.MisAJour(std::string("21.5"));
    EXPECT_THAT(Drawing(probe),
                ElementsAre("line (50,98)-(50,110) " + black, "rectangle (38,70,62,110) " + black + " " + white,
                            Caption(40, 72, "21.5", 17)));
}

TEST(ProbeDrawing, CalloutRightOfItsAnchor)
{
    CSonde callout(CPoint(10, 50), CPoint(100, 40), "Kp=2");
    EXPECT_THAT(Drawing(callout),
                ElementsAre("polyline (19,54) (10,50) (18,45) " + black, "line (10,50)-(100,40) " + black,
                            "rectangle (100,30,128,50) " + black + " " + white, Caption(102, 32, "Kp=2", 17)));
}

TEST(ProbeDrawing, CalloutLeftOfItsAnchorPointsFromTheRightEdge)
{
    CSonde callout(CPoint(200, 50), CPoint(150, 40), "A\nBCD");
    EXPECT_THAT(Drawing(callout),
                ElementsAre("polyline (193,44) (200,50) (191,53) " + black, "line (200,50)-(150,40) " + black,
                            "rectangle (126,20,150,60) " + black + " " + white, Caption(128, 22, "A", 17),
                            Caption(128, 39, "BCD", 17)));
}

TEST(Arrowhead, StrokesLeanBackTowardsTheSource)
{
    CRecordingDC dc;
    Fleche(&dc, CPoint(0, 0), CPoint(30, 0), 10, 45);
    EXPECT_THAT(dc.Descriptions(), ElementsAre("polyline (7,7) (0,0) (7,-7) " + black));
}

TEST(Arrowhead, NoDirectionDrawsNothing)
{
    CRecordingDC dc;
    Fleche(&dc, CPoint(5, 5), CPoint(5, 5), 10, 30);
    EXPECT_THAT(dc.Descriptions(), IsEmpty());
    Fleche(nullptr, CPoint(0, 0), CPoint(5, 5), 10, 30);
}

TEST(Arrowhead, FarApartPointsDoNotOverflow)
{
    CRecordingDC dc;
    Fleche(&dc, CPoint(0, 0), CPoint(2000000000, 0), 10, 45);
    EXPECT_THAT(dc.Descriptions(), ElementsAre("polyline (7,7) (0,0) (7,-7) " + black));
    // The whole int range apart, with the longest strokes: they still lean
    // back towards the source, one each side.
    dc.Clear();
    Fleche(&dc, CPoint(INT_MAX, 0), CPoint(INT_MIN, 0), INT_MAX, 45);
    ASSERT_EQ(dc.Calls().size(), 1u);
    const std::vector<CPoint>& points = dc.Calls()[0].points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1], CPoint(INT_MAX, 0));
    EXPECT_LT(points[0].x, INT_MAX - 1000000000);
    EXPECT_LT(points[0].y, -1000000000);
    EXPECT_EQ(points[2].x, points[0].x);
    EXPECT_EQ(points[2].y, -points[0].y);
}

TEST(ButtonDrawing, InactiveUsesTheCurrentBrushActiveIsRed)
{
    CBouton button(8, 10, 10, 70, 40, "Marche", "m", 1);
    EXPECT_THAT(Drawing(button),
                ElementsAre("rectangle (10,10,70,40) " + black + " " + white, Caption(13, 13, "Marche", 20)));
    button.SetEtat(true);
    CRecordingDC dc;
    button.Draw(&dc);
    EXPECT_THAT(dc.Descriptions(),
                ElementsAre("rectangle (10,10,70,40) " + black + " brush rgb(255,0,0)", Caption(13, 13, "Marche", 20)));
    EXPECT_EQ(dc.GetCurrentBrush()->GetLogBrush().lbColor, RGB(255, 255, 255));
}

TEST(IndicatorDrawing, BoxWithItsArrowDown)
{
    CIndeBoite box(12, 100, 50, "L", 0);
    box.MisAJour(std::string("12.5"));
    EXPECT_THAT(Drawing(box),
                ElementsAre("line (130,70)-(130,90) " + black, "polyline (126,86) (130,90) (134,86) " + black,
                            "rectangle (100,50,160,70) " + black + " " + white, Caption(102, 52, "12.5", 20)));
}

TEST(IndicatorDrawing, Box253HasNoArrowAndAHiddenBoxNothing)
{
    CIndeBoite last(253, 100, 50, "L", 0);
    EXPECT_THAT(Drawing(last), ElementsAre("rectangle (100,50,160,70) " + black + " " + white));
    CIndeBoite hidden(12, 100, 50, "L", 0);
    hidden.MisAJour(std::string("1"));
    hidden.ModeAffiche(false);
    EXPECT_THAT(Drawing(hidden), IsEmpty());
}

TEST(AnnotationDrawing, TimeConstant)
{
    CCteTemps box(CPoint(300, 100), "T=1.5 s");
    EXPECT_THAT(Drawing(box),
                ElementsAre("rectangle (300,100,410,140) " + black + " " + white,
                            Caption(305, 100, "Constante de Temps", 17), Caption(302, 120, "T=1.5 s", 20)));
}

TEST(AnnotationDrawing, ResponseTimeWithItsMarkers)
{
    CTempscp box(CPoint(10, 10), "t=2", 300, 200, 190, 210, 50, 600);
    EXPECT_THAT(Drawing(box), ElementsAre("rectangle (10,10,120,50) " + black + " " + white,
                                          Caption(15, 10, "Temps de r\\xE9ponse", 17), Caption(12, 30, "t=2", 20),
                                          "line (300,75)-(300,675) " + black, "line (50,200)-(600,200) " + black,
                                          "line (50,190)-(600,190) " + black, "line (50,210)-(600,210) " + black));
}

TEST(AnnotationDrawing, OvershootWithItsMarkers)
{
    CDep1 box(CPoint(10, 10), "D=5%", 100, 400, 150, 80, 420);
    EXPECT_THAT(Drawing(box),
                ElementsAre("rectangle (10,10,140,90) " + black + " " + white, Caption(15, 10, "D\\xE9passement", 17),
                            Caption(12, 30, "D=5%", 20), "line (100,75)-(100,675) " + black,
                            "line (400,75)-(400,675) " + black, "line (80,150)-(420,150) " + black));
}

TEST(BlackPenDrawing, ProbesAndAnnotationsDrawInBlackWhateverPenIsSelected)
{
    const CSonde probe(9, CPoint(100, 100), "P", 1);
    const CSonde callout(CPoint(10, 50), CPoint(100, 40), "Kp=2");
    const CCteTemps constant(CPoint(0, 0), "T");
    const CTempscp response(CPoint(0, 0), "t", 1, 2, 3, 4, 5, 6);
    const CDep1 overshoot(CPoint(0, 0), "D", 1, 2, 3, 4, 5);
    for (const CElement* element :
         std::initializer_list<const CElement*>{&probe, &callout, &constant, &response, &overshoot}) {
        CRecordingDC dc;
        CPen blue(PS_DASH, 2, RGB(0, 0, 255));
        dc.SelectObject(&blue);
        element->Draw(&dc);
        for (const auto& call : dc.Calls()) {
            if (call.op != "text") {
                EXPECT_EQ(call.pen, (LOGPEN{PS_SOLID, 1, RGB(0, 0, 0)})) << call.Describe();
            }
        }
        EXPECT_EQ(dc.GetCurrentPen(), &blue);
    }
}

TEST(BaseDrawing, DrawsNothing) { EXPECT_THAT(Drawing(CElement(1, CRect(0, 0, 10, 10), 0)), IsEmpty()); }
