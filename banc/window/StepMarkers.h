#pragma once

#include <memory>
#include <string>
#include <vector>

#include <tarvic/recording/Axe.h>
#include <tarvic/recording/AxeTemps.h>
#include <tarvic/widgets/Element.h>

#include "engine/analysis/StepAnalysis.h"

namespace banc::window {

// The step response's figures as the library's plot annotations, in the
// plot's frame: the response time at 5 % (CTempscp: its column, the final
// value and the band), the overshoot (CDep1: from the step to the peak, the
// peak's row) and the time constant (CCteTemps). A figure whose points lie
// outside the time axis's span is left out. A response the record does not
// establish gets no figure but `verdict`, written in the frame's top left.
std::vector<std::unique_ptr<CElement>> StepMarkers(const StepFigures& figures, const std::string& verdict,
                                                   const CAxe& measureAxis, const CAxeTemps& time);

}  // namespace banc::window
