#pragma once

#include <string>
#include <vector>

namespace banc::window {

// A serial device of the machine as the system lists it.
struct SerialDevice {
    std::string path;         // /dev/ttyUSB0
    std::string description;  // what the system says of it, may be empty
};

// One line of the port dialog: the name to give the card, and what the user reads.
struct PortEntry {
    std::string name;   // COMn for the devices of the fixed naming, the device path for the others
    std::string label;  // "COM33 : /dev/ttyUSB0, FT232R USB UART" (Latin-1)
};

// The entries for the devices present, in the system's order.
std::vector<PortEntry> PortEntries(const std::vector<SerialDevice>& devices);

// The machine's serial devices now.
std::vector<SerialDevice> PresentDevices();

}  // namespace banc::window
