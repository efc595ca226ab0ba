#pragma once

#include <string>

#include "engine/model/Settings.h"
#include "engine/run/FrequencySweep.h"

namespace banc {

// A sweep's results as JSON, UTF-8, for scripts: the bench, the rest and
// the amplitude, "bode" (one object per point: "frequence_hz",
// "pulsation_rad_s", "gain", "gain_db", "phase_deg", "distorsion_pct",
// "fiable", "remarque"), the frequencies not measured, the model when there
// is one, and with a controller's loop "marges" ("gain_db", "phase_deg",
// "frequence_gain_hz", "frequence_phase_hz", null where not read).
std::string SweepJson(const Settings& settings, const SweepPlan& plan, const SweepResult& result,
                      const SweepLoop* loop);
// Written whole or not at all; "" or why not (Latin-1).
std::string WriteSweepJson(const std::string& path, const Settings& settings, const SweepPlan& plan,
                           const SweepResult& result, const SweepLoop* loop);

}  // namespace banc
