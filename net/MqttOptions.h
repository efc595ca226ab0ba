#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "MqttSettings.h"

// The options by which every program (console, panels, room view) reaches the
// room's broker, and the profile's section "MQTT" under them: read here once.
namespace net {

// As given on the command line, "" when not given.
struct MqttOptions {
    std::string broker;        // --mqtt HOTE[:PORT]
    std::string salle;         // --salle NOM
    std::string poste;         // --poste NOM
    std::string user;          // --mqtt-utilisateur NOM
    std::string passwordFile;  // --mqtt-mdp FICHIER: never the password itself
    std::string caFile;        // --mqtt-ca FICHIER
};

// Their long names, without the dashes; each takes a value.
inline constexpr std::array<const char*, 6> kMqttOptionNames = {"mqtt",     "salle",  "poste", "mqtt-utilisateur",
                                                                "mqtt-mdp", "mqtt-ca"};

// One of them by its long name; "" when kept, else why not (Latin-1).
std::string TakeMqttOption(const std::string& name, const std::string& value, MqttOptions& options);
// A command line of these options only ("--mqtt hote", "--mqtt=hote"), as a
// panel has; "" when read, else why not (Latin-1), naming the program.
std::string ParseMqttOptions(const std::vector<std::string>& args, const std::string& program, MqttOptions& options);

// An entry of the profile's section "MQTT" ("HOTE", "PORT", "SALLE", "POSTE",
// "UTILISATEUR", "MOTDEPASSE", "CA"), "" when missing.
using ProfileEntry = std::function<std::string(const std::string& entry)>;

// Who connects: a place names its room; the room view may watch every room ("" salle).
enum class MqttRole { Place, RoomView };

// The profile first, the command line over it; the password read from its
// file; the place named after the host when not given. "" when the settings
// are usable (publishing may still be off: no host), else why not (Latin-1).
std::string ResolveMqttSettings(const MqttOptions& given, const ProfileEntry& profile, MqttSettings& settings,
                                MqttRole role = MqttRole::Place);

// The options' lines for a program's --help, French (Latin-1).
std::string MqttOptionsHelp();

}  // namespace net
