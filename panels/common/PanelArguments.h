#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PanelVariant.h"
#include "net/MqttSettings.h"

namespace tarvic {
class Profile;
}

// What a panel's command line asks: --help and --version, and the room's
// broker (the net library's options over the profile's section "MQTT").
struct PanelArguments {
    std::optional<int> exitStatus;  // none: the panel opens
    std::string output;             // for standard output (Latin-1)
    std::string errors;             // for standard error (Latin-1)
    net::MqttSettings mqtt;         // off when no broker is named, or when its settings cannot be used
};

// --help and --version only, before there is an application (no display needed).
PanelArguments AnswerHelp(const std::vector<std::string>& args, const PanelVariant& variant);

// The arguments Qt left (the program's name first). A command line that
// cannot be read ends the program; settings that cannot be used only turn
// the room off, said on standard error: the panel serves its station all the same.
PanelArguments ReadPanelArguments(const std::vector<std::string>& args, const PanelVariant& variant,
                                  tarvic::Profile& profile);
