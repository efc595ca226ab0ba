#pragma once

#include <memory>
#include <string>

#include <tarvic/platform/Profile.h>

#include "cli/CommandLine.h"
#include "engine/link/CardLink.h"
#include "engine/link/CardOpening.h"
#include "engine/link/EmbeddedCard.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"

namespace banc::cli {

// An experiment on the card (the simulated one without --port), its progress,
// summary and output files; returns the exit status.
int RunExperiment(const Request& request, const Settings& settings, const std::string& programDir);

// The card the options ask for: the bench's simulated one (found from
// `programDir`) without --port.
CardPlace CardPlaceOf(const Request& request, const Settings& settings, const std::string& programDir);

// Before a run on the card: the output files checked, the elements
// configured in the bench's profile (or --profil's), which `profile` then
// is; kExitDone, or the status to end with, the failure said.
int PrepareRun(const Request& request, const Settings& settings, Elements& elements,
               std::shared_ptr<tarvic::Profile>& profile);

// The card of a run: the simulated one started (said on standard error)
// unless --port names one, and `link` opened on it; false, the failure said, when not.
bool OpenCard(const Request& request, const Settings& settings, const std::string& programDir, EmbeddedCard& card,
              std::unique_ptr<CardLink>& link);

// The exit status of a run that ended so.
int StatusOf(const Outcome& outcome);

// An experiment read back from its archive, written out again as asked.
int OpenArchive(const Request& request);

}  // namespace banc::cli
