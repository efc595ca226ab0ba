#include "PortChoice.h"

#include <cerrno>

#include <QFile>

#include "CardRegistry.h"
#include "tarvic/platform/ErrorText.h"
#include "tarvic/platform/Profile.h"

namespace {

constexpr char kSection[] = "CONFIGURATION";
constexpr char kEntry[] = "PORT";
constexpr char kAbsent[] = "\x01";  // no port name can hold it

QString Latin1(const char* text) { return QString::fromLatin1(text); }

QString WriteFailure(int error)
{
    return QString::fromLatin1(tarvic::FileErrorReason(error, tarvic::FileUse::Write).c_str());
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
