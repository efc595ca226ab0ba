#include "salle/SalleArguments.h"

#include <QCommandLineParser>

#include <tarvic/Version.h>

#include <vector>

#include "window/Latin1.h"
#include "window/RefusedArgument.h"

namespace salle {
namespace {

using banc::window::Latin1;
using banc::window::Q;

constexpr const char* kProgram = "tarvic-salle";
// As the console's.
constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;
// A silence under two of the benches' measures (2 a second) would grey a bench that is fine.
constexpr int kShortestSilence = 2, kLongestSilence = 3600;

QString HelpText()
{
    return Q(
        "Usage : tarvic-salle [OPTION]...\n"
        "La vue de la salle : chaque banc et chaque station qui publie sur le courtier MQTT,\n"
        "son \xE9tat, ses mesures et son dernier essai ; Arr\xEAter, Message et Tout arr\xEAter.\n"
        "Les essais re\xE7us sont gard\xE9s dans l'historique de la salle.\n"
        "\n"
        "Options :\n"
        "  --mqtt HOTE[:PORT]       le courtier de la salle (1883, 8883 avec --mqtt-ca)\n"
        "  --salle NOM              la salle \xE0 suivre\n"
        "  --toutes-salles          suit toutes les salles du courtier\n"
        "  --poste NOM              le nom de cette vue sur le courtier (par d\xE9" "faut : la machine)\n"
        "  --mqtt-utilisateur NOM   le compte de l'enseignant sur le courtier\n"
        "  --mqtt-mdp FICHIER       le fichier dont la premi\xE8re ligne est le mot de passe\n"
        "  --mqtt-ca FICHIER        chiffre la liaison (TLS) et v\xE9rifie le courtier avec cette autorit\xE9\n"
        "  --historique FICHIER     garde les essais re\xE7us dans cette base plut\xF4t que dans\n"
        "                           ~/.local/share/tarvic/salle.sqlite\n"
        "  --silence SECONDES       un banc en essai muet plus longtemps passe en gris (10 s)\n"
        "  -h, --help               affiche cette aide et quitte\n"
        "  -v, --version            affiche la version et quitte\n"
        "et celles de Qt : -platform NOM, -style NOM, -geometry LxH+X+Y...\n"
        "\n"
        "Le profil ~/.config/tarvic/tarvic-salle.ini peut donner le courtier (section MQTT :\n"
        "HOTE, PORT, SALLE, POSTE, UTILISATEUR, MOTDEPASSE, CA) ; la ligne de commande l'emporte.\n"
        "Voir aussi : man tarvic-salle.\n");
}

QString VersionText() { return QStringLiteral("tarvic-salle " TARVIC_VERSION_STRING "\n"); }

ArgumentsAnswer Refusal(const QString& why)
{
    ArgumentsAnswer answer;
    answer.exitStatus = kExitUsage;
    answer.errors = QStringLiteral("%1 : %2 (voir %1 --help).\n").arg(QString::fromLatin1(kProgram), why);
    return answer;
}

}  // namespace

ArgumentsAnswer AnswerArguments(const QStringList& arguments, bool qtOptionsTaken, const net::ProfileEntry& profile)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption history(QStringLiteral("historique"), {}, QStringLiteral("FICHIER"));
    const QCommandLineOption silence(QStringLiteral("silence"), {}, QStringLiteral("SECONDES"));
    const QCommandLineOption everyRoom(QStringLiteral("toutes-salles"), {});
    parser.addOptions({help, version, history, silence, everyRoom});
    std::vector<QCommandLineOption> network;
    for (const char* name : net::kMqttOptionNames) {
        network.emplace_back(QString::fromLatin1(name), QString(), QStringLiteral("VALEUR"));
        parser.addOption(network.back());
    }
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) return {kExitDone, HelpText(), {}, {}, {}, {}};
    if (parser.isSet(version)) return {kExitDone, VersionText(), {}, {}, {}, {}};
    if (!qtOptionsTaken) return {};
    if (!parsed || !parser.positionalArguments().isEmpty())
        return Refusal(banc::window::RefusedArgument(parser, arguments));

    ArgumentsAnswer answer;
    answer.historyPath = parser.value(history).toLocal8Bit().toStdString();
    if (parser.isSet(silence)) {
        bool number = false;
        const int seconds = parser.value(silence).toInt(&number);
        if (!number || seconds < kShortestSilence || seconds > kLongestSilence)
            return Refusal(Q("--silence attend un nombre de secondes de %1 \xE0 %2, pas %3")
                               .arg(kShortestSilence)
                               .arg(kLongestSilence)
                               .arg(parser.value(silence)));
        answer.silence = std::chrono::seconds(seconds);
    }
    net::MqttOptions given;
    for (const QCommandLineOption& option : network) {
        if (!parser.isSet(option)) continue;
        const QString name = option.names().front();
        // Files are named in the file system's encoding, the rest are texts.
        const bool file = name == QStringLiteral("mqtt-mdp") || name == QStringLiteral("mqtt-ca");
        const std::string value =
            file ? parser.value(option).toLocal8Bit().toStdString() : Latin1(parser.value(option));
        if (std::string why = net::TakeMqttOption(Latin1(name), value, given); !why.empty()) return Refusal(Q(why));
    }
    const bool every = parser.isSet(everyRoom);
    if (every && !given.salle.empty()) return Refusal(Q("--salle et --toutes-salles s'excluent"));
    if (every && given.broker.empty() && (!profile || profile("HOTE").empty()))
        return Refusal(Q("--toutes-salles demande --mqtt HOTE (ou l'entr\xE9" "e HOTE du profil)"));
    // Watching every room names none; the shared reading wants one, given
    // here and dropped once the rest is read.
    if (every) given.salle = "toutes";
    if (std::string why = net::ResolveMqttSettings(given, profile, answer.settings); !why.empty())
        return Refusal(Q(why));
    if (every) answer.settings.poste.salle.clear();
    return answer;
}

}  // namespace salle
