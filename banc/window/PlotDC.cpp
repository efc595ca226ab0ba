#include "window/PlotDC.h"

#include <algorithm>
#include <cmath>

namespace banc::window {
namespace {

// Selects objects made of resolved descriptions into a context, and puts its own back.
class Selection {
public:
    explicit Selection(CDC& dc) : m_dc(dc) {}
    ~Selection()
    {
        if (m_pen) m_dc.SelectObject(m_pen);
        if (m_brush) m_dc.SelectObject(m_brush);
        if (m_font) m_dc.SelectObject(m_font);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    void Use(const LOGPEN& pen)
    {
        m_newPen.CreatePen(pen.lopnStyle, pen.lopnWidth, pen.lopnColor);
        m_pen = m_dc.SelectObject(&m_newPen);
    }
    void Use(const LOGBRUSH& brush)
    {
        m_newBrush.CreateBrushIndirect(&brush);
        m_brush = m_dc.SelectObject(&m_newBrush);
    }
    void Use(const LOGFONT& font)
    {
        m_newFont.CreateFontIndirect(&font);
        m_font = m_dc.SelectObject(&m_newFont);
    }

private:
    CDC& m_dc;
    CPen m_newPen;
    CBrush m_newBrush;
    CFont m_newFont;
    CPen* m_pen = nullptr;
    CBrush* m_brush = nullptr;
    CFont* m_font = nullptr;
};

// The part of the segment inside the rectangle (right and bottom edges
// included), by Liang and Barsky's parametric clipping; none when it misses it.
std::optional<std::pair<CPoint, CPoint>> ClipSegment(CPoint from, CPoint to, const CRect& clip)
{
    const double dx = to.x - from.x, dy = to.y - from.y;
    double enter = 0, leave = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {static_cast<double>(from.x - clip.left), static_cast<double>(clip.right - from.x),
                        static_cast<double>(from.y - clip.top), static_cast<double>(clip.bottom - from.y)};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, r);
        else
            leave = std::min(leave, r);
        if (enter > leave) return std::nullopt;
    }
    const auto at = [&](double t) {
        return CPoint(static_cast<int>(std::lround(from.x + t * dx)), static_cast<int>(std::lround(from.y + t * dy)));
    };
    return std::make_pair(at(enter), at(leave));
}

}  // namespace

LOGFONT PlotDC::Readable(const LOGFONT& font) const
{
    LOGFONT readable = font;
    const int height = std::abs(font.lfHeight);
    if (m_smallestText <= 0 || height == 0 || height >= m_smallestText) return readable;
    // The width in proportion, so that the face keeps its shape.
    readable.lfWidth = font.lfWidth * m_smallestText / height;
    readable.lfHeight = font.lfHeight < 0 ? -m_smallestText : m_smallestText;
    return readable;
}

CSize PlotDC::MeasureText(const LOGFONT& font, const std::string& text) const
{
    Selection selection(m_target);
    selection.Use(Readable(font));
    return m_target.GetTextExtent(text);
}

void PlotDC::OutputText(CPoint at, const std::string& text)
{
    Selection selection(m_target);
    selection.Use(Readable(Font()));
    const COLORREF colour = m_target.SetTextColor(GetTextColor());
    const COLORREF background = m_target.SetBkColor(GetBkColor());
    const int mode = m_target.SetBkMode(GetBkMode());
    const unsigned align = m_target.SetTextAlign(GetTextAlign());
    m_target.TextOut(at.x, at.y, text);
    m_target.SetTextAlign(align);
    m_target.SetBkMode(mode);
    m_target.SetBkColor(background);
    m_target.SetTextColor(colour);
}

void PlotDC::DrawRun(const std::vector<CPoint>& points, bool line)
{
    Selection selection(m_target);
    selection.Use(Pen());
    if (line) {
        const CPoint position = m_target.MoveTo(points.front());
        m_target.LineTo(points.back());
        m_target.MoveTo(position);
    } else {
        m_target.Polyline(points.data(), static_cast<int>(points.size()));
    }
}

std::vector<std::vector<CPoint>> PlotDC::Clipped(const std::vector<CPoint>& points) const
{
    if (!m_clip) return {points};
    std::vector<std::vector<CPoint>> runs;
    bool joined = false;  // the last run ends where the next segment starts
    for (std::size_t i = 1; i < points.size(); ++i) {
        const auto inside = ClipSegment(points[i - 1], points[i], *m_clip);
        if (!inside) {
            joined = false;
            continue;
        }
        if (!joined || runs.back().back() != inside->first) runs.push_back({inside->first});
        runs.back().push_back(inside->second);
        joined = inside->second == points[i];
    }
    return runs;
}

void PlotDC::OutputLine(CPoint from, CPoint to)
{
    for (const auto& run : Clipped({from, to})) DrawRun(run, true);
}

void PlotDC::OutputPolyline(const std::vector<CPoint>& points)
{
    for (const auto& run : Clipped(points)) DrawRun(run, false);
}

void PlotDC::OutputShape(Shape shape, const CRect& rect, CSize corner)
{
    Selection selection(m_target);
    selection.Use(Pen());
    selection.Use(Brush());
    switch (shape) {
    case Shape::rectangle: m_target.Rectangle(rect); break;
    case Shape::roundRect: m_target.RoundRect(rect, CPoint(corner.cx, corner.cy)); break;
    case Shape::ellipse: m_target.Ellipse(rect); break;
    }
}

void PlotDC::OutputFill(const CRect& rect, COLORREF color) { m_target.FillSolidRect(rect, color); }

void PlotDC::OutputIcon(const CRect& rect, const CIcon& icon)
{
    m_target.DrawIcon(rect.left, rect.top, icon, rect.Width(), rect.Height());
}

}  // namespace banc::window
