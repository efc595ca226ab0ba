#pragma once

#include <string>

namespace banc::cli {

// The French help of the command line, made from the engine's tables (Latin-1).
std::string HelpText();
std::string VersionText();

}  // namespace banc::cli
