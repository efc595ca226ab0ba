#pragma once

#include <string>
#include <vector>

namespace banc::analysis {

// What a relay test's sustained oscillation gives: the ultimate gain Ku = 4d / (π a)
// and period Pu, in the record's units (command per measurement unit).
struct RelayResult {
    std::string refusal;        // French (Latin-1) why not, empty when found
    double amplitude = 0;       // a: half the measurement's swing
    double relayAmplitude = 0;  // d: half the command's swing
    double ultimateGain = 0;    // Ku
    double ultimatePeriod = 0;  // Pu, s
    int periods = 0;            // whole periods measured
};

// From the recorded command and measurement of an on/off loop (every point
// `period` s apart): the last periods, once the oscillation is steady.
RelayResult AnalyseRelay(const std::vector<double>& command, const std::vector<double>& measure, double period);

}  // namespace banc::analysis
