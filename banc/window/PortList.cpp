#include "window/PortList.h"

#include <QSerialPortInfo>

#include <tarvic/platform/SerialPort.h>

#include "window/Latin1.h"

namespace banc::window {

std::vector<PortEntry> PortEntries(const std::vector<SerialDevice>& devices)
{
    std::vector<PortEntry> entries;
    for (const auto& device : devices) {
        const std::string name = tarvic::SerialPort::PortName(device.path);
        PortEntry entry{name.empty() ? device.path : name, {}};
        entry.label = name.empty() ? device.path : name + " : " + device.path;
        if (!device.description.empty()) entry.label += ", " + device.description;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<SerialDevice> PresentDevices()
{
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back({info.systemLocation().toStdString(), Latin1(info.description())});
    return devices;
}

}  // namespace banc::window
