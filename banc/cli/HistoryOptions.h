#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "engine/outputs/Comparison.h"

namespace banc::cli {

// --liste, --essai, --comparer, --commentaire, --supprimer.
bool IsHistoryOrder(Request::Action action);

// "2026-12-01" or "2026-12-01 14:00", a real day and time.
bool ValidSince(const std::string& text);

// A run's number (1 and up) appended to `runs`: "" or why the value is refused (Latin-1).
std::string RunNumber(const char* option, const char* value, std::vector<long long>& runs);
// "3,5,8": two runs or more, each once, up to kMostCompared.
std::string RunNumbers(const char* option, const char* value, std::vector<long long>& runs);
// As many as there are pens: no two runs of a picture drawn alike.
inline constexpr int kMostCompared = kComparisonPens;

// "" when the order's other options go with it, else why not (Latin-1):
// --liste takes --banc and --depuis, --essai the outputs, --comparer --png;
// every order takes --historique, and only --liste --depuis.
std::string HistoryRefusal(const Request& request);

}  // namespace banc::cli
