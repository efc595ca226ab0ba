#pragma once

#include <string>
#include <vector>

#include <tarvic/platform/Gdi.h>
#include <tarvic/platform/Geometry.h>

class CDC;

namespace banc {

// What the plots write: the title, the legend, the descriptions.
inline constexpr int kPlotTitleSize = 20, kPlotLegendSize = 14, kPlotDescriptionSize = 13;
// Under a plot's frame: the labels, the legend's rows, then the descriptions.
inline constexpr int kPlotLegendTop = 46, kPlotLegendRow = 22, kPlotDescriptionTop = 72;

// Display markup through the library's formula renderer, in black to begin with.
void WriteMarkup(CDC& dc, const std::string& text, int x, int y, int size);
// One line under the other, each as far below the last as the device context makes a line of this size.
void WriteMarkupLines(CDC& dc, const std::string& text, int x, int y, int size);
// A cross in the current pen: a point read on a curve, or measured.
void DrawCross(CDC& dc, CPoint at);

// One entry of a legend drawn in its own pen rather than named in a colour of the renderer.
struct LegendStroke {
    std::string label;  // Latin-1
    CPen pen;
    bool line;   // a stroke
    bool cross;  // a cross on it, or alone for marks alone
};

// The legend under a frame: `coded` (labels in the renderer's colours) first,
// then each stroke and its label, on as many rows as they take between `left`
// and `right`; returns the rows.
int DrawLegend(CDC& dc, const std::string& coded, std::vector<LegendStroke>& strokes, int left, int right, int top);

}  // namespace banc
