#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/analysis/ProcessModel.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis {

// A point of the curve, in s from the record's first point and in the measurement's unit.
struct CurvePoint {
    double t = 0;
    double value = 0;
};

// What the record says of the step before any model is fitted.
struct StepAnalysed {
    int stepIndex = 0;         // the first point at the new command
    double stepTime = 0;       // s, from the record's first point
    double commandBefore = 0;  // the command's rest and step levels
    double commandAfter = 0;
    double measureBefore = 0;  // the mean before the step
    double measureFinal = 0;   // the settled value (FOPDT, Strejc)
    double noise = 0;          // the measurement's standard deviation at rest
    bool integrating = false;  // the measurement does not settle but ramps
};

// One graphic method of the lessons, with what it read off the curve so that a
// plot can draw its construction.
struct MethodResult {
    std::string key;    // "broida", "deux_points", "strejc": the JSON's names
    std::string label;  // French, Latin-1: "Bro\xEFda (28 % et 40 %)"
    ProcessModel model;
    std::vector<CurvePoint> points;  // the points read on the curve
    // A construction line from `from` to `to`: Strejc's tangent at the inflection.
    std::optional<std::pair<CurvePoint, CurvePoint>> tangent;
};

// The least-squares fit of the whole response.
struct FitResult {
    ProcessModel model;
    double rms = 0;        // the residual, in the measurement's unit
    double explained = 0;  // 1 - residual variance / measurement variance
    int iterations = 0;
    bool converged = false;
};

struct Identification {
    std::string refusal;  // French (Latin-1) why no model is given; empty when there is one
    StepAnalysed step;
    std::optional<FitResult> fit;  // the first order with delay, or the integrator
    std::vector<MethodResult> methods;

    bool Identified() const { return refusal.empty() && fit.has_value(); }
};

// Identifies the process from an open-loop step response: the fit by least
// squares and the graphic methods, or a refusal that says why the data cannot
// give a model. Bounded in iterations and time.
Identification Identify(const StepRecord& record);

}  // namespace banc::analysis
