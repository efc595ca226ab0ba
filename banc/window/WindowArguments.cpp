#include "window/WindowArguments.h"

#include <QCommandLineParser>

#include <cstdio>
#include <vector>

#include <tarvic/Version.h>
#include <tarvic/platform/IniProfile.h>

#include "window/Latin1.h"
#include "window/RefusedArgument.h"

namespace banc::window {
namespace {

constexpr const char* kProgram = "tarvic-banc-fenetre";
// As tarvic-banc's.
constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;

QString HelpText()
{
    return Q("Usage : tarvic-banc-fenetre [OPTION]...\n"
             "La console des bancs d'automatique dans une fen\xEAtre : le banc et son mode, la carte\n"
             "(simul\xE9" "e ou sur un port s\xE9rie), l'essai, ses courbes et ses fichiers.\n"
             "\n"
             "Options :\n"
             "  --historique FICHIER  garde les essais dans cette base plut\xF4t que dans\n"
             "                        ~/.local/share/tarvic/essais.sqlite\n"
             "  --etudiant NOM        le nom sous lequel les essais sont gard\xE9s, plut\xF4t que\n"
             "                        celui de la session\n"
             "  -h, --help            affiche cette aide et quitte\n"
             "  -v, --version         affiche la version et quitte\n"
             "et celles de Qt : -platform NOM, -style NOM, -geometry LxH+X+Y...\n"
             "\n") +
           QString::fromLatin1(net::MqttOptionsHelp()) +
           Q("\n"
             "Les choix de la fen\xEAtre sont dans ~/.config/tarvic/tarvic-banc-fenetre.ini, les r\xE9glages\n"
             "des bancs dans ~/.config/tarvic/tarvic-banc-BANC.ini, partag\xE9s avec tarvic-banc.\n"
             "Voir aussi : tarvic-banc --help, man tarvic-banc-fenetre ; F1 dans la fen\xEAtre.\n");
}

QString VersionText() { return QStringLiteral("tarvic-banc-fenetre " TARVIC_VERSION_STRING "\n"); }

}  // namespace

ArgumentsAnswer AnswerArguments(const QStringList& arguments, bool qtOptionsTaken)
{
    QCommandLineParser parser;
    // "-platform" is Qt's option, not -p -l -a...: one dash names a whole option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption history(QStringLiteral("historique"), {}, QStringLiteral("FICHIER"));
    const QCommandLineOption student(QStringLiteral("etudiant"), {}, QStringLiteral("NOM"));
    parser.addOptions({help, version, history, student});
    std::vector<QCommandLineOption> room;
    for (const char* name : net::kMqttOptionNames) room.emplace_back(QString::fromLatin1(name), QString(), Q("VALEUR"));
    for (const QCommandLineOption& option : room) parser.addOption(option);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) return {kExitDone, HelpText(), {}, {}, {}, {}};
    if (parser.isSet(version)) return {kExitDone, VersionText(), {}, {}, {}, {}};
    if (!qtOptionsTaken) return {};
    if (!parsed || !parser.positionalArguments().isEmpty())
        return {kExitUsage,
                {},
                QStringLiteral("%1 : %2 (voir %1 --help).\n")
                    .arg(QString::fromLatin1(kProgram), RefusedArgument(parser, arguments)),
                {},
                {},
                {}};
    ArgumentsAnswer answer{{}, {}, {}, parser.value(history).toLocal8Bit().toStdString(), Latin1(parser.value(student)),
                           {}};
    for (const QCommandLineOption& option : room) {
        const QString name = option.names().front();
        // Each value, so that one given twice is refused as on the other programs' command lines.
        for (const QString& value : parser.values(option)) {
            // Files are named in the file system's encoding, the rest are texts.
            const std::string given =
                name == Q("mqtt-mdp") || name == Q("mqtt-ca") ? value.toLocal8Bit().toStdString() : Latin1(value);
            if (std::string error = net::TakeMqttOption(Latin1(name), given, answer.mqtt); !error.empty())
                return {kExitUsage, {}, QString::fromLatin1(kProgram) + Q(" : " + error + "\n"), {}, {}, {}};
        }
    }
    return answer;
}

net::MqttSettings RoomSettings(const net::MqttOptions& given)
{
    tarvic::IniProfile profile(tarvic::DefaultProfilePath(kProgram));
    const net::ProfileEntry entry = [&profile](const std::string& key) {
        return profile.GetProfileString("MQTT", key, "");
    };
    net::MqttSettings settings;
    if (std::string error = net::ResolveMqttSettings(given, entry, settings); !error.empty()) {
        std::fprintf(stderr, "%s : %s\n", kProgram,
                     Q(error + " La fen\xEAtre n'est pas publi\xE9" "e vers la salle.").toLocal8Bit().constData());
        return {};
    }
    return settings;
}

}  // namespace banc::window
