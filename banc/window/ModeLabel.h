#pragma once

#include <string>

#include "engine/model/Benches.h"

namespace banc::window {

// A mode as the window names it, in its choice and in the history: "Mode 1 : r\xE9gulation PID" (Latin-1).
std::string ModeLabel(const Mode& mode);

}  // namespace banc::window
