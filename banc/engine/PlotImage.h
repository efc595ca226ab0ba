#pragma once

#include <string>
#include <vector>

#include "engine/Curve.h"

class CDC;
class CEnregistrement;

namespace banc {

struct PlotCurve {
    Curve curve;
    char colour;   // the formula renderer's colour code: '1' blue, '2' red, '3' green
    int axis = 0;  // 0 the left value axis, 1 the right one
};

// A value axis: its range, widened when a curve leaves it; an empty range
// (min = max) is fitted to the curves drawn on it.
struct PlotAxis {
    float min = 0;
    float max = 0;
    std::string unit;
};

// What a plot of an experiment shows.
struct PlotContent {
    std::string title;   // display markup
    std::vector<PlotCurve> curves;
    std::string legend;  // the descriptions, in display markup
    PlotAxis axes[2];    // the right one is drawn when a curve is on it
    int points = 0;         // acquired
    int plannedPoints = 0;  // of the whole recording: the time axis
    int periodMs = 0;
};

inline constexpr int kPlotWidth = 960;
inline constexpr int kPlotHeight = 560;

// Draws the plot on a kPlotWidth x kPlotHeight device context with the
// library's value and time axes and formula renderer.
void DrawPlot(CDC& dc, const CEnregistrement& recording, const PlotContent& content);

// Draws it on an image and writes it as PNG; "" or why not (Latin-1). Needs a QGuiApplication.
std::string SavePlot(const std::string& path, const CEnregistrement& recording, const PlotContent& content);

}  // namespace banc
