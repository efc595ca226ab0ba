#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/Benches.h"

namespace banc {

// What the user asked of an experiment. Null choices take the bench's defaults.
struct Settings {
    const Bench* bench = nullptr;
    const Mode* mode = nullptr;
    const CommandChoice* command = nullptr;
    const MeasureChoice* measure = nullptr;
    std::vector<std::pair<const ParameterDef*, float>> values;  // in the order given
    std::optional<int> signal;                                  // generator kind
    std::optional<std::string> actions;                         // the PID's actions: letters among P, I, D and M
    std::optional<double> duration;                             // seconds, rounded up to whole blocks
    bool factory = false;                                       // the bench's factory settings, even over the user's
    bool routed = true;    // the command goes to the chosen output; false: isolated, the loop drives nothing
    bool feedback = true;  // the closed loop takes the measurement back; false: its error is the setpoint

    const CommandChoice& Command() const { return command ? *command : bench->commands.front(); }
    // The one asked for, else the mode's usual one, else the bench's first.
    const MeasureChoice& Measure() const
    {
        if (measure) return *measure;
        const MeasureChoice* usual = mode && mode->measure ? FindMeasure(*bench, mode->measure) : nullptr;
        return usual ? *usual : bench->measures.front();
    }
};

// The PID's actions when none are asked for.
inline constexpr const char* kDefaultActions = "PI";

}  // namespace banc
