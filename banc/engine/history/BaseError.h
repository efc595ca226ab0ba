#pragma once

#include <string>

namespace banc::history {

// How long a console waits for another one writing to the same base before
// it gives up: long enough for any insertion, short enough not to hold up a run.
inline constexpr int kBusyTimeoutMs = 5000;

// Why SQLite failed, in French (Latin-1), from its extended result code and
// the errno behind it: "le disque est plein", "ce n'est pas une base SQLite".
std::string BaseErrorReason(int code, int systemError);

}  // namespace banc::history
