#pragma once

#include <memory>
#include <string>

class CEidElement;

namespace banc {

// What the engine needs to know of a controller class: how to make it, how
// to start and stop the card's loop with it, where its read-back values are.
struct ControllerKind {
    const char* name;   // the --mode value
    const char* label;  // Latin-1
    std::unique_ptr<CEidElement> (*make)();
    // The line that starts (run) or stops the card's loop.
    std::string (*startStop)(CEidElement& controller, bool run);
    int liveRequest;    // DmdMesure number of its read-back
    int setpointProbe;  // LitSonde number of the setpoint, -1 when it has none
    int commandProbe;   // LitSonde number of the command
    bool closedLoop;    // takes a feedback (SetCParam 7) and the bench's "TB" fragment
    bool hasActions;    // the PID's action bits (SetCParam 2 to 5)
};

// The open-loop block, the PID, the on/off controller and the Z corrector.
extern const ControllerKind kOpenLoop;
extern const ControllerKind kPid;
extern const ControllerKind kOnOff;
extern const ControllerKind kZCorrector;

// The controller's loop wiring (command routing and feedback): "DCP...".
inline constexpr int kWiringCode = 6;

}  // namespace banc
