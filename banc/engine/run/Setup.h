#pragma once

#include <memory>
#include <string>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace tarvic {
class Profile;
}

namespace banc {

struct SetupResult {
    std::string error;  // Latin-1; empty when the elements are ready
    bool saved = true;  // the settings reached the store
    int saveError = 0;  // else the errno of the first write that failed
};

// Makes the experiment's elements in the profile `store` and gives them the
// settings: "TYPE" written, the bench's factory settings when the store has
// none yet, every parameter checked against its limits and set. On an error
// the store is left as it was. Once configured, the store is the library's
// profile: some elements read the bench from it again as they build commands.
SetupResult Configure(const Settings& settings, const std::shared_ptr<tarvic::Profile>& store, Elements& elements);

// The generator's levels, speeds and accelerations shown and taken in the
// bench's units (tr/min, degrees...) where the card counts in its own: for a
// run as for an archive read back.
void GeneratorInBenchUnits(const Settings& settings, Elements& elements);
// Whether a parameter belongs to the experiment's elements in its mode.
bool Applies(const ParameterDef& def, const Settings& settings, const Elements& elements);
// Why the generator would play nothing with the signal `kind` and these of
// its parameters, or ""; checked on a copy, the generator and the profile stay as they are.
std::string SignalError(const Elements& elements, int kind,
                        const std::vector<std::pair<const ParameterDef*, float>>& values);
// The range a parameter may take, as Configure checks it.
void ParameterRange(const ParameterDef& def, const Settings& settings, const Elements& elements, float& min,
                    float& max);

}  // namespace banc
