#pragma once

#include <string>

#include "engine/analysis/Identification.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// The command's step and what the measurement did around it, or why the
// record cannot be identified (French, Latin-1).
struct DetectedStep {
    StepAnalysed step;
    std::string refusal;  // empty when the step can be identified
};

// Finds the one step of the command, the measurement's rest level and noise
// before it, its final level, and whether it settles or ramps.
DetectedStep DetectStep(const StepRecord& record);

}  // namespace banc::analysis
