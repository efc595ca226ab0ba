#include <gtest/gtest.h>

#include "tarvic/widgets/Bouton.h"
#include "tarvic/widgets/CteTemps.h"
#include "tarvic/widgets/Dep1.h"
#include "tarvic/widgets/Inter.h"
#include "tarvic/widgets/Sonde.h"
#include "tarvic/widgets/Tempscp.h"
#include "tarvic/widgets/indeBoite.h"
#include "tarvic/widgets/mesure.h"

TEST(ElementHit, EveryEdgeOfTheRectangleHits)
{
    CElement element(4, CRect(10, 20, 30, 40), 99);
    EXPECT_EQ(element.Test({10, 20}), &element);
    EXPECT_EQ(element.Test({30, 40}), &element);
    EXPECT_EQ(element.Test({30, 20}), &element);
    EXPECT_EQ(element.Test({9, 30}), nullptr);
    EXPECT_EQ(element.Test({31, 30}), nullptr);
    EXPECT_EQ(element.Test({20, 41}), nullptr);
    EXPECT_EQ(element.Test({20, 19}), nullptr);
}

TEST(ElementHit, BaseKeepsNumberTypeAndGivesNoPoint)
{
    CElement element(4, CRect(10, 20, 30, 40), 99);
    EXPECT_EQ(element.LNumber(), 4);
    EXPECT_EQ(element.LType(), 99);
    EXPECT_EQ(element.GetRect(), CRect(10, 20, 30, 40));
    EXPECT_EQ(element.LitPoint(0), CPoint(0, 0));
}

TEST(ButtonHit, EachHitTogglesTheButton)
{
    CBouton button(8, 10, 10, 70, 40, "Marche", "m", 1);
    EXPECT_FALSE(button.LEtat());
    EXPECT_EQ(button.Test({70, 40}), &button);
    EXPECT_TRUE(button.LEtat());
    EXPECT_EQ(button.Test({70, 40}), &button);
    EXPECT_FALSE(button.LEtat());
}

TEST(ButtonHit, AMissLeavesTheButtonAlone)
{
    CBouton button(8, 10, 10, 70, 40, "Marche", "m", 1);
    EXPECT_EQ(button.Test({71, 40}), nullptr);
    EXPECT_FALSE(button.LEtat());
    EXPECT_EQ(button.LType(), 11);
    EXPECT_EQ(button.LTexte(), "m");
    EXPECT_EQ(button.LValeur(), 1);
}

TEST(SwitchHit, TwoPositionSwitchesToggle)
{
    CInter left(1, 0, 10, 50);
    CInter mirrored(2, 1, 10, 50);
    EXPECT_EQ(left.Test({20, 50}), &left);
    EXPECT_EQ(left.LEtat(), 1);
    EXPECT_EQ(left.Test({20, 50}), &left);
    EXPECT_EQ(left.LEtat(), 0);
    EXPECT_EQ(mirrored.Test({32, 57}), &mirrored);
    EXPECT_EQ(mirrored.LEtat(), 1);
    EXPECT_EQ(mirrored.Test({33, 57}), nullptr);
    EXPECT_EQ(mirrored.LEtat(), 1);
}

TEST(SwitchHit, ThreeWaySwitchTakesTheNearestRow)
{
    CInter three(3, 2, 0, 100);  // rows: top 82, middle 100, bottom 118
    three.Test({5, 84});
    EXPECT_EQ(three.LEtat(), 1);
    three.Test({5, 117});
    EXPECT_EQ(three.LEtat(), 2);
    three.Test({5, 100});
    EXPECT_EQ(three.LEtat(), 0);
    three.Test({5, 84});
    three.Test({5, 91});  // as near the top as the middle: the middle wins
    EXPECT_EQ(three.LEtat(), 0);
    three.Test({5, 109});  // as near the bottom as the middle
    EXPECT_EQ(three.LEtat(), 0);
}

