#include "PortStatus.h"

#include "PortChoice.h"
#include "tarvic/platform/ErrorText.h"
#include "tarvic/platform/SerialPort.h"

QString PortLabel(const std::string& port)
{
    const std::string device = tarvic::SerialPort::DevicePath(port);
    if (device.empty() || device == port) return PortToQt(port);
    return QStringLiteral("%1 (%2)").arg(PortToQt(port), PortToQt(device));
}

QString PortStatusText(const std::string& port, int error)
{
    // The library's wording with a place for the label: a device path is a
    // file name, read in the file-name encoding rather than as Latin-1.
    return QString::fromLatin1(tarvic::PortErrorText(error, port, "%1").c_str()).arg(PortLabel(port));
}
