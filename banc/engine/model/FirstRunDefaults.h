#pragma once

#include <tarvic/platform/Profile.h>

#include "engine/model/Benches.h"

namespace banc {

// The console's own first-run settings of a bench, written after the
// library's factory settings where the library leaves a mode without usable
// ones: the generator of such a mode takes the settings of the mode its
// `generatorDefaultsOf` names.
void WriteConsoleDefaults(const Bench& bench, tarvic::Profile& profile);

}  // namespace banc
