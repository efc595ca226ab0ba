#pragma once

#include <string>
#include <vector>

#include "engine/analysis/StepAnalysis.h"
#include "engine/model/Benches.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/outputs/Curve.h"
#include "engine/outputs/PlotImage.h"

namespace banc {

// What the outputs of an experiment are made of, for a run and for a loaded archive alike.

// The experiment's curves, their scales taken from the bench element.
struct ExperimentCurves {
    Curve setpoint;  // the closed loop's setpoint, or the open-loop command the generator plays
    Curve measure;   // the loop's measurement, or in open loop the watched quantity
    Curve command;
    std::vector<Curve> others;
    UnitView measureUnit;
    std::string setpointUnit;  // the measurement's, or in open loop the command's
};
inline constexpr const char* kCommandUnit = "%";
ExperimentCurves CurvesOf(const Settings& settings, const Elements& elements);

// The recording's period between points, ms.
int PeriodMs(CEnregistrement& recording);
// Whole blocks acquired.
int BlocksAcquired(const CEnregistrement& recording);
// The CSV columns after the time: setpoint, measurement, command, error, then the others.
std::vector<Curve> ResultColumns(const Settings& settings, const Elements& elements);
// The bench and the controller, for titles; Latin-1.
std::string ExperimentTitle(const Settings& settings);
// The step response over the blocks acquired: one computation for the
// summary, the window (during a run and after it) and a loaded archive.
StepFigures ExperimentStep(const Settings& settings, const Elements& elements);
// The plot: setpoint, measurement and command, with the controller's and the generator's descriptions.
PlotContent MakePlot(const Settings& settings, const Elements& elements);

}  // namespace banc
