#pragma once

#include <limits>
#include <string_view>
#include <vector>

namespace banc {

// The element of an experiment a parameter belongs to.
enum class Role { Bench, Controller, Generator, Recording };

// Where a parameter's accepted range comes from.
enum class Limit {
    Element,  // the element's LitMinMax, narrowed to [min, max]
    Level,    // the bench's setpoint and command levels
    Fixed,    // [min, max]
};

// A float parameter the user sets by name: "--kp 2" is SetFParam(10, 2) on
// the controller. The name is the parameter's profile entry in lower case.
struct ParameterDef {
    const char* name;
    Role role;
    int index;  // LitFParam / SetFParam number
    Limit limit;
    float min = -std::numeric_limits<float>::max();
    float max = std::numeric_limits<float>::max();
    const char* help = "";        // Latin-1
    bool closedLoopOnly = false;  // meaningless for the open-loop block
    bool shared = false;          // read by every element when it is made: a change makes them all again
};

// The parameters of the controllers, generators and recording, for every bench.
const std::vector<ParameterDef>& CommonParameters();

// A kind of setpoint signal: the generator's SetCParam(0) value.
struct SignalKind {
    const char* name;  // option value
    int kind;
};
const std::vector<SignalKind>& SignalKinds();
const SignalKind* FindSignal(std::string_view name);

}  // namespace banc
