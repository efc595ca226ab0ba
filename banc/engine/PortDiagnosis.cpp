#include "engine/PortDiagnosis.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <tarvic/platform/SerialPort.h>
#include <tarvic/platform/Text.h>

#include <cerrno>
#include <cstring>

namespace banc {
namespace {

// The serial port's own open failed: open the device again only to learn why.
int ProbeError(const std::string& device)
{
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    if (!::isatty(fd))
        error = ENOTTY;
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = EBUSY;  // held by another program of ours
    ::close(fd);
    return error;
}

}  // namespace

std::string PortFailureText(const std::string& port, const std::string& device, int error)
{
    const std::string name = port == device ? port : port + " (" + device + ")";
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return tarvic::Format("Le port %s n'existe pas : la carte est-elle branch\xE9" "e ?", name.c_str());
    case EBUSY:
    case EWOULDBLOCK:
        return tarvic::Format("Le port %s est d\xE9j\xE0 utilis\xE9 par un autre programme.", name.c_str());
    case EACCES:
    case EPERM:
        return tarvic::Format("Pas le droit d'ouvrir le port %s : ajoutez l'utilisateur au groupe dialout "
                              "(sudo adduser $USER dialout), puis ouvrez une nouvelle session.",
                              name.c_str());
    case ENOTTY:
        return tarvic::Format("%s n'est pas une liaison s\xE9rie.", name.c_str());
    default:
        return tarvic::Format("Impossible d'ouvrir le port %s : %s.", name.c_str(), std::strerror(error));
    }
}

std::string PortFailure(const std::string& port)
{
    const std::string device = tarvic::SerialPort::DevicePath(port);
    if (device.empty())
        return tarvic::Format("Nom de port inconnu : %s (COM1 \xE0 COM96 ou un chemin comme /dev/ttyUSB0).",
                              port.c_str());
    const int error = ProbeError(device);
    // The probe opened what the port could not: it was taken in between, or refused its settings.
    return PortFailureText(port, device, error == 0 ? EBUSY : error);
}

}  // namespace banc
