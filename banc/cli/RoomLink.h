#pragma once

#include <tarvic/platform/Profile.h>

#include "cli/CommandLine.h"
#include "engine/publish/RoomReport.h"
#include "engine/run/Experiment.h"
#include "net/MqttSettings.h"

namespace banc::cli {

// The room's broker from the options over the run's profile (section
// "MQTT"). Settings that cannot be used turn publishing off, said on
// standard error: the run goes on without the room.
net::MqttSettings RoomSettings(const Request& request, tarvic::Profile& profile);

// The room's orders during a run: "arreter" stops it as Ctrl-C does, a
// message is printed on standard error. Without a run, a stop has nothing to stop.
publish::RoomReport::Orders RoomOrders(Experiment* running);

// A message from the network as one line for a terminal: control characters
// (escape sequences, line ends) become spaces.
std::string PrintableLine(std::string text);

}  // namespace banc::cli
