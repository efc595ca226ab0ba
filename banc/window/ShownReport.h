#pragma once

#include <string>

class QPagedPaintDevice;

namespace banc::window {

class PlotView;
class Workbench;

// The report of what the plot shows: the runs of the history overlaid on
// it, else the experiment shown, with what the history kept of it when it
// is the run just kept (its number, comment, lab work). "" or why not (Latin-1).
std::string PrintShownReport(Workbench& workbench, const PlotView& plot, QPagedPaintDevice& device);
std::string WriteShownReport(Workbench& workbench, const PlotView& plot, const std::string& path);

}  // namespace banc::window
