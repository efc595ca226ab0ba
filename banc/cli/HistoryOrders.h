#pragma once

#include "cli/CommandLine.h"

namespace banc::cli {

// The orders on the kept runs (--liste, --essai, --comparer, --commentaire,
// --supprimer): what they tell goes to standard output, what went wrong to
// standard error; returns the exit status.
int HistoryOrder(const Request& request);

}  // namespace banc::cli
