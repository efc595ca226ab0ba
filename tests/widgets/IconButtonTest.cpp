#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>
#include <memory>

#include "ButtonTestSupport.h"
#include "tarvic/platform/FontMap.h"
#include "tarvic/platform/RecordingDC.h"
#include "tarvic/widgets/IconBouton.h"
#include "tarvic/widgets/IconButton.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Colours of the palette the tests give the buttons.
const std::string face = "rgb(200,200,200)";
const std::string highlight = "rgb(255,255,255)";
const std::string light = "rgb(220,220,220)";
const std::string shadow = "rgb(128,128,128)";
const std::string darkShadow = "rgb(64,64,64)";

// The calls of one kind, described.
std::vector<std::string> Only(const CRecordingDC& dc, const std::string& op)
{
    std::vector<std::string> lines;
    for (const auto& call : dc.Calls())
        if (call.op == op) lines.push_back(call.Describe());
    return lines;
}

class IconButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent.setPalette(tarvic::test::ButtonPalette());
        m_button = new CIconButton("&Valider", &m_parent);
        m_button->setGeometry(10, 10, 100, 30);
        // 20 units high, 8 wide per character with the fixed metrics.
        m_button->SetHeight(20);
        m_button->SetWidth(8);
        m_button->SetFaceName("Arial");
        m_button->SetTextColor(RGB(0, 0, 128));
    }
    CRecordingDC& Draw(unsigned state = 0)
    {
        m_dc.Clear();
        m_button->DrawItem(&m_dc, CRect(0, 0, 100, 30), state);
        return m_dc;
    }

    QWidget m_parent;
    CIconButton* m_button = nullptr;
    CRecordingDC m_dc;
};

std::string Caption(int x, int y, const std::string& text, const std::string& color)
{
    return "text (" + std::to_string(x) + "," + std::to_string(y) + ") \"" + text + "\" Arial 20/8 0 " + color;
}

}  // namespace

TEST_F(IconButton, RaisedFaceThenCaptionCentredWithItsMnemonicUnderlined)
{
    EXPECT_THAT(
        Draw().Descriptions(),
        ElementsAre("fill (0,0,100,30) " + face, "fill (0,0,99,1) " + highlight, "fill (0,0,1,29) " + highlight,
                    "fill (0,29,100,30) " + darkShadow, "fill (99,0,100,30) " + darkShadow, "fill (1,1,98,2) " + light,
                    "fill (1,1,2,28) " + light, "fill (1,28,99,29) " + shadow, "fill (98,1,99,29) " + shadow,
                    Caption(22, 5, "Valider", "rgb(0,0,128)"), "line (22,25)-(30,25) pen solid 1 rgb(0,0,128)"));
}

TEST_F(IconButton, MnemonicInsideTheCaptionIsUnderlinedUnderItsLetter)
{
    m_button->setText("Va&lider");
    EXPECT_THAT(Only(Draw(), "line"), ElementsAre("line (38,25)-(46,25) pen solid 1 rgb(0,0,128)"));
    m_button->setText("Valider&");
    EXPECT_THAT(Only(Draw(), "line"), IsEmpty());
    EXPECT_THAT(Only(m_dc, "text"), ElementsAre(Caption(22, 5, "Valider", "rgb(0,0,128)")));
}

TEST_F(IconButton, DisabledCaptionIsEmbossedAndNotUnderlined)
{
    EXPECT_THAT(Only(Draw(ODS_DISABLED), "text"),
                ElementsAre(Caption(23, 6, "Valider", highlight), Caption(22, 5, "Valider", shadow)));
    EXPECT_THAT(Only(m_dc, "line"), IsEmpty());
}

