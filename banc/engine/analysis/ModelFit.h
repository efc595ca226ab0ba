#pragma once

#include "engine/analysis/Identification.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// The first order with delay fitted by least squares to the whole response,
// from a first guess (`start`, in the record's units).
FitResult FitFirstOrder(const StepRecord& record, const StepAnalysed& step, const ProcessModel& start);

// The integrator with delay fitted to the whole ramp: its slope per command
// unit and its delay.
FitResult FitIntegrator(const StepRecord& record, const StepAnalysed& step);

}  // namespace banc::analysis
