#pragma once

#include "engine/analysis/StepRecord.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc {

// The command (percent of the full command) and the measurement (its unit)
// over the blocks acquired, for the analyses: the same arrays for a run and a
// loaded archive.
analysis::StepRecord RecordedResponse(const Settings& settings, const Elements& elements);

}  // namespace banc