TEST_F(IconButton, PushedShiftsTheContentAndSinksTheBorder)
{
    const auto& calls = Draw(ODS_SELECTED);
    EXPECT_THAT(Only(calls, "fill"),
                ElementsAre("fill (0,0,100,30) " + face, "fill (0,0,99,1) " + shadow, "fill (0,0,1,29) " + shadow,
                            "fill (0,29,100,30) " + highlight, "fill (99,0,100,30) " + highlight,
                            "fill (1,1,98,2) " + darkShadow, "fill (1,1,2,28) " + darkShadow,
                            "fill (1,28,99,29) " + light, "fill (98,1,99,29) " + light));
    EXPECT_THAT(Only(calls, "text"), ElementsAre(Caption(23, 6, "Valider", "rgb(0,0,128)")));
    EXPECT_THAT(
        Only(calls, "line"),
        ElementsAre("line (0,29)-(0,0) pen solid 1 " + darkShadow, "line (0,0)-(99,0) pen solid 1 " + darkShadow,
                    "line (99,0)-(99,29) pen solid 1 " + highlight, "line (99,29)-(0,29) pen solid 1 " + highlight,
                    "line (23,26)-(31,26) pen solid 1 rgb(0,0,128)"));
}

TEST_F(IconButton, FocusFramesTheButtonAndDotsInsideIt)
{
    const auto fills = Only(Draw(ODS_FOCUS), "fill");
    EXPECT_THAT(std::vector<std::string>(fills.end() - 4, fills.end()),
                ElementsAre("fill (0,0,99,1) " + darkShadow, "fill (0,0,1,29) " + darkShadow,
                            "fill (0,29,100,30) " + darkShadow, "fill (99,0,100,30) " + darkShadow));
    EXPECT_THAT(Only(m_dc, "rectangle"), ElementsAre("rectangle (4,4,96,26) pen dot 1 rgb(0,0,0) brush null"));
}

TEST_F(IconButton, IconOnTheLeftPushesTheCaptionRight)
{
    m_button->SetIconID(101);
    m_button->SetIconSize(16, 16);
    m_button->setText("OK");
    Draw();
    EXPECT_THAT(Only(m_dc, "icon"), ElementsAre("icon 101 (6,7,22,23)"));
    EXPECT_THAT(Only(m_dc, "text"), ElementsAre(Caption(50, 5, "OK", "rgb(0,0,128)")));
    Draw(ODS_SELECTED);
    EXPECT_THAT(Only(m_dc, "icon"), ElementsAre("icon 101 (7,8,23,24)"));
    EXPECT_THAT(Only(m_dc, "text"), ElementsAre(Caption(51, 6, "OK", "rgb(0,0,128)")));
}

TEST_F(IconButton, IconOnTheRight)
{
    m_button->SetIconID(101);
    m_button->SetIconSize(16, 16);
    m_button->SetIconRight(true);
    m_button->setText("OK");
    Draw();
    EXPECT_THAT(Only(m_dc, "icon"), ElementsAre("icon 101 (78,7,94,23)"));
    EXPECT_THAT(Only(m_dc, "text"), ElementsAre(Caption(34, 5, "OK", "rgb(0,0,128)")));
}

TEST_F(IconButton, IconAloneIsCentredAndASizeOfZeroDrawsIt32)
{
    m_button->SetIconID(101);
    m_button->SetIconSize(16, 16);
    m_button->setText("");
    EXPECT_THAT(Only(Draw(), "icon"), ElementsAre("icon 101 (42,7,58,23)"));
    EXPECT_THAT(Only(m_dc, "text"), IsEmpty());
    m_button->SetIconSize(0, 0);
    EXPECT_THAT(Only(Draw(), "icon"), ElementsAre("icon 101 (50,15,82,47)"));
}

TEST_F(IconButton, DisabledIconIsAnEmbossedShape)
{
    m_button->SetIconID(101);
    m_button->SetIconSize(16, 16);
    m_button->setText("");
    Draw(ODS_DISABLED);
    EXPECT_THAT(Only(m_dc, "icon"), ElementsAre("icon 101 (43,8,59,24)", "icon 101 (42,7,58,23)"));
}

