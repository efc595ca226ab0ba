#include "PanelArguments.h"

#include <tarvic/Version.h>

#include "net/MqttOptions.h"
#include "tarvic/platform/Profile.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;

std::string HelpText(const PanelVariant& variant)
{
    const std::string name = variant.name;
    return "Usage : " + name +
           " [OPTION]...\n"
           "Le panneau de la station " +
           name +
           " : les entr\xE9" "es de la carte en voyants, ses sorties en cases\n"
           "\xE0 cocher. Le port est celui du profil (~/.config/tarvic/" +
           name +
           ".ini), choisi par le bouton Port.\n"
           "\n" +
           net::MqttOptionsHelp() +
           "\n"
           "  -h, --help               affiche cette aide et quitte\n"
           "  -v, --version            affiche la version et quitte\n"
           "et celles de Qt : -platform NOM, -style NOM...\n";
}

bool Asked(const std::vector<std::string>& args, const char* shortName, const char* longName)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == shortName || args[i] == longName) return true;
    return false;
}

}  // namespace

PanelArguments AnswerHelp(const std::vector<std::string>& args, const PanelVariant& variant)
{
    PanelArguments answer;
    if (Asked(args, "-h", "--help")) {
        answer.exitStatus = kExitDone;
        answer.output = HelpText(variant);
    } else if (Asked(args, "-v", "--version")) {
        answer.exitStatus = kExitDone;
        answer.output = std::string(variant.name) + " " TARVIC_VERSION_STRING "\n";
    }
    return answer;
}

PanelArguments ReadPanelArguments(const std::vector<std::string>& args, const PanelVariant& variant,
                                  tarvic::Profile& profile)
{
    PanelArguments answer = AnswerHelp(args, variant);
    if (answer.exitStatus) return answer;
    const std::string name = variant.name;
    net::MqttOptions options;
    const std::vector<std::string> given(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (std::string error = net::ParseMqttOptions(given, name, options); !error.empty()) {
        answer.exitStatus = kExitUsage;
        answer.errors = name + " : " + error + "\n";
        return answer;
    }
    const net::ProfileEntry entry = [&profile](const std::string& key) {
        return profile.GetProfileString("MQTT", key, "");
    };
    if (std::string error = net::ResolveMqttSettings(options, entry, answer.mqtt); !error.empty()) {
        answer.mqtt = {};
        answer.errors = name + " : " + error + " Le panneau n'est pas publi\xE9 vers la salle.\n";
    }
    return answer;
}
