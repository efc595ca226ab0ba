#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "support/GuiApplication.h"
#include "tarvic/platform/PainterDC.h"

namespace {

constexpr QRgb white = 0xFFFFFFFF;

class PainterDC : public ::testing::Test {
protected:
    void SetUp() override
    {
        tarvic::test::RequireGuiApplication();
        m_image.fill(Qt::white);
    }
    QRgb At(int x, int y) const { return m_image.pixel(x, y); }
    // Bounding box of the pixels that are not white.
    QRect Ink() const
    {
        QRect box;
        for (int y = 0; y < m_image.height(); ++y)
            for (int x = 0; x < m_image.width(); ++x)
                if (m_image.pixel(x, y) != white) box |= QRect(x, y, 1, 1);
        return box;
    }

    QImage m_image{120, 80, QImage::Format_RGB32};
};

}  // namespace

TEST_F(PainterDC, RectanglesExcludeTheirRightAndBottomEdges)
{
    {
        QPainter painter(&m_image);
        CPainterDC dc(painter);
        CBrush blue(RGB(0, 0, 255));
        dc.SelectObject(&blue);
        dc.Rectangle(10, 10, 20, 15);
    }
    EXPECT_EQ(Ink(), QRect(QPoint(10, 10), QPoint(19, 14)));
    EXPECT_EQ(At(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(At(19, 14), qRgb(0, 0, 0));
    EXPECT_EQ(At(15, 12), qRgb(0, 0, 255));
}

TEST_F(PainterDC, FilledRectanglesCoverLeftToRightMinusOne)
{
    {
        QPainter painter(&m_image);
        CPainterDC dc(painter);
        dc.FillSolidRect(CRect(3, 4, 9, 6), RGB(255, 0, 0));
    }
    EXPECT_EQ(Ink(), QRect(QPoint(3, 4), QPoint(8, 5)));
    EXPECT_EQ(At(8, 5), qRgb(255, 0, 0));
}

TEST_F(PainterDC, TextLiesInItsExtentBelowTheTopLeftPoint)
{
    CSize extent;
    {
        QPainter painter(&m_image);
        CPainterDC dc(painter);
        LOGFONT log;
        log.lfHeight = 30;
        log.lfFaceName = "Times New Roman";
        CFont font;
        font.CreateFontIndirect(&log);
        dc.SelectObject(&font);
        dc.SetTextColor(RGB(255, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        extent = dc.GetTextExtent("Hx");
        dc.TextOut(20, 30, "Hx");
    }
    const QRect ink = Ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(20, 30, extent.cx, extent.cy).contains(ink)) << ink.x() << "," << ink.y();
    EXPECT_GT(ink.height(), extent.cy / 2);
}

TEST_F(PainterDC, OpaqueTextPaintsTheBackgroundCell)
{
    CSize extent;
    {
        QPainter painter(&m_image);
        CPainterDC dc(painter);
        dc.SetBkColor(RGB(0, 255, 0));
        extent = dc.GetTextExtent("i");
        dc.TextOut(10, 10, "i");
    }
    EXPECT_EQ(Ink(), QRect(10, 10, extent.cx, extent.cy));
    EXPECT_EQ(At(10, 10), qRgb(0, 255, 0));
}

TEST_F(PainterDC, ThePainterStateIsGivenBack)
{
    QPainter painter(&m_image);
    painter.setPen(QColor(1, 2, 3));
    {
        CPainterDC dc(painter);
        dc.LineTo(5, 5);
    }
    EXPECT_EQ(painter.pen().color(), QColor(1, 2, 3));
}
