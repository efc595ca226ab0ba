#pragma once

#include <string>
#include <vector>

#include "engine/Elements.h"
#include "engine/Settings.h"

namespace banc {

// The configuration lines of an experiment, as the card takes them: each
// element's sequence (ConfFerz 0 to NbParam - 1, empty ones left out), with
// the fragments the card's protocol puts in: the bench's own after its
// sequence (the axis's "XRCG"), after the controller's sequence
// its wiring, then the bench's "TB" selector of the feedback; the recording's
// waiting time appended to its "EVE".
std::vector<std::string> ConfigurationLines(const Elements& elements, const Settings& settings);

// The line that starts (run) or stops the card's loop.
std::string LoopLine(const Elements& elements, const Settings& settings, bool run);

}  // namespace banc
