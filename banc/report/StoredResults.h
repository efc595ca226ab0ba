#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/outputs/LabText.h"

namespace banc::report {

// What a run's JSON results (as --json writes them and the history keeps
// them) hold of the lab work, as tables for a reader; Latin-1 cells, the
// same columns as the command line's tables.
struct StoredLabWork {
    std::optional<TextTable> models;       // the identification: the fit, then each method
    std::optional<TextTable> suggestions;  // the tunings suggested
    std::optional<TextTable> applied;      // the tuning this run was made with
    std::vector<std::string> notes;        // a relay test's figures, why no model or tuning came
};

// Nothing for results without lab work; a text that is not JSON gives nothing either.
StoredLabWork ReadLabWork(const std::string& resultsJson);

}  // namespace banc::report
