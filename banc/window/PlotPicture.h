#pragma once

#include <string>

namespace banc::window {

class PlotView;

// Writes the plot as the window shows it (the span zoomed on, the curves
// checked, the step's markers, the cursor) as a PNG picture of its logical
// size, unscaled; "" or why not (Latin-1).
std::string SavePlotPicture(PlotView& plot, const std::string& path);

}  // namespace banc::window
