#pragma once

#include <string>
#include <vector>

#include "engine/outputs/BodePlot.h"
#include "engine/run/FrequencySweep.h"

namespace banc {

// The kept model's curve over the span the sweep measured, as the diagram
// draws it; none without a model or a point.
std::vector<analysis::BodePoint> SweepModelCurve(const SweepResult& result);

// A sweep's Bode diagram, the same on the command line's picture and in the
// window: the points measured, the model's curve over their span when the
// sweep has one, and, with `loop` (none: nullptr), the open loop of the
// controller with its margins; under it what the gain is measured in, the
// margins' figures and the frequencies not measured.
BodeContent SweepDiagram(const std::string& title, const SweepResult& result, const SweepLoop* loop);

}  // namespace banc
