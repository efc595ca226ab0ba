#pragma once

#include <string>

#include "engine/model/Settings.h"
#include "engine/run/FrequencySweep.h"

namespace banc {

// A sweep's results for a reader (French, Latin-1): its table, the margins of
// the controller's loop or why there are none, and the frequencies not measured.
std::string SweepSummary(const Settings& settings, const SweepResult& result, const SweepLoop& loop);

}  // namespace banc