TEST_F(IconButton, MissingIconDrawsOnlyTheCaption)
{
    m_button->SetIconID(999);
    m_button->SetIconSize(16, 16);
    m_button->setText("OK");
    Draw();
    EXPECT_THAT(Only(m_dc, "icon"), IsEmpty());
    EXPECT_THAT(Only(m_dc, "text"), ElementsAre(Caption(50, 5, "OK", "rgb(0,0,128)")));
}

TEST(IconButtonFont, WithoutAFontSetterTheCurrentFontIsUsed)
{
    CIconButton button("OK", nullptr);
    CRecordingDC dc;
    button.DrawItem(&dc, CRect(0, 0, 100, 30), 0);
    ASSERT_EQ(Only(dc, "text").size(), 1u);
    for (const auto& call : dc.Calls()) {
        if (call.op == "text") {
            EXPECT_EQ(call.font, dc.GetCurrentFont()->GetLogFont());
        }
    }
}

TEST(IconButtonFont, SettersBuildTheFont)
{
    CIconButton button("OK", nullptr);
    button.SetItalic(true);
    button.SetUnderline(true);
    button.SetStrikeOut(true);
    button.SetWeight(700);
    button.SetHeight(18);
    button.SetFaceName("Arial");
    CRecordingDC dc;
    button.DrawItem(&dc, CRect(0, 0, 100, 30), 0);
    EXPECT_THAT(Only(dc, "text"), ElementsAre(::testing::HasSubstr("\"OK\" Arial 18/0 700 italic underline strike")));
    EXPECT_EQ(button.IconSize(), CSize(button.style()->pixelMetric(QStyle::PM_LargeIconSize) / 2,
                                       button.style()->pixelMetric(QStyle::PM_LargeIconSize) / 2));
}

TEST_F(IconButton, EnableAndDisable)
{
    m_button->Disable();
    EXPECT_FALSE(m_button->isEnabled());
    m_button->Enable();
    EXPECT_TRUE(m_button->isEnabled());
}

