#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "engine/Controllers.h"
#include "engine/Curve.h"
#include "engine/Parameter.h"

class CEidElement;

namespace banc {

// A control mode a bench offers: its number ("TYPE"/"REGULATEUR"), its
// controller and the generator that drives it.
struct Mode {
    int number;
    const ControllerKind* controller;
    const char* generator;  // "GENE" (closed-loop setpoint) or "GENE1" (open-loop command)
};

// Where the loop's command goes: the controller's SetCParam(6) value.
struct CommandChoice {
    const char* name;   // option value
    const char* label;  // Latin-1
    char param;
};

// The measured quantity: the feedback of a closed loop (SetCParam(7) value
// and the bench's "TB" fragment), or what an open-loop experiment watches.
struct MeasureChoice {
    const char* name;
    const char* label;
    char param;
    int fragment;       // bench ConfFerz code of its "TB" selector
    Curve curve;        // its input in the recording
    int request;        // bench DmdMesure number that brings it live
    int probe;          // bench LitSonde number of it, percent
};

// A bench as data: everything the engine and the command line do with it.
struct Bench {
    const char* name;   // option value, and the simulated card's bench name
    const char* title;  // Latin-1
    char letter;        // process letter, "TYPE"/"PO"
    std::unique_ptr<CEidElement> (*make)();
    std::vector<Mode> modes;
    std::vector<CommandChoice> commands;  // the first is the default
    std::vector<MeasureChoice> measures;  // the first is the default
    Curve setpoint;
    Curve loopMeasure;  // the closed loop's own measurement
    Curve command;
    std::vector<Curve> others;  // every other recorded curve the bench uses
    std::vector<ParameterSpec> parameters;  // the bench element's own
    float levelMin;     // setpoint and command levels
    float levelMax;
    const char* unit;   // of the levels
};

const std::vector<Bench>& Benches();
const Bench* FindBench(std::string_view name);
// By controller name ("pid") or mode number ("1"); null when the bench has no such mode.
const Mode* FindMode(const Bench& bench, std::string_view name);
const CommandChoice* FindCommand(const Bench& bench, std::string_view name);
const MeasureChoice* FindMeasure(const Bench& bench, std::string_view name);

// The results' columns after the time: setpoint, measurement, command, then the others.
std::vector<Curve> Columns(const Bench& bench, const Mode& mode, const MeasureChoice& measure);
// The measurement curve of an experiment: the loop's own, or in open loop the
// watched input under the same name.
Curve MeasureCurve(const Bench& bench, const Mode& mode, const MeasureChoice& measure);

}  // namespace banc
