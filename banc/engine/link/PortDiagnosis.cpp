#include "engine/link/PortDiagnosis.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/SerialPort.h>
#include <tarvic/platform/Text.h>

namespace banc {

std::string PortFailure(const std::string& port, int error)
{
    if (tarvic::SerialPort::DevicePath(port).empty())
        return tarvic::Format("Nom de port inconnu : %s (COM1 \xE0 COM96 ou un chemin comme /dev/ttyUSB0).",
                              port.c_str());
    return tarvic::PortErrorText(error, port) + ".";
}

}  // namespace banc