namespace {

class Tip : public IconButton {
protected:
    void SetUp() override
    {
        IconButton::SetUp();
        m_parent.setGeometry(100, 100, 300, 200);
        m_button->SetTipText("Valider la saisie");
        m_parent.show();
    }
    void Enter(QPoint local)
    {
        QEnterEvent event(local, local, m_button->mapToGlobal(local));
        QCoreApplication::sendEvent(m_button, &event);
    }
    void Move(QPoint local)
    {
        QMouseEvent event(QEvent::MouseMove, local, m_button->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(m_button, &event);
    }
    CSize TipTextExtent() const
    {
        return tarvic::FontTextExtent(dynamic_cast<CFont*>(GetStockObject(SYSTEM_FONT))->GetLogFont(),
                                      "Valider la saisie");
    }
};

}  // namespace

TEST_F(Tip, ShowsAtTheMouseSizedToItsText)
{
    EXPECT_FALSE(m_button->IsTipVisible());
    Enter({5, 5});  // (15, 15) in the parent
    ASSERT_TRUE(m_button->IsTipVisible());
    const CSize extent = TipTextExtent();
    EXPECT_EQ(m_button->TipRect(), CRect(15, 15, 15 + extent.cx + 4, 15 + extent.cy + 4));
}

TEST_F(Tip, OverflowingBoxEndsFivePixelsInsideTheParent)
{
    m_button->setGeometry(190, 10, 100, 30);
    Enter({90, 5});  // (280, 15) in the parent, 300 wide
    ASSERT_TRUE(m_button->IsTipVisible());
    const CSize extent = TipTextExtent();
    EXPECT_EQ(m_button->TipRect(), CRect(295 - extent.cx - 4, 15, 295, 15 + extent.cy + 4));
}

TEST_F(Tip, DrawsAYellowBoxWithTheTextCentred)
{
    Enter({5, 5});
    CRecordingDC dc;
    m_button->DrawTip(&dc);
    const CRect box = m_button->TipRect();
    ASSERT_EQ(dc.Calls().size(), 2u);
    EXPECT_EQ(dc.Calls()[0].Describe(), "rectangle (15,15," + std::to_string(box.right) + "," +
                                            std::to_string(box.bottom) +
                                            ") pen solid 1 rgb(0,0,0) brush rgb(255,255,0)");
    EXPECT_EQ(dc.Calls()[1].op, "text");
    EXPECT_EQ(dc.Calls()[1].text, "Valider la saisie");
    EXPECT_EQ(dc.Calls()[1].points.front(), CPoint((box.left + box.right) / 2, 17));
    EXPECT_EQ(dc.Calls()[1].textAlign, TA_CENTER | TA_TOP);
    EXPECT_EQ(dc.GetTextAlign(), TA_LEFT | TA_TOP);
}

TEST_F(Tip, LeavingTheButtonHidesItAndGivesBackWhatItCovered)
{
    const QImage before = m_parent.grab().toImage();
    Enter({5, 5});
    EXPECT_EQ(QWidget::mouseGrabber(), m_button);
    const QImage shown = m_parent.grab().toImage();
    EXPECT_NE(shown, before);
    const CRect box = m_button->TipRect();
    EXPECT_EQ(shown.pixel(box.left + 1, box.bottom - 2), qRgb(255, 255, 0));
    Move({50, 20});  // still inside: nothing changes
    EXPECT_TRUE(m_button->IsTipVisible());
    Move({150, 20});
    EXPECT_FALSE(m_button->IsTipVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(m_parent.grab().toImage(), before);
}

TEST_F(Tip, PressingTheButtonHidesIt)
{
    Enter({5, 5});
    Draw(ODS_SELECTED);
    EXPECT_FALSE(m_button->IsTipVisible());
}

TEST_F(Tip, HidingAHiddenTipDoesNothingAndNoTextNoTip)
{
    Move({150, 20});
    EXPECT_FALSE(m_button->IsTipVisible());
    CIconButton silent("OK", &m_parent);
    silent.setGeometry(10, 100, 100, 30);
    silent.show();
    QEnterEvent event(QPointF(5, 5), QPointF(15, 105), silent.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&silent, &event);
    EXPECT_FALSE(silent.IsTipVisible());
}

TEST(IndicatorButton, RedWhenSetWhiteOtherwiseIconOnTop)
{
    CIconBouton button;
    button.SetIcon(101);
    button.SetEtat(true);
    EXPECT_TRUE(button.LitEtat());
    CRecordingDC dc;
    button.DrawItem(&dc, CRect(0, 0, 36, 34));
    EXPECT_THAT(dc.Descriptions(),
                ElementsAre("rectangle (0,0,36,34) pen solid 1 rgb(0,0,0) brush rgb(255,0,0)", "icon 101 (2,1,34,33)"));
    EXPECT_EQ(dc.GetCurrentBrush()->GetLogBrush().lbColor, RGB(255, 255, 255));
    button.SetEtat(false);
    dc.Clear();
    button.DrawItem(&dc, CRect(0, 0, 36, 34));
    EXPECT_THAT(dc.Descriptions(), ElementsAre("rectangle (0,0,36,34) pen solid 1 rgb(0,0,0) brush rgb(255,255,255)",
                                               "icon 101 (2,1,34,33)"));
}

TEST(IndicatorButton, NoIconNumberDrawsNothingAMissingIconOnlyTheBackground)
{
    CIconBouton button;
    CRecordingDC dc;
    button.DrawItem(&dc, CRect(0, 0, 36, 34));
    EXPECT_THAT(dc.Descriptions(), IsEmpty());
    button.SetIcon(999);
    button.DrawItem(&dc, CRect(0, 0, 36, 34));
    EXPECT_THAT(dc.Descriptions(), ElementsAre("rectangle (0,0,36,34) pen solid 1 rgb(0,0,0) brush rgb(255,255,255)"));
}
