#pragma once

#include <vector>

#include "engine/model/Settings.h"
#include "engine/outputs/PlotImage.h"

namespace banc {
struct Elements;
}

namespace banc::window {

// The curves of an experiment the plot can show, in their colours and on the
// axis of their unit: the measurement, the setpoint and the command first
// (as the command line plots them), then those of the other recorded curves
// that share the unit of one of the two axes.
std::vector<PlotCurve> CurveCatalog(const Settings& settings, const Elements& elements);

// How many of the catalog's first curves are shown at first.
inline constexpr int kCurvesShownAtFirst = 3;

}  // namespace banc::window
