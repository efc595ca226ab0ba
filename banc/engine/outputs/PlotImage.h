#pragma once

#include <string>
#include <vector>

#include <tarvic/platform/Gdi.h>

#include "engine/outputs/Curve.h"

class QImage;

class CAxe;
class CAxeTemps;
class CDC;
class CEnregistrement;

namespace banc {

// A curve drawn in the renderer's colour of its code takes it in the legend too.
inline constexpr COLORREF kColourOfCode = 0xFFFFFFFF;

struct PlotCurve {
    Curve curve;
    char colour;                   // the formula renderer's colour code: '1' blue, '2' red, '3' green
    int axis = 0;                  // 0 the left value axis, 1 the right one
    COLORREF pen = kColourOfCode;  // another colour: a stroke of it before the label in the legend
};

// A value axis: its range, widened when a curve leaves it; an empty range
// (min = max) is fitted to the curves drawn on it.
struct PlotAxis {
    float min = 0;
    float max = 0;
    std::string unit;
};

struct PlotPoint {
    float t;  // s from the record's first point
    float value;
};

// What is drawn over the recorded curves without being recorded: a fitted
// model, a predicted response, a construction of the lessons (a tangent, the
// points a method read off the curve).
struct PlotOverlay {
    std::string label;  // in the legend, Latin-1; empty: not in it
    COLORREF pen;
    bool dashed = false;
    int axis = 0;
    std::vector<PlotPoint> line;   // a polyline, empty for marks alone
    std::vector<PlotPoint> marks;  // points marked with a cross
    int style = -1;                // a dash of its own (PS_DOT...) at the curves' width, for runs told apart; -1 none
};

// What a plot of an experiment shows.
struct PlotContent {
    std::string title;  // display markup
    std::vector<PlotCurve> curves;
    std::string legend;                 // the descriptions, in display markup
    PlotAxis axes[2];                   // the right one is drawn when a curve is on it
    std::vector<PlotOverlay> overlays;  // drawn over the curves, in order
    int points = 0;                     // acquired
    int plannedPoints = 0;              // of the whole recording: the time axis
    int periodMs = 0;
};

// Where a plot is drawn: the surface and, in it, the frame of the curves.
struct PlotFrame {
    int width;
    int height;
    int left;
    int right;
    int top;  // the frame's height is ten rows of the value axes
    int bottom;
};
inline constexpr PlotFrame kImageFrame{960, 560, 80, 880, 70, 430};

// The value axis `index` (0 left, 1 right) as the plot draws it.
CAxe PlotValueAxis(const CEnregistrement& recording, const PlotContent& content, const PlotFrame& frame, int index);
// The time axis over the whole recording planned.
CAxeTemps PlotTimeAxis(const PlotContent& content, const PlotFrame& frame);

// Draws the plot with the library's value and time axes and formula renderer:
// the points of the time axis's span, on `time` when given (zoomed or scrolled), else on the whole recording.
void DrawPlot(CDC& dc, const CEnregistrement& recording, const PlotContent& content,
              const PlotFrame& frame = kImageFrame, const CAxeTemps* time = nullptr);

// Draws it on a kImageFrame image and writes it as PNG, never over an experiment
// archive; "" or why not (Latin-1). Needs a QGuiApplication.
std::string SavePlot(const std::string& path, const CEnregistrement& recording, const PlotContent& content);

// Writes a picture drawn elsewhere (the window's plot as shown) as PNG, on the
// same terms.
std::string SavePicture(const std::string& path, const QImage& image);

}  // namespace banc
