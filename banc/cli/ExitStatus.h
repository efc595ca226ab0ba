#pragma once

namespace banc::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitCardFault = 1;  // the card went silent, away or refused a line during the run
inline constexpr int kExitUsage = 2;      // the command line is refused
// A port, the simulated card or a file cannot be used, or the card takes none of the
// bench's lines (silent from the first one, or another card).
inline constexpr int kExitUnavailable = 3;
inline constexpr int kExitInterrupted = 130;  // Ctrl-C as shells count it; SIGTERM and SIGHUP too

}  // namespace banc::cli
