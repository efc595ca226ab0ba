#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/history/StoredRun.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc::report {

// "Essai n\xB0 12", or "Essai" for a run the history did not keep.
std::string RunName(long long number);
// "complet", "interrompu : ...", "d\xE9" "faut de la carte : ...".
std::string OutcomeText(const history::StoredRun& run);
// The title block's rows: bench, mode, date, user, host, card, outcome,
// recording, settings (Latin-1).
std::vector<std::pair<std::string, std::string>> RunFields(const history::StoredRun& run, const Settings& settings,
                                                           Elements& elements);

}  // namespace banc::report
