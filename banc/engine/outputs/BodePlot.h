#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tarvic/platform/Gdi.h>

#include "engine/analysis/FrequencyResponse.h"

class CDC;

namespace banc {

// A curve of the diagram drawn as a line through its points, in order of
// frequency: the identified model's response, the open loop of a controller.
struct BodeCurve {
    std::string label;  // in the legend, Latin-1; empty: not in it
    COLORREF pen;
    bool dashed = false;
    std::vector<analysis::BodePoint> points;
};

// What a Bode diagram shows.
struct BodeContent {
    std::string title;                          // display markup
    std::string gainUnit;                       // Latin-1, the measurement's unit per % ("\xB0" "C/%"): what 0 dB is
    std::vector<analysis::BodePoint> measured;  // crosses; an untrusted point in its own colour
    std::vector<BodeCurve> curves;              // drawn over the points, in order
    // Of the open loop (one of the curves): the gain margin marked from 0 dB at
    // the phase crossover, the phase margin from -180 degrees at the gain crossover.
    std::optional<analysis::LoopMargins> margins;
    std::string legend;  // the descriptions under the diagram, in display markup
};

// Where a diagram is drawn: the surface, the columns of both panels, the gain
// panel above the phase panel.
struct BodeFrame {
    int width;
    int height;
    int left;
    int right;
    int gainTop;
    int gainBottom;  // each panel's height is ten rows of its value axis
    int phaseTop;
    int phaseBottom;
};

// The panels laid out on a surface of that size (the window's tab): room kept
// above for the title and the gain's unit, between them for the phase's unit,
// below for the frequencies, the legend and the descriptions; each panel a
// whole number of tens of rows high, so that the value axes' steps are exact.
constexpr BodeFrame BodeFrameFor(int width, int height)
{
    constexpr int side = 80, top = 60, between = 40, below = 180, leastPanel = 50;
    const int panel = (height - top - between - below) / 2 / 10 * 10;
    const int rows = panel < leastPanel ? leastPanel : panel;
    return {width, height, side, width - side, top, top + rows, top + rows + between, top + 2 * rows + between};
}
inline constexpr BodeFrame kBodeImageFrame = BodeFrameFor(960, 760);

// Draws the diagram with the library's value axes, its logarithmic frequency
// axis and its formula renderer: grid at the decades, gain in dB above, phase
// in degrees below, measured points, curves, margins.
void DrawBode(CDC& dc, const BodeContent& content, const BodeFrame& frame = kBodeImageFrame);

// Draws it on a kBodeImageFrame image and writes it as PNG, never over an
// experiment archive; "" or why not (Latin-1). Needs a QGuiApplication.
std::string SaveBode(const std::string& path, const BodeContent& content);

}  // namespace banc
