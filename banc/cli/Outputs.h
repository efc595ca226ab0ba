#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "engine/Elements.h"
#include "engine/Settings.h"

namespace banc::cli {

// "" when every output file asked for can be made, else why not (Latin-1).
std::string CheckOutputs(const Request& request);

// Writes the files asked for (the CSV too unless `csvWritten`), tells which on
// standard error, and prints the summary; false when a file could not be written.
bool WriteOutputs(const Request& request, const Settings& settings, Elements& elements, bool csvWritten);

// Messages on standard error, "tarvic-banc : ..." for a failure.
void Tell(const std::string& latin1);
void Complain(const std::string& latin1);

}  // namespace banc::cli
