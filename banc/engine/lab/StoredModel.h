#pragma once

#include <optional>

#include <tarvic/platform/Profile.h>

#include "engine/analysis/ProcessModel.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc {

// The last identified model of a bench's measured quantity, kept in the
// bench's profile so that a later run (another command line, the window)
// tunes and predicts from it.
//
// Section "<process letter>_MODELE_<measured quantity>" ("D_MODELE_temperature"), entries:
//   TYPE             "premier_ordre_retard", "strejc" or "integrateur"
//   GAIN             the measurement's change per % of command (per second of it for an integrator)
//   CONSTANTE_TEMPS  s, each of the lags for Strejc; 0 for an integrator
//   RETARD           s
//   ORDRE            Strejc's n (1 otherwise)
//   COMMANDE         the command the model goes from ("chauffage"): another's is not this model
//   UNITE            the measurement's unit when identified: a gain in another unit would be wrong
// TYPE is cleared first and written last, so that a save cut short leaves no model.

// False when the profile refused a write.
bool SaveModel(tarvic::Profile& profile, const Settings& settings, const Elements& elements,
               const analysis::ProcessModel& model);
// The model of the settings' measured quantity from their command, in the
// unit the elements give it; none when it is missing, damaged, or of another
// command or unit: never a wrong one.
std::optional<analysis::ProcessModel> LoadModel(tarvic::Profile& profile, const Settings& settings,
                                                const Elements& elements);

}  // namespace banc
