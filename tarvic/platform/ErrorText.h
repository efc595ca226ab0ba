#pragma once

#include <string>

#include "tarvic/platform/Export.h"
#include "tarvic/platform/FileError.h"

// Why a serial port could not be used, worded in French (Latin-1) from the
// errno the failed call left: one table for every program, with the files'
// reasons of FileError.h.
namespace tarvic {

// Why the port cannot be used, as a whole sentence without its full stop:
// "Port COM33 (/dev/ttyUSB0) introuvable", "Port X occup\xE9 par un autre
// programme (cardsim, pid 12)", "Acc\xE8s refus\xE9 \xE0 X : ajoutez l'utilisateur
// au groupe dialout". `label` goes in as it is, where the port is named.
TARVIC_EXPORT std::string PortErrorText(int error, const std::string& port, const std::string& label);
// The same with the port's label: "COM33 (/dev/ttyUSB0)" for a mapped name, the name alone otherwise.
TARVIC_EXPORT std::string PortErrorText(int error, const std::string& port);
TARVIC_EXPORT std::string PortLabel(const std::string& port);

// The group whose members may open the device, for the advice to join it:
// "dialout" when it cannot be told, or when the device is root's.
TARVIC_EXPORT std::string DeviceGroup(const std::string& device);

}  // namespace tarvic
