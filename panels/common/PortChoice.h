#pragma once

#include <string>

#include <QString>

namespace tarvic {
class Profile;
}

// Stores a chosen port: the profile's "CONFIGURATION"/"PORT", then the card's
// port record. Empty when both were written; otherwise what went wrong, in
// French, and nothing half-saved: when the record fails, the profile gets back
// its previous port (or `portEnCours`, the one in use, where it had none).
QString SavePortChoice(tarvic::Profile& profile, const std::string& port, const std::string& portEnCours);

// A port name for Qt and back: a device path in the file-name encoding, any
// other name (COMn) in Latin-1.
QString PortToQt(const std::string& port);
std::string PortFromQt(const QString& port);
