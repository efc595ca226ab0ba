#pragma once

#include <optional>

#include "engine/analysis/Identification.h"
#include "engine/analysis/ResponseReading.h"

namespace banc::analysis {

// The methods of the lessons, each read off the settled response: nothing
// when the curve does not show what the method reads.
std::optional<MethodResult> Broida(const ResponseReading& reading, const StepAnalysed& step);
std::optional<MethodResult> TwoPoints(const ResponseReading& reading, const StepAnalysed& step);
std::optional<MethodResult> Strejc(const ResponseReading& reading, const StepAnalysed& step);

// Strejc's table for n lags of equal time constant: the tangent at the
// inflection cuts the initial level Tu after the start and spans Ta up to the
// final level.
struct StrejcRow {
    int order = 1;
    double tuOverTa = 0;
    double taOverTau = 1;
};
// The row of order 1 to 6.
StrejcRow StrejcTableRow(int order);
// The order of a measured Tu / Ta: the largest n whose ratio does not exceed it.
int StrejcOrder(double tuOverTa);

}  // namespace banc::analysis
