#include "tarvic/platform/ErrorText.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "tarvic/platform/FileError.h"
#include "tarvic/platform/SerialPort.h"
#include "tarvic/platform/Text.h"

namespace tarvic {
namespace {

std::string Busy(const std::string& port, const std::string& label)
{
    std::string text = Format("Port %s occup\xE9 par un autre programme", label.c_str());
    if (const auto holder = SerialPort::FindHolder(port))
        text += Format(" (%s, pid %d)", holder->program.c_str(), holder->pid);
    return text;
}

}  // namespace

std::string PortErrorText(int error, const std::string& port, const std::string& label)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return Format("Port %s introuvable", label.c_str());
    case EACCES:
    case EPERM:
        return Format("Acc\xE8s refus\xE9 \xE0 %s : ajoutez l'utilisateur au groupe %s", label.c_str(),
                      DeviceGroup(SerialPort::DevicePath(port)).c_str());
    case EBUSY:
    case EWOULDBLOCK: return Busy(port, label);
    case ENOTTY:
    case EISDIR: return Format("%s n'est pas un port s\xE9rie", label.c_str());
    case EINVAL: return Format("Impossible de configurer le port %s", label.c_str());
    case EIO: return Format("Erreur d'entr\xE9" "e-sortie sur le port %s", label.c_str());
    case 0: return Format("Port %s inaccessible", label.c_str());  // its open never ended
    default: return Format("Port %s inaccessible (%s)", label.c_str(), ErrorName(error).c_str());
    }
}

std::string PortErrorText(int error, const std::string& port) { return PortErrorText(error, port, PortLabel(port)); }

std::string PortLabel(const std::string& port)
{
    const std::string device = SerialPort::DevicePath(port);
    if (device.empty() || device == port) return port;
    return port + " (" + device + ")";
}

std::string DeviceGroup(const std::string& device)
{
    struct stat info{};
    if (::stat(device.c_str(), &info) == 0 && info.st_gid != 0) {
        group entry{};
        group* found = nullptr;
        std::vector<char> buffer(4096);
        if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
            return found->gr_name;
    }
    return "dialout";
}

}  // namespace tarvic
