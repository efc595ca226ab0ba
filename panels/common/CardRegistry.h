#pragma once

#include <string>

// The machine-level store that stands for the registry key
// "SOFTWARE\\Halvo\\N_PLEX\\CARTE": an INI file with that section, where the
// panels leave the card's port digit for a controlling application.
namespace CardRegistry {

inline constexpr char kSection[] = "SOFTWARE\\Halvo\\N_PLEX\\CARTE";
inline constexpr char kCardPort[] = "RV31";

// $TARVIC_REGISTRY_FILE when set; otherwise /etc/tarvic/registry.ini when it
// can be written, else the per-user ${XDG_CONFIG_HOME:-~/.config}/tarvic/registry.ini.
std::string Path();

// The fourth character of the port name: "COM3" gives "3", "COM12" only "1",
// a device path whatever stands fourth ("/dev/pts/4" gives "v"), and a name
// shorter than four characters "".
std::string CardPortValue(const std::string& portName);

// False when the store could not be written; the old value then stays.
bool WriteCardPort(const std::string& portName);

}  // namespace CardRegistry
