#pragma once

#include <string>
#include <vector>

#include "engine/lab/LabWork.h"

namespace banc {

// A table for a reader, Latin-1 cells: the command line aligns it, the window
// fills its table views with the same cells.
struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// One row per model: the fit, then each graphic method (gain, time constant,
// delay, order, residual), in the record's units. Times to the resolution of
// points `samplePeriod` s apart; 0: to three significant digits.
TextTable ModelTable(const analysis::Identification& identification, const std::string& measureUnit,
                     const std::string& commandUnit, double samplePeriod = 0);
// One row per suggestion: rule, controller, kp, ti, td, kf, ks as the profile
// keeps them, and the predicted overshoot, rise and settling times (or why
// the prediction does not establish them).
TextTable SuggestionTable(const std::vector<TunedSuggestion>& suggestions);
// Columns padded to their widest cell, for a terminal.
std::string RenderTable(const TextTable& table);

}  // namespace banc
