#pragma once

#include <string>

namespace banc {

// Why the serial port cannot be opened, in French (Latin-1): a name that
// names no device, a device that is missing, one that another program holds,
// one the user may not open (the dialout group), or one that is no serial line.
std::string PortFailure(const std::string& port);

// The text for the device of `port` and the system's error number.
std::string PortFailureText(const std::string& port, const std::string& device, int error);

}  // namespace banc
