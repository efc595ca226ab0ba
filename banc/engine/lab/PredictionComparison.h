#pragma once

#include <string>
#include <vector>

#include "engine/analysis/Prediction.h"
#include "engine/analysis/StepAnalysis.h"
#include "engine/outputs/LabText.h"

namespace banc {

// A closed-loop run beside the response its model predicted.
struct PredictionComparison {
    StepFigures measured;
    StepFigures predicted;
    double iae = 0;   // the integral of the absolute difference of the measurements, unit x s
    double span = 0;  // s, over which it was taken
    // The prediction starts the loop at rest at its first setpoint; a run whose
    // measurement was elsewhere at the step (still warming up...) is another response.
    bool fromRest = true;
};

// `measure`: the run's measurement, at the prediction's period from the same start.
PredictionComparison ComparePrediction(const analysis::LoopPrediction& prediction, const StepFigures& measured,
                                       const std::vector<double>& measure);

// One row per figure: final value, overshoot, rise and settling times,
// measured beside predicted; a figure not established says so.
TextTable ComparisonTable(const PredictionComparison& comparison, const std::string& unit);

}  // namespace banc
