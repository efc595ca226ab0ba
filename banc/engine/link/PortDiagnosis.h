#pragma once

#include <string>

namespace banc {

// Why the serial port cannot be opened, in French (Latin-1), from the errno
// its open gave: a name that names no device, then the library's wording
// shared with the panels (missing, held, refused, no serial line).
std::string PortFailure(const std::string& port, int error);

}  // namespace banc
