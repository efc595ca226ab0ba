#include "PortStatus.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <QFile>

#include "PortChoice.h"
#include "tarvic/platform/SerialPort.h"

namespace {

QString Latin1(const char* text) { return QString::fromLatin1(text); }

// The group that may open the device, for the advice to join it (root's is no advice).
QString DeviceGroup(const std::string& device)
{
    struct stat info{};
    if (::stat(device.c_str(), &info) == 0) {
        group entry{};
        group* found = nullptr;
        std::vector<char> buffer(4096);
        if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && info.st_gid != 0)
            return QFile::decodeName(found->gr_name);
    }
    return QStringLiteral("dialout");
}

QString BusyText(const std::string& port, const QString& label)
{
    QString text = Latin1("Port %1 occup\xE9 par un autre programme").arg(label);
    if (const auto holder = tarvic::SerialPort::FindHolder(port))
        text += QStringLiteral(" (%1, pid %2)").arg(QFile::decodeName(holder->program.c_str())).arg(holder->pid);
    return text;
}

}  // namespace

QString PortLabel(const std::string& port)
{
    const std::string device = tarvic::SerialPort::DevicePath(port);
    if (device.empty() || device == port) return PortToQt(port);
    return QStringLiteral("%1 (%2)").arg(PortToQt(port), PortToQt(device));
}

QString PortStatusText(const std::string& port, int error)
{
    const QString label = PortLabel(port);
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return Latin1("Port %1 introuvable").arg(label);
    case EACCES:
    case EPERM:
        return Latin1("Acc\xE8s refus\xE9 \xE0 %1 : ajoutez l'utilisateur au groupe %2")
            .arg(label, DeviceGroup(tarvic::SerialPort::DevicePath(port)));
    case EBUSY:
        return BusyText(port, label);
    case ENOTTY:
    case EISDIR:
        return Latin1("%1 n'est pas un port s\xE9rie").arg(label);
    case EINVAL:
        return Latin1("Impossible de configurer le port %1").arg(label);
    case EIO:
        return Latin1("Erreur d'entr\xE9" "e-sortie sur le port %1").arg(label);
    default:
        break;
    }
    const char* name = ::strerrorname_np(error);  // "EROFS": the same in every language
    return Latin1("Port %1 inaccessible (%2)").arg(label, name ? Latin1(name) : QString::number(error));
}
