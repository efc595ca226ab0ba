#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "SimulatedCard.h"

namespace cardsim {

// The operator's timed orders of a scenario file: one a line, the time in
// seconds of the card's time from its start, then the order
// ("2.5 appui dcy"); blank lines and lines beginning with '#' are skipped.
using Scenario = std::vector<std::pair<SimDuration, std::string>>;

// The scenario, or nothing with `error` naming the line it could not read.
std::optional<Scenario> ParseScenario(const std::string& text, std::string& error);

}  // namespace cardsim
