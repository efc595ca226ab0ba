#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "engine/Settings.h"
#include "engine/link/CardOpening.h"

namespace banc::cli {

// An experiment on the card (the simulated one without --port), its progress,
// summary and output files; returns the exit status.
int RunExperiment(const Request& request, const Settings& settings, const std::string& programDir);

// The card the options ask for: the bench's simulated one (found from
// `programDir`) without --port.
CardPlace CardPlaceOf(const Request& request, const Settings& settings, const std::string& programDir);

// An experiment read back from its archive, written out again as asked.
int OpenArchive(const Request& request);

}  // namespace banc::cli
