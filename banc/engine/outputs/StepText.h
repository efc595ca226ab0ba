#pragma once

#include <string>

#include "engine/analysis/StepAnalysis.h"

namespace banc {

// The units the figures are read in (Latin-1).
struct StepUnits {
    std::string measure;
    std::string setpoint;  // the measurement's, or in open loop the command's
};

// The step figures for a reader, one line each (Latin-1): a figure the record
// does not support is said not to be established, with the reason.
std::string StepSummary(const StepFigures& figures, const StepUnits& units);
// A time read off the record, to the sampling's resolution: "4.4 s" for 0.5 s
// points, "0.04 s" for 10 ms ones.
std::string StepSeconds(float seconds, float samplePeriod);
// What keeps the figures from being read, in one sentence; "" when they are.
std::string StepVerdictText(const StepFigures& figures, const std::string& unit);

}  // namespace banc