TEST(SwitchHit, SelectorLeftHalfOpensItRightHalfPicksTheRow)
{
    CInter selector(4, 3, 0, 100);  // (0, 78, 20, 122), middle 100
    selector.Test({15, 80});
    EXPECT_EQ(selector.LEtat(), 1);
    selector.Test({15, 101});
    EXPECT_EQ(selector.LEtat(), 2);
    selector.Test({15, 121});
    EXPECT_EQ(selector.LEtat(), 3);
    selector.Test({9, 80});
    EXPECT_EQ(selector.LEtat(), 0);
    selector.Test({10, 89});  // as near the top as the middle, right half
    EXPECT_EQ(selector.LEtat(), 3);
}

TEST(SwitchHit, RectanglesFollowTheKind)
{
    EXPECT_EQ(CInter(1, 0, 10, 50).GetRect(), CRect(10, 39, 30, 57));
    EXPECT_EQ(CInter(1, 1, 10, 50).GetRect(), CRect(10, 32, 32, 57));
    EXPECT_EQ(CInter(1, 2, 10, 50).GetRect(), CRect(10, 32, 23, 68));
    EXPECT_EQ(CInter(1, 3, 10, 50).GetRect(), CRect(10, 28, 30, 72));
    CInter unknown(1, 7, 10, 50);
    EXPECT_EQ(unknown.GetRect(), CRect(10, 39, 30, 57));
    EXPECT_EQ(unknown.LKind(), 0);
    CInter byRect(1, CRect(0, 0, 40, 20));
    EXPECT_EQ(byRect.LKind(), 0);
    EXPECT_EQ(byRect.LType(), 2);
}

TEST(SwitchHit, SetStateGivesZeroOrOne)
{
    CInter selector(4, 3, 0, 100);
    selector.Test({15, 121});
    selector.EEtat(true);
    EXPECT_EQ(selector.LEtat(), 1);
    selector.EEtat(false);
    EXPECT_EQ(selector.LEtat(), 0);
}

TEST(ProbeHit, CalloutAnchorSquareExcludesItsRightAndBottomEdges)
{
    CSonde callout(CPoint(10, 50), CPoint(100, 40), "Kp=2");
    EXPECT_EQ(callout.Test({5, 45}), &callout);
    EXPECT_EQ(callout.Test({14, 54}), &callout);
    EXPECT_EQ(callout.Test({15, 50}), nullptr);
    EXPECT_EQ(callout.Test({10, 55}), nullptr);
    EXPECT_EQ(callout.Test({4, 50}), nullptr);
    EXPECT_EQ(callout.Test({128, 50}), &callout);  // the box, edges included
}

TEST(ProbeHit, OtherFormsHaveNoAnchorSquare)
{
    CSonde probe(9, CPoint(100, 100), "P", 1);  // box (70, 120, 130, 140)
    EXPECT_EQ(probe.Test({100, 100}), nullptr);
    EXPECT_EQ(probe.Test({130, 140}), &probe);
}

TEST(IndicatorHit, HiddenBoxDoesNotHit)
{
    CIndeBoite box(12, 100, 50, "L", 0);
    EXPECT_EQ(box.Test({160, 70}), &box);
    box.ModeAffiche(false);
    EXPECT_EQ(box.Test({130, 60}), nullptr);
    box.ModeAffiche(true);
    EXPECT_EQ(box.Test({130, 60}), &box);
}

TEST(MeasurementState, LitFlagAndCentre)
{
    CMesure point(5, 100, 200, "M1", "x", 3);
    EXPECT_EQ(point.GetRect(), CRect(80, 170, 120, 210));
    EXPECT_EQ(point.LitPoint(0), CPoint(100, 200));
    EXPECT_FALSE(point.LEtat());
    point.ModifEtat();
    EXPECT_TRUE(point.LEtat());
    point.EEtat(false);
    EXPECT_FALSE(point.LEtat());
    EXPECT_EQ(point.LTexte(), "x");
    EXPECT_EQ(point.LValeur(), 3);
}

