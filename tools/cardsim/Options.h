#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Delivery.h"

namespace cardsim {

struct Options {
    std::string station = "varnok";  // the card of an automation station...
    std::string bench;               // ...or, when set, of a control bench
    double speed = 1;                // simulated seconds per wall second
    std::uint32_t seed = 1;
    double noise = 0;      // measurement noise, percent of a sensor's span
    std::string control;   // a station's operator control pipe, if any
    std::string scenario;  // a station's file of timed operator orders, if any
    std::string link;      // a stable symlink to the pty, if any
    std::string logFile;   // the traffic log, if any
    bool silent = false;   // reads everything, answers nothing
    Delivery delivery = Delivery::Whole;
    int hangUpAfter = -1;  // close the pty after that many received lines
    long flood = 0;        // after the first received line, send that many input replies
    bool version = false;  // print the version and stop
};

// The options, or nothing with `error` set (the usage text when asked for help).
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

}  // namespace cardsim
