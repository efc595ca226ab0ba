#pragma once

#include <optional>
#include <string>

#include "Delivery.h"

namespace cardsim {

struct Options {
    std::string station = "varnok";
    std::string link;      // a stable symlink to the pty, if any
    std::string logFile;   // the traffic log, if any
    bool silent = false;   // reads everything, answers nothing
    Delivery delivery = Delivery::Whole;
    int hangUpAfter = -1;  // close the pty after that many received lines
    long flood = 0;        // after the first received line, send that many input replies
};

// The options, or nothing with `error` set (the usage text when asked for help).
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

}  // namespace cardsim
