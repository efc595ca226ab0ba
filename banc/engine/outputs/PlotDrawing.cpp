#include "engine/outputs/PlotDrawing.h"

#include <tarvic/platform/DC.h>
#include <tarvic/recording/Equation.h>

#include <algorithm>

namespace banc {
namespace {

// A cross of this half-width.
constexpr int kMark = 4;
constexpr int kSwatch = 18, kSwatchGap = 4;

}  // namespace

void WriteMarkup(CDC& dc, const std::string& text, int x, int y, int size)
{
    CEquation(text, CPoint(x, y), size).Draw(&dc, false);
}

void WriteMarkupLines(CDC& dc, const std::string& text, int x, int y, int size)
{
    LOGFONT log;
    log.lfHeight = size;
    CFont font;
    font.CreateFontIndirect(&log);
    CFont* previous = dc.SelectObject(&font);
    const int advance = std::max(size, dc.GetTextExtent("X").cy);
    if (previous) dc.SelectObject(previous);
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        WriteMarkup(dc, text.substr(from, end - from), x, y, size);
        y += advance;
        from = end + 1;
    }
}

void DrawCross(CDC& dc, CPoint at)
{
    dc.MoveTo(at.x - kMark, at.y - kMark);
    dc.LineTo(at.x + kMark, at.y + kMark);
    dc.MoveTo(at.x - kMark, at.y + kMark);
    dc.LineTo(at.x + kMark, at.y - kMark);
}

int DrawLegend(CDC& dc, const std::string& coded, std::vector<LegendStroke>& strokes, int left, int right, int top)
{
    WriteMarkup(dc, coded, left, top, kPlotLegendSize);
    int x = left + CEquation(coded, CPoint(), kPlotLegendSize).LongEquation(&dc, coded);
    int row = 0;
    for (LegendStroke& stroke : strokes) {
        const std::string label = stroke.label + "   ";
        const int width = kSwatch + kSwatchGap + CEquation(label, CPoint(), kPlotLegendSize).LongEquation(&dc, label);
        if (x + width > right && x > left) {
            x = left;
            ++row;
        }
        const int y = top + row * kPlotLegendRow;
        CPen* previous = dc.SelectObject(&stroke.pen);
        if (stroke.line) {
            dc.MoveTo(x, y + kPlotLegendRow / 2);
            dc.LineTo(x + kSwatch, y + kPlotLegendRow / 2);
        }
        if (stroke.cross) DrawCross(dc, CPoint(x + kSwatch / 2, y + kPlotLegendRow / 2));
        dc.SelectObject(previous);
        WriteMarkup(dc, label, x + kSwatch + kSwatchGap, y, kPlotLegendSize);
        x += width;
    }
    return row + 1;
}

}  // namespace banc
