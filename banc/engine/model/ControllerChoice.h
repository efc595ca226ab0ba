#pragma once

#include "engine/lab/LabWork.h"
#include "engine/model/Settings.h"

namespace banc {

// The closed loop `loop` given a suggested controller, as the options --kp,
// --ti, --td, --kf, --ks and --actions give it: its five coefficients (those
// its actions do not use are the profile's, as the suggestion keeps them)
// and its actions.
Settings WithController(Settings loop, const ControllerSettings& chosen);

}  // namespace banc
