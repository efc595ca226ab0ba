#include "net/MqttOptions.h"

#include <unistd.h>

#include <climits>
#include <fstream>

namespace net {
namespace {

constexpr int kTlsPort = 8883;

std::string* Field(const std::string& name, MqttOptions& options)
{
    if (name == "mqtt") return &options.broker;
    if (name == "salle") return &options.salle;
    if (name == "poste") return &options.poste;
    if (name == "mqtt-utilisateur") return &options.user;
    if (name == "mqtt-mdp") return &options.passwordFile;
    if (name == "mqtt-ca") return &options.caFile;
    return nullptr;
}

std::string HostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

// The given value, else the profile's.
std::string Either(const std::string& given, const ProfileEntry& profile, const char* entry)
{
    return given.empty() && profile ? profile(entry) : given;
}

// Where a value came from, for the message that refuses it.
std::string Source(const std::string& given, const char* option, const char* entry)
{
    return given.empty() ? std::string("Profil, section MQTT, entr\xE9" "e ") + entry : std::string("--") + option;
}

std::string ResolveBroker(const MqttOptions& given, const ProfileEntry& profile, MqttSettings& settings)
{
    const std::string broker = Either(given.broker, profile, "HOTE");
    if (broker.empty()) return {};
    const std::string port = given.broker.empty() && profile ? profile("PORT") : std::string();
    MqttSettings parsed;
    parsed.port = 0;  // so that a port not given shows
    if (std::string error = ParseBroker(broker, parsed); !error.empty())
        return Source(given.broker, "mqtt", "HOTE") + " : " + error;
    if (parsed.port == 0 && !port.empty()) {
        const bool ipv6 = parsed.host.find(':') != std::string::npos;
        const std::string host = ipv6 ? "[" + parsed.host + "]" : parsed.host;
        if (std::string error = ParseBroker(host + ":" + port, parsed); !error.empty())
            return "Profil, section MQTT, entr\xE9" "e PORT : \xAB " + port +
                   " \xBB n'est pas un port (de 1 \xE0 65535).";
    }
    settings.host = parsed.host;
    settings.port = parsed.port;
    return {};
}

std::string ResolveName(const std::string& given, const ProfileEntry& profile, const char* option, const char* entry,
                        std::string& name)
{
    name = Either(given, profile, entry);
    if (std::string why = CheckName(name); !why.empty()) return Source(given, option, entry) + " : " + why;
    return {};
}

}  // namespace

std::string TakeMqttOption(const std::string& name, const std::string& value, MqttOptions& options)
{
    std::string* field = Field(name, options);
    if (!field) return "Option inconnue : --" + name + ".";
    if (!field->empty()) return "--" + name + " est donn\xE9 deux fois.";
    if (value.empty()) return "--" + name + " : la valeur est vide.";
    *field = value;
    return {};
}

std::string ParseMqttOptions(const std::vector<std::string>& args, const std::string& program, MqttOptions& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2)
            return "Argument inattendu : " + arg + " (voir " + program + " --help).";
        std::string name = arg.substr(2);
        std::string value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else {
            if (!Field(name, options)) return "Option inconnue : " + arg + " (voir " + program + " --help).";
            if (i + 1 >= args.size()) return "L'option " + arg + " demande une valeur.";
            value = args[++i];
        }
        if (!Field(name, options)) return "Option inconnue : --" + name + " (voir " + program + " --help).";
        if (std::string error = TakeMqttOption(name, value, options); !error.empty()) return error;
    }
    return {};
}

std::string ResolveMqttSettings(const MqttOptions& given, const ProfileEntry& profile, MqttSettings& settings,
                                MqttRole role)
{
    MqttSettings resolved;
    resolved.bufferBound = settings.bufferBound;
    resolved.port = 0;
    if (std::string error = ResolveBroker(given, profile, resolved); !error.empty()) return error;
    if (!resolved.On()) {
        const bool others = !given.salle.empty() || !given.poste.empty() || !given.user.empty() ||
                            !given.passwordFile.empty() || !given.caFile.empty();
        if (others)
            return "Les options --salle, --poste et --mqtt-* demandent --mqtt HOTE (ou l'entr\xE9" "e HOTE du profil).";
        settings = resolved;
        settings.port = MqttSettings().port;
        return {};
    }
    const bool everyRoom = Either(given.salle, profile, "SALLE").empty();
    if (everyRoom && role == MqttRole::Place) return "--salle manque : le nom de la salle est requis avec --mqtt.";
    if (std::string error = ResolveName(given.salle, profile, "salle", "SALLE", resolved.poste.salle);
        !everyRoom && !error.empty())
        return error;
    if (!given.poste.empty() || (profile && !profile("POSTE").empty())) {
        if (std::string error = ResolveName(given.poste, profile, "poste", "POSTE", resolved.poste.poste);
            !error.empty())
            return error;
    } else {
        resolved.poste.poste = HostName();
        if (std::string why = CheckName(resolved.poste.poste); !why.empty())
            return "Le nom de la machine ne convient pas comme poste (" + why + ") : donnez --poste.";
    }
    resolved.user = Either(given.user, profile, "UTILISATEUR");
    if (!given.passwordFile.empty()) {
        if (std::string error = ReadPasswordFile(given.passwordFile, resolved.password); !error.empty())
            return "--mqtt-mdp : " + error;
    } else if (profile) {
        resolved.password = profile("MOTDEPASSE");
    }
    if (!resolved.password.empty() && resolved.user.empty())
        return "Un mot de passe MQTT est donn\xE9 sans utilisateur : donnez --mqtt-utilisateur.";
    resolved.caFile = Either(given.caFile, profile, "CA");
    if (!resolved.caFile.empty() && !std::ifstream(resolved.caFile))
        return Source(given.caFile, "mqtt-ca", "CA") + " : fichier illisible : " + resolved.caFile + ".";
    if (resolved.port == 0) resolved.port = resolved.caFile.empty() ? MqttSettings().port : kTlsPort;
    settings = resolved;
    return {};
}

std::string MqttOptionsHelp()
{
    return "Salle de travaux pratiques (MQTT) :\n"
           "  --mqtt HOTE[:PORT]       publie l'\xE9tat du poste sur ce courtier (1883, 8883 avec --mqtt-ca)\n"
           "  --salle NOM              la salle, requise avec --mqtt\n"
           "  --poste NOM              le poste dans la salle (par d\xE9" "faut : le nom de la machine)\n"
           "  --mqtt-utilisateur NOM   le compte sur le courtier\n"
           "  --mqtt-mdp FICHIER       le fichier dont la premi\xE8re ligne est le mot de passe\n"
           "  --mqtt-ca FICHIER        chiffre la liaison (TLS) et v\xE9rifie le courtier avec cette autorit\xE9\n"
           "Le profil peut les donner (section MQTT : HOTE, PORT, SALLE, POSTE, UTILISATEUR, MOTDEPASSE, CA) ;\n"
           "la ligne de commande l'emporte.\n";
}

}  // namespace net
