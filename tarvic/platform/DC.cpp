#include "tarvic/platform/DC.h"

#include <utility>

namespace {

template <class Object>
Object* Stock(int index)
{
    return dynamic_cast<Object*>(GetStockObject(index));
}

}  // namespace

CDC::CDC()
    : m_pen(Stock<CPen>(BLACK_PEN)), m_brush(Stock<CBrush>(WHITE_BRUSH)), m_font(Stock<CFont>(SYSTEM_FONT)),
      m_penLog(m_pen->GetLogPen()), m_brushLog(m_brush->GetLogBrush()), m_fontLog(m_font->GetLogFont())
{
}

CDC::~CDC() = default;

CPen* CDC::SelectObject(CPen* pen)
{
    if (pen == nullptr || !pen->IsCreated()) return nullptr;
    m_penLog = pen->GetLogPen();
    return std::exchange(m_pen, pen);
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    if (brush == nullptr || !brush->IsCreated()) return nullptr;
    m_brushLog = brush->GetLogBrush();
    return std::exchange(m_brush, brush);
}

CFont* CDC::SelectObject(CFont* font)
{
    if (font == nullptr || !font->IsCreated()) return nullptr;
    m_fontLog = font->GetLogFont();
    return std::exchange(m_font, font);
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (auto* pen = dynamic_cast<CPen*>(object)) return SelectObject(pen);
    if (auto* brush = dynamic_cast<CBrush*>(object)) return SelectObject(brush);
    if (auto* font = dynamic_cast<CFont*>(object)) return SelectObject(font);
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) { return SelectObject(GetStockObject(index)); }

COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(m_textColor, color); }

COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_bkColor, color); }

int CDC::SetBkMode(int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return std::exchange(m_bkMode, mode);
}

unsigned CDC::SetTextAlign(unsigned flags) { return std::exchange(m_textAlign, flags); }

CSize CDC::GetTextExtent(const std::string& text) const { return MeasureText(m_fontLog, text); }

bool CDC::TextOut(int x, int y, const std::string& text)
{
    OutputText({x, y}, text);
    return true;
}

CPoint CDC::MoveTo(int x, int y) { return std::exchange(m_position, CPoint{x, y}); }

bool CDC::LineTo(int x, int y)
{
    const CPoint from = std::exchange(m_position, CPoint{x, y});
    OutputLine(from, m_position);
    return true;
}

bool CDC::Polyline(const CPoint* points, int count)
{
    if (points == nullptr || count < 2) return false;
    OutputPolyline(std::vector<CPoint>(points, points + count));
    return true;
}

bool CDC::DrawShape(Shape shape, int left, int top, int right, int bottom, CSize corner)
{
    CRect rect(left, top, right, bottom);
    rect.NormalizeRect();
    OutputShape(shape, rect, corner);
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom)
{
    return DrawShape(Shape::rectangle, left, top, right, bottom, {});
}

bool CDC::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    return DrawShape(Shape::roundRect, left, top, right, bottom, {cornerWidth, cornerHeight});
}

bool CDC::Ellipse(int left, int top, int right, int bottom)
{
    return DrawShape(Shape::ellipse, left, top, right, bottom, {});
}

void CDC::FillRect(const CRect& rect, CBrush* brush)
{
    if (brush == nullptr || !brush->IsCreated() || brush->GetLogBrush().lbStyle != BS_SOLID) return;
    FillSolidRect(rect, brush->GetLogBrush().lbColor);
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color)
{
    CRect normal = rect;
    normal.NormalizeRect();
    OutputFill(normal, color);
}

bool CDC::DrawIcon(int x, int y, const CIcon& icon, int cx, int cy)
{
    constexpr int defaultIconSize = 32;
    OutputIcon(CRect(x, y, x + (cx == 0 ? defaultIconSize : cx), y + (cy == 0 ? defaultIconSize : cy)), icon);
    return true;
}
