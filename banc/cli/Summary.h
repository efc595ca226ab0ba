#pragma once

#include <string>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc::cli {

// The end of an experiment for a terminal: blocks acquired, the step figures
// (or why the record does not give them), and the descriptions of the
// controller and the generator without their markup (Latin-1).
std::string SummaryText(const Settings& settings, const Elements& elements);

}  // namespace banc::cli
