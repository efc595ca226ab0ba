#pragma once

#include <string>

#include "Topics.h"

namespace net {

// Where and how a program reaches the broker. Publishing is off unless a host is given.
struct MqttSettings {
    std::string host;        // "" off
    int port = 1883;         // 8883 by default when a CA file is given
    Poste poste;             // salle required when on; poste defaults to the host name
    std::string user;        // "" anonymous
    std::string password;    // read from the password file or the profile, never from the command line
    std::string caFile;      // "" plain TCP; else TLS checked against this CA
    int bufferBound = 1000;  // messages kept while the broker is away; the oldest go first
    bool On() const { return !host.empty(); }
};

// "HOTE" or "HOTE:PORT" into host and port; "" when read, else why not (Latin-1).
std::string ParseBroker(const std::string& text, MqttSettings& settings);
// The first line of a password file; "" when read, else why not, naming the file.
std::string ReadPasswordFile(const std::string& path, std::string& password);

}  // namespace net
