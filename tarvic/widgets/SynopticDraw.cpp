#include "tarvic/widgets/SynopticDraw.h"

#include "tarvic/recording/Equation.h"
#include "tarvic/widgets/GdiScope.h"

namespace tarvic {

namespace {

constexpr int plotTop = 75;
constexpr int plotBottom = 675;
constexpr int titleSize = 17;
constexpr int annotationTextSize = 20;

}  // namespace

CRect BoxAt(CPoint corner, int width, int height)
{
    CRect rect(corner.x, corner.y, corner.x + width, corner.y + height);
    rect.NormalizeRect();
    return rect;
}

CPoint CentreOf(const CRect& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

void DrawCaption(CDC& dc, const std::string& text, CPoint at, int size) { CEquation(text, at, size).Draw(&dc, false); }

void DrawSegment(CDC& dc, const Segment& segment)
{
    dc.MoveTo(segment.from);
    dc.LineTo(segment.to);
}

void DrawValueBox(CDC& dc, const CRect& rect, const std::string& text, int size)
{
    dc.Rectangle(rect);
    DrawCaption(dc, text, {rect.left + 2, rect.top + 2}, size);
}

Segment PlotColumn(int x) { return {{x, plotTop}, {x, plotBottom}}; }

Segment PlotRow(int y, int fromX, int toX) { return {{fromX, y}, {toX, y}}; }

void DrawAnnotation(CDC& dc, const CRect& rect, const std::string& title, const std::string& text,
                    std::initializer_list<Segment> markers)
{
    ScopedBlackPen pen(dc);
    dc.Rectangle(rect);
    DrawCaption(dc, title, {rect.left + 5, rect.top}, titleSize);
    DrawCaption(dc, text, {rect.left + 2, rect.top + 20}, annotationTextSize);
    for (const Segment& marker : markers) DrawSegment(dc, marker);
}

}  // namespace tarvic
