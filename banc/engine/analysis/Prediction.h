#pragma once

#include <vector>

#include "engine/analysis/LoopScale.h"
#include "engine/analysis/ProcessModel.h"
#include "engine/analysis/StepAnalysis.h"

namespace banc::analysis {

// The card's PID as it runs it, read back from the fixed-point fields the
// library sends ("RKP", "RKI", "RKD", "RKF") and the loop's period ("RER").
struct CardPid {
    double k1 = 0;          // pppp / 1024
    double k2 = 0;          // from the normaliser, or the output coefficient
    double integral = 0;    // iiii / 1024: T / Ti per sample
    double derivative = 0;  // dddd / 1024
    double pole = 0;        // ffff / 1024
    bool proportionalAction = true;
    bool integralAction = true;
    bool derivativeAction = false;
    bool derivativeOnMeasurement = false;
    double period = 0.1;  // s
};

// The closed-loop step to predict, in the record's units.
struct LoopStep {
    double rest = 0;          // the setpoint before the step, where the loop is at rest
    double step = 0;          // the setpoint after it
    double delay = 0;         // s before the step
    double duration = 0;      // s of the whole response
    double recordPeriod = 0;  // s between two points of the prediction, as the recording samples
};

struct LoopPrediction {
    double period = 0;                               // s between two points
    std::vector<double> setpoint, measure, command;  // record units; command in percent
    StepFigures figures;
};

// The closed loop of the model and the card's PID sampled as the card runs it:
// zero-order hold at the loop's period, the command held within its limits,
// the integral not wound up, the derivative through its filter.
LoopPrediction PredictLoop(const ProcessModel& model, const LoopScale& scale, const CardPid& pid, const LoopStep& step);

// A measured run against its prediction: the integral of the absolute
// difference of the measurements (unit × s) over their common span.
double IntegralAbsoluteDifference(const std::vector<double>& measured, const std::vector<double>& predicted,
                                  double period);

}  // namespace banc::analysis
