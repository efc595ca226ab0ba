#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/Controllers.h"
#include "engine/model/Parameter.h"
#include "engine/outputs/Curve.h"

class CEidElement;

namespace banc {

// What a measured quantity is counted in.
enum class Quantity { Percent, Speed, Position, Current };

// A control mode a bench offers: its number ("TYPE"/"REGULATEUR"), its
// controller and the generator that drives it.
struct Mode {
    const char* name;  // the --mode value
    int number;
    const ControllerKind* controller;
    const char* generator;          // "GENE" (closed-loop setpoint) or "GENE1" (open-loop command)
    const char* measure = nullptr;  // its usual measured quantity; null: the bench's first
    // The mode whose generator settings this one takes at first run, where the
    // library writes none of its own; -1: the library's.
    int generatorDefaultsOf = -1;
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
    int fragment;  // bench ConfFerz code of its "TB" selector, 0 for none
    Curve curve;   // the quantity in the recording, watched in open loop
    int request;   // bench DmdMesure number that brings it live
    int probe;     // bench LitSonde number of it, in its unit
    Quantity quantity;
};

// A bench as data: everything the engine and the command line do with it.
struct Bench {
    const char* name;   // option value, and the simulated card's bench name
    const char* title;  // Latin-1
    char letter;        // process letter, "TYPE"/"PO"
    std::unique_ptr<CEidElement> (*make)();
    std::vector<Mode> modes;              // the first is the default
    std::vector<CommandChoice> commands;  // the first is the default
    std::vector<MeasureChoice> measures;  // the first is the default
    int setpointCode;                     // the loop's setpoint, measurement and error in the recording
    int measureCode;
    int errorCode;
    Curve command;                         // the loop's command, in percent of the full command
    std::vector<Curve> others;             // every other recorded curve the bench uses
    std::vector<ParameterDef> parameters;  // the bench element's own
    std::vector<int> afterSequence;        // bench ConfFerz codes sent after its sequence
    float openMin;                         // the open-loop command's levels, in the generator's units
    float openMax;
};

// How a quantity shows with the bench's settings: its unit, the suffix of its
// CSV columns, the bench's factor from card units, the levels a setpoint may take.
struct UnitView {
    std::string unit;    // Latin-1: "%", "tr/min"
    std::string suffix;  // "pct", "trmin"
    int factor = 0;      // bench LitFParam number; 0: the card's values are the unit's
    float min = 0;
    float max = 0;
};
UnitView QuantityUnit(Quantity quantity, CEidElement& bench);

const std::vector<Bench>& Benches();
const Bench* FindBench(std::string_view name);
const Bench* FindBench(char letter);
// By mode name ("pid") or number ("1"); null when the bench has no such mode.
const Mode* FindMode(const Bench& bench, std::string_view name);
const CommandChoice* FindCommand(const Bench& bench, std::string_view name);
const MeasureChoice* FindMeasure(const Bench& bench, std::string_view name);

}  // namespace banc
