#pragma once

#include <vector>

#include "cli/CommandLine.h"
#include "engine/outputs/Comparison.h"

namespace banc::cli {

// The PDF report --rapport asks for, if it does, of the run --essai shows
// or of the runs --comparer overlays; tells where it went, or why not on
// standard error. False when it could not be written.
bool WriteRequestedReport(const Request& request, ComparedRun& run);
bool WriteRequestedReport(const Request& request, std::vector<ComparedRun>& runs);

}  // namespace banc::cli
