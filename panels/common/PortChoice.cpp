#include "PortChoice.h"

#include <cerrno>
#include <cstring>

#include <QFile>

#include "CardRegistry.h"
#include "tarvic/platform/Profile.h"

namespace {

constexpr char kSection[] = "CONFIGURATION";
constexpr char kEntry[] = "PORT";
constexpr char kAbsent[] = "\x01";  // no port name can hold it

QString Latin1(const char* text) { return QString::fromLatin1(text); }

QString WriteFailure(int error)
{
    switch (error) {
    case EROFS: return Latin1("syst\xE8me de fichiers en lecture seule");
    case ENOSPC: return Latin1("disque plein");
    case EDQUOT: return Latin1("quota d\xE9pass\xE9");
    case EACCES:
    case EPERM: return Latin1("acc\xE8s refus\xE9");
    case ENOENT:
    case ENOTDIR: return Latin1("dossier introuvable");
    case 0: return Latin1("\xE9" "criture refus\xE9" "e");
    default: break;
    }
    const char* name = ::strerrorname_np(error);
    return name ? Latin1(name) : QString::number(error);
}

}  // namespace

QString SavePortChoice(tarvic::Profile& profile, const std::string& port, const std::string& portEnCours)
{
    const std::string previous = profile.GetProfileString(kSection, kEntry, kAbsent);
    errno = 0;
    if (!profile.WriteProfileString(kSection, kEntry, port))
        return Latin1("Impossible d'enregistrer le port dans le profil du programme : %1").arg(WriteFailure(errno));
    errno = 0;
    if (!CardRegistry::WriteCardPort(port)) {
        const int error = errno;
        profile.WriteProfileString(kSection, kEntry, previous == kAbsent ? portEnCours : previous);
        return Latin1("Impossible d'enregistrer le port de la carte dans %1 : %2")
            .arg(QFile::decodeName(CardRegistry::Path().c_str()), WriteFailure(error));
    }
    return {};
}

QString PortToQt(const std::string& port)
{
    if (port.find('/') != std::string::npos) return QFile::decodeName(port.c_str());
    return QString::fromLatin1(port);
}

std::string PortFromQt(const QString& port)
{
    if (port.contains(QLatin1Char('/'))) return QFile::encodeName(port).toStdString();
    return port.toLatin1().toStdString();
}