TEST(MeasurementState, RectangleFormIsCentredOnItsRectangle)
{
    CMesure point(5, CRect(10, 20, 51, 61), "M");
    EXPECT_EQ(point.LitPoint(0), CPoint(30, 40));
    EXPECT_EQ(point.LType(), 1);
}

TEST(ProbeGeometry, ThreeFormsPlaceTheirBoxes)
{
    CSonde first(3, 50, 100, "T1", 0);
    EXPECT_EQ(first.GetRect(), CRect(38, 70, 62, 110));
    EXPECT_EQ(first.LAncre(), CPoint(50, 90));
    EXPECT_EQ(first.LValeurTexte(), "---");
    CSonde second(9, CPoint(100, 100), "P", 1);
    EXPECT_EQ(second.GetRect(), CRect(70, 120, 130, 140));
    EXPECT_EQ(second.LValeurTexte(), "----");
    for (int tall : {262, 271, 274, 275, 276}) EXPECT_EQ(CSonde(tall, CPoint(100, 100), "P", 1).GetRect().bottom, 160);
    EXPECT_EQ(CSonde(263, CPoint(100, 100), "P", 1).GetRect().bottom, 140);
    CSonde callout(CPoint(10, 50), CPoint(100, 40), "Kp=2");
    EXPECT_EQ(callout.GetRect(), CRect(100, 30, 128, 50));
    EXPECT_EQ(callout.LNumber(), 0);
    EXPECT_EQ(callout.LValeur(), -1);
    EXPECT_EQ(callout.LType(), 10);
}

TEST(ProbeGeometry, CalloutLeftOfItsAnchorFitsTwoLines)
{
    // The longer part counts the newline with the second line: 4 characters.
    CSonde callout(CPoint(200, 50), CPoint(150, 40), "A\nBCD");
    EXPECT_EQ(callout.GetRect(), CRect(126, 20, 150, 60));
    CSonde onPoint(CPoint(150, 50), CPoint(150, 40), "AB");
    EXPECT_EQ(onPoint.GetRect(), CRect(136, 30, 150, 50));
}

TEST(ProbeGeometry, ValueTextFollowsUpdates)
{
    CSonde probe(9, CPoint(100, 100), "P", 1);
    probe.MisAJour(std::string("12.5"));
    EXPECT_EQ(probe.LValeurTexte(), "12.5");
    probe.MisAJour(static_cast<CEidElement*>(nullptr));
    EXPECT_EQ(probe.LValeurTexte(), "12.5");
}

TEST(AnnotationGeometry, BoxesHaveNumberZeroAndTheirSizes)
{
    CCteTemps constant(CPoint(300, 100), "T");
    EXPECT_EQ(constant.GetRect(), CRect(300, 100, 410, 140));
    EXPECT_EQ(constant.LNumber(), 0);
    EXPECT_EQ(constant.LType(), 11);
    CTempscp response(CPoint(10, 10), "t", 1, 2, 3, 4, 5, 6);
    EXPECT_EQ(response.GetRect(), CRect(10, 10, 120, 50));
    EXPECT_EQ(response.LType(), 12);
    CDep1 overshoot(CPoint(10, 10), "D", 1, 2, 3, 4, 5);
    EXPECT_EQ(overshoot.GetRect(), CRect(10, 10, 140, 90));
    EXPECT_EQ(overshoot.LType(), 13);
}

TEST(AnnotationGeometry, DefaultBoxesAreEmptyAndAssignable)
{
    CDep1 overshoot;
    EXPECT_EQ(overshoot.GetRect(), CRect());
    EXPECT_EQ(overshoot.LType(), 13);
    overshoot = CDep1(CPoint(5, 6), "D", 1, 2, 3, 4, 5);
    EXPECT_EQ(overshoot.GetRect(), CRect(5, 6, 135, 86));
    EXPECT_EQ(CCteTemps().LType(), 11);
    EXPECT_EQ(CTempscp().LType(), 12);
}
