#pragma once

#include <string>
#include <vector>

#include "StationMachine.h"

namespace cardsim {

// What one automation station looks like from the serial line, and its machine.
struct Station {
    std::string name;
    int inputBytes;
    int outputBytes;
    // Varnok's input reply carries a state byte after a separator: "LEL%02X%02X %02X".
    bool stateField;
    const MachineTable& machine;
};

const std::vector<Station>& Stations();
// The station of that name, or null.
const Station* FindStation(const std::string& name);

}  // namespace cardsim
