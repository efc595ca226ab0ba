#pragma once

#include <string>
#include <vector>

#include <tarvic/platform/Gdi.h>

#include "engine/history/StoredRun.h"
#include "engine/outputs/LabText.h"
#include "engine/outputs/PlotImage.h"
#include "engine/outputs/RecordingArchive.h"

class CDC;

namespace banc {

// One run of a comparison: as the history keeps it, and its experiment read
// back from its archive.
struct ComparedRun {
    history::StoredRun stored;
    LoadedExperiment loaded;
};

// Reads the run's archive into `compared`: "" or why not (Latin-1).
std::string LoadComparedRun(const history::StoredRun& run, ComparedRun& compared);

// The pen of the `index`-th run (0-based): each run its own colour AND dash,
// so that the runs are told apart on a black and white print too. After
// kComparisonPens runs the pens come round again.
struct RunPen {
    COLORREF colour;
    int style;    // PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT
    bool marked;  // crosses along the line: the sixth run and on, whose dashes come round again
};
inline constexpr int kComparisonPens = 10;
RunPen ComparisonPen(int index);

// "" when the runs can be overlaid on one value axis, else why not (Latin-1):
// fewer than two, or measurements in different units.
std::string ComparisonRefusal(const std::vector<ComparedRun>& runs);

// The overlay: each run's measurement, over its own duration, in its pen;
// in the legend "Essai N : " and its controller's settings, its generator's
// too when they differ between the runs; the value axis in the runs' unit,
// the time axis over the longest recording planned.
PlotContent ComparisonPlot(const std::vector<ComparedRun>& runs);
// A picture as kImageFrame, made as tall as the legend of `runs` runs needs.
PlotFrame ComparisonImageFrame(std::size_t runs);
// Draws it (the runs must not be refused); the first run's recording stands
// for the axes, which read no curve of it.
void DrawComparison(CDC& dc, const std::vector<ComparedRun>& runs, const PlotFrame& frame = kImageFrame);
// On a ComparisonImageFrame picture written as PNG; "" or why not (Latin-1). Needs a QGuiApplication.
std::string SaveComparison(const std::string& path, const std::vector<ComparedRun>& runs);

// The runs' figures side by side: a header row ("", "Essai 3", "Essai 5"...),
// then one row per figure, its name first, "-" where a run does not establish
// it; RenderTable writes it for a terminal.
TextTable ComparisonFigures(const std::vector<ComparedRun>& runs);

}  // namespace banc
