#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "engine/model/Settings.h"
#include "engine/run/FrequencySweep.h"

namespace banc::cli {

// What the command line asks of a sweep (--fmin, --fmax, --points,
// --amplitude, --repos, --stabilisation), at the pace of its card.
SweepRequest SweepAsked(const Request& request, const Settings& settings);

// A frequency sweep on the card (the simulated one without --port): its
// progress per frequency, its table, the margins of the profile's
// controller, and the CSV, picture and JSON asked for; returns the exit status.
int RunSweep(const Request& request, const Settings& settings, const std::string& programDir);

}  // namespace banc::cli
