#pragma once

#include <vector>

#include "engine/analysis/Identification.h"
#include "engine/analysis/Prediction.h"
#include "engine/outputs/PlotImage.h"

namespace banc {

// Over an open-loop run: the fitted model's response, and each graphic
// method's construction (the points it read, Strejc's tangent), so that a
// student sees where every figure came from.
std::vector<PlotOverlay> IdentificationOverlays(const analysis::Identification& identification,
                                                const analysis::StepRecord& record);
// A predicted closed-loop response, dashed, for the run it will be compared with.
PlotOverlay PredictionOverlay(const analysis::LoopPrediction& prediction);

}  // namespace banc
