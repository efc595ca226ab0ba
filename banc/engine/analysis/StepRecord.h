#pragma once

#include <vector>

namespace banc::analysis {

// A recorded response, sampled evenly: the command (%, or whatever drives the
// process) and the measurement in its own unit, one value of each per point.
struct StepRecord {
    double period = 0;  // s between two points
    std::vector<double> command;
    std::vector<double> measure;
};

}  // namespace banc::analysis
