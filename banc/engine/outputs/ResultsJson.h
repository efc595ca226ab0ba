#pragma once

#include <optional>
#include <string>

#include "engine/analysis/ProcessModel.h"
#include "engine/analysis/StepAnalysis.h"
#include "engine/lab/LabWork.h"
#include "engine/lab/PredictionComparison.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/StepText.h"

namespace banc {

// Everything a run printed, for scripts and later tools. A part left null
// was not done in this run.
struct RunReport {
    const Settings* settings = nullptr;
    int blocks = 0;         // acquired
    int plannedBlocks = 0;  // of the whole recording
    double period = 0;      // s between two points
    bool complete = true;   // the run went to its end: neither stopped nor cut short by a fault
    StepFigures step;
    StepUnits units;  // the measurement's, and the setpoint's (or the command's in open loop)
    std::string commandUnit = kCommandUnit;
    std::string labRefusal;  // Latin-1: why no lab work was done on this run (it ended early...)
    const LabResult* identification = nullptr;
    const RelayLabResult* relay = nullptr;
    // The model a closed-loop run was predicted from, and the prediction.
    std::optional<analysis::ProcessModel> model;
    const TunedSuggestion* applied = nullptr;  // the suggestion written into the closed loop's settings
    const analysis::LoopPrediction* prediction = nullptr;
    const PredictionComparison* comparison = nullptr;
};

// Fills in the run's own part of the report: the settings, the blocks, the
// step figures and the units, from the recording.
void ReportRun(const Settings& settings, Elements& elements, RunReport& report);

// The report as JSON, UTF-8: times in s, levels in the measurement's unit
// (named beside them), null for a figure that was not established.
std::string ResultsJson(const RunReport& report);
// Written whole or not at all; "" or why not (Latin-1).
std::string WriteResultsJson(const std::string& path, const RunReport& report);
// Results already made (a kept run's), on the same terms.
std::string WriteResultsText(const std::string& path, const std::string& json);

}  // namespace banc
