#include "tarvic/platform/PainterDC.h"

#include <QFontMetrics>
#include <QPolygon>

#include "tarvic/platform/FontMap.h"

namespace {

QColor ToQColor(COLORREF color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

Qt::PenStyle ToQtPenStyle(int style)
{
    switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// The outline of a figure whose right and bottom edges are excluded: a
// one-pixel Qt outline of QRect(l, t, w - 1, h - 1) covers l .. r - 1.
QRect OutlineRect(const CRect& rect) { return QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1); }

}  // namespace

CPainterDC::CPainterDC(QPainter& painter) : m_painter(painter)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

CPainterDC::~CPainterDC() { m_painter.restore(); }

CSize CPainterDC::MeasureText(const LOGFONT& font, const std::string& text) const
{
    return tarvic::FontTextExtent(font, text);
}

void CPainterDC::OutputText(CPoint at, const std::string& text)
{
    const QFont font = tarvic::QFontFromLogFont(Font());
    const QString qtext = tarvic::QStringForFont(text, Font());
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(qtext);
    const unsigned align = GetTextAlign();
    int left = at.x;
    if ((align & TA_CENTER) == TA_CENTER)
        left -= width / 2;
    else if ((align & TA_RIGHT) == TA_RIGHT)
        left -= width;
    int baseline = at.y + metrics.ascent();
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = at.y;
    else if ((align & TA_BOTTOM) == TA_BOTTOM)
        baseline = at.y - metrics.descent();
    if (GetBkMode() == OPAQUE)
        m_painter.fillRect(QRect(left, baseline - metrics.ascent(), width, metrics.height()), ToQColor(GetBkColor()));
    m_painter.setFont(font);
    m_painter.setPen(ToQColor(GetTextColor()));
    m_painter.drawText(QPoint(left, baseline), qtext);
}

void CPainterDC::UsePen()
{
    const LOGPEN& pen = Pen();
    QPen qpen(ToQColor(pen.lopnColor), pen.lopnWidth > 1 ? pen.lopnWidth : 1, ToQtPenStyle(pen.lopnStyle));
    if (pen.lopnWidth > 1) {
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    m_painter.setPen(qpen);
}

void CPainterDC::UseBrush()
{
    const LOGBRUSH& brush = Brush();
    if (brush.lbStyle == BS_SOLID)
        m_painter.setBrush(ToQColor(brush.lbColor));
    else
        m_painter.setBrush(Qt::NoBrush);
}

void CPainterDC::OutputLine(CPoint from, CPoint to)
{
    UsePen();
    m_painter.drawLine(from.x, from.y, to.x, to.y);
}

void CPainterDC::OutputPolyline(const std::vector<CPoint>& points)
{
    UsePen();
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const CPoint& point : points) polygon << QPoint(point.x, point.y);
    m_painter.drawPolyline(polygon);
}

void CPainterDC::OutputShape(Shape shape, const CRect& rect, CSize corner)
{
    if (rect.Width() < 1 || rect.Height() < 1) return;
    UsePen();
    UseBrush();
    const QRect outline = OutlineRect(rect);
    switch (shape) {
    case Shape::rectangle: m_painter.drawRect(outline); break;
    case Shape::ellipse: m_painter.drawEllipse(outline); break;
    case Shape::roundRect:
        m_painter.drawRoundedRect(QRectF(outline), corner.cx / 2.0, corner.cy / 2.0, Qt::AbsoluteSize);
        break;
    }
}

void CPainterDC::OutputFill(const CRect& rect, COLORREF color)
{
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void CPainterDC::OutputIcon(const CRect& rect, const CIcon& icon)
{
    if (icon.GetImage().isNull()) return;
    m_painter.drawImage(QRect(rect.left, rect.top, rect.Width(), rect.Height()), icon.GetImage());
}
