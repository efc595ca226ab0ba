#pragma once

namespace banc::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitCardFault = 1;    // the card went silent, away or refused a line during the run
inline constexpr int kExitUsage = 2;        // the command line is refused
inline constexpr int kExitUnavailable = 3;  // a port, the simulated card or a file cannot be used
inline constexpr int kExitInterrupted = 130;  // Ctrl-C, as shells count it

}  // namespace banc::cli
