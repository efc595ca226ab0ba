#pragma once

#include "engine/analysis/Sampled.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// The two last quarters of a response, each through its least-squares line.
struct ResponseEnd {
    int tailPoints = 0;  // the points of each quarter
    Line before;         // the quarter before the last
    Line tail;           // the last one
};

// The level a response that still creeps at the record's end tends to: the
// exponential approach y = c − A e^(−t/T) fitted to its two last quarters,
// where a first order, and n lags soon, approach so; the tail's line at the
// last point when the end does not creep toward a level (or barely).
double SettledLevel(const StepRecord& record, const ResponseEnd& end);

}  // namespace banc::analysis
