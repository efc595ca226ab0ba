#pragma once

#include "engine/LabWork.h"
#include "engine/Settings.h"

namespace banc {

// The closed loop `loop` given a suggested controller, as the options --kp,
// --ti, --td, --kf, --ks and --actions give it: the coefficients its actions
// use (a PI has no derivative time to check), and those actions.
Settings WithController(Settings loop, const ControllerSettings& chosen);

}  // namespace banc
