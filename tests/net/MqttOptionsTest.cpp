#include <unistd.h>

#include <climits>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "net/MqttOptions.h"
#include "support/TempFolder.h"

namespace net {
namespace {

std::string HostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

ProfileEntry Profile(std::map<std::string, std::string> entries)
{
    return [entries](const std::string& entry) {
        const auto found = entries.find(entry);
        return found == entries.end() ? std::string() : found->second;
    };
}

MqttSettings Resolve(const MqttOptions& given, const ProfileEntry& profile, std::string& error)
{
    MqttSettings settings;
    error = ResolveMqttSettings(given, profile, settings);
    return settings;
}

TEST(BrokerAddress, HostAloneKeepsThePort)
{
    MqttSettings settings;
    EXPECT_EQ(ParseBroker("courtier.lycee.fr", settings), "");
    EXPECT_EQ(settings.host, "courtier.lycee.fr");
    EXPECT_EQ(settings.port, 1883);
}

TEST(BrokerAddress, HostAndPort)
{
    MqttSettings settings;
    EXPECT_EQ(ParseBroker("127.0.0.1:18830", settings), "");
    EXPECT_EQ(settings.host, "127.0.0.1");
    EXPECT_EQ(settings.port, 18830);
    EXPECT_EQ(ParseBroker("[::1]:8883", settings), "");
    EXPECT_EQ(settings.host, "::1");
    EXPECT_EQ(settings.port, 8883);
}

TEST(BrokerAddress, RefusalsSayWhy)
{
    MqttSettings settings;
    EXPECT_EQ(ParseBroker("hote:", settings), "Adresse du courtier invalide \xAB hote: \xBB : le port manque.");
    EXPECT_EQ(ParseBroker("hote:0", settings),
              "Adresse du courtier invalide \xAB hote:0 \xBB : le port va de 1 \xE0 65535.");
    EXPECT_EQ(ParseBroker("hote:65536", settings),
              "Adresse du courtier invalide \xAB hote:65536 \xBB : le port va de 1 \xE0 65535.");
    EXPECT_EQ(ParseBroker("hote:12a", settings),
              "Adresse du courtier invalide \xAB hote:12a \xBB : le port va de 1 \xE0 65535.");
    EXPECT_EQ(ParseBroker(":1883", settings),
              "Adresse du courtier invalide \xAB :1883 \xBB : le nom d'h\xF4te est vide.");
    EXPECT_EQ(ParseBroker("[::1", settings), "Adresse du courtier invalide \xAB [::1 \xBB : \xAB ] \xBB manque.");
    EXPECT_EQ(settings.host, "");  // nothing kept from a refused address
}

TEST(PasswordFile, FirstLineOnly)
{
    tarvic::test::TempFolder folder("mqtt-mdp");
    std::ofstream(folder / "mdp") << "s3cret\xE9\r\nautre ligne\n";
    std::string password;
    EXPECT_EQ(ReadPasswordFile(folder / "mdp", password), "");
    EXPECT_EQ(password, "s3cret\xE9");
}

TEST(PasswordFile, MissingOrEmptyFileNamed)
{
    tarvic::test::TempFolder folder("mqtt-mdp");
    std::ofstream(folder / "vide") << "\n";
    std::string password = "avant";
    EXPECT_EQ(ReadPasswordFile(folder / "absent", password),
              "Fichier de mot de passe illisible : " + (folder / "absent") + " (No such file or directory).");
    EXPECT_EQ(ReadPasswordFile(folder / "vide", password), "Fichier de mot de passe vide : " + (folder / "vide") + ".");
    EXPECT_EQ(password, "avant");
}

TEST(CommandLineOptions, ReadsEachWithItsValue)
{
    MqttOptions options;
    EXPECT_EQ(ParseMqttOptions({"--mqtt", "hote:1884", "--salle=B204", "--poste", "p1", "--mqtt-utilisateur", "p1",
                                "--mqtt-mdp", "/tmp/mdp", "--mqtt-ca=/tmp/ca.pem"},
                               "Varnok", options),
              "");
    EXPECT_EQ(options.broker, "hote:1884");
    EXPECT_EQ(options.salle, "B204");
    EXPECT_EQ(options.poste, "p1");
    EXPECT_EQ(options.user, "p1");
    EXPECT_EQ(options.passwordFile, "/tmp/mdp");
    EXPECT_EQ(options.caFile, "/tmp/ca.pem");
}

TEST(CommandLineOptions, RefusalsSayWhy)
{
    MqttOptions options;
    EXPECT_EQ(ParseMqttOptions({"--mqtt"}, "Varnok", options), "L'option --mqtt demande une valeur.");
    EXPECT_EQ(ParseMqttOptions({"--port", "x"}, "Varnok", options), "Option inconnue : --port (voir Varnok --help).");
    EXPECT_EQ(ParseMqttOptions({"--port=x"}, "Varnok", options), "Option inconnue : --port (voir Varnok --help).");
    EXPECT_EQ(ParseMqttOptions({"hote"}, "Varnok", options), "Argument inattendu : hote (voir Varnok --help).");
    EXPECT_EQ(ParseMqttOptions({"--salle", "a", "--salle", "b"}, "Varnok", options), "--salle est donn\xE9 deux fois.");
    MqttOptions fresh;
    EXPECT_EQ(ParseMqttOptions({"--poste="}, "Varnok", fresh), "--poste : la valeur est vide.");
}

TEST(ResolvedSettings, OffWithoutHost)
{
    std::string error;
    const MqttSettings settings = Resolve({}, Profile({{"SALLE", "B204"}}), error);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(settings.On());
}

TEST(ResolvedSettings, PlaceOptionsWithoutHostAreRefused)
{
    MqttOptions given;
    given.salle = "B204";
    std::string error;
    Resolve(given, Profile({}), error);
    EXPECT_EQ(error,
              "Les options --salle, --poste et --mqtt-* demandent --mqtt HOTE (ou l'entr\xE9" "e HOTE du profil).");
}

TEST(ResolvedSettings, FromTheProfile)
{
    tarvic::test::TempFolder folder("mqtt-profil");
    std::ofstream(folder / "ca.pem") << "certificat";
    std::string error;
    const MqttSettings settings = Resolve({},
                                          Profile({{"HOTE", "courtier"},
                                                   {"PORT", "8884"},
                                                   {"SALLE", "B204"},
                                                   {"POSTE", "poste07"},
                                                   {"UTILISATEUR", "poste07"},
                                                   {"MOTDEPASSE", "mdp"},
                                                   {"CA", folder / "ca.pem"}}),
                                          error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(settings.host, "courtier");
    EXPECT_EQ(settings.port, 8884);
    EXPECT_EQ(settings.poste.salle, "B204");
    EXPECT_EQ(settings.poste.poste, "poste07");
    EXPECT_EQ(settings.user, "poste07");
    EXPECT_EQ(settings.password, "mdp");
    EXPECT_EQ(settings.caFile, folder / "ca.pem");
}

TEST(ResolvedSettings, CommandLineWinsOverTheProfile)
{
    tarvic::test::TempFolder folder("mqtt-ligne");
    std::ofstream(folder / "mdp") << "du-fichier\n";
    MqttOptions given;
    given.broker = "autre:1999";
    given.salle = "C101";
    given.poste = "p2";
    given.user = "p2";
    given.passwordFile = folder / "mdp";
    std::string error;
    const MqttSettings settings = Resolve(given,
                                          Profile({{"HOTE", "courtier"},
                                                   {"PORT", "8884"},
                                                   {"SALLE", "B204"},
                                                   {"POSTE", "poste07"},
                                                   {"UTILISATEUR", "poste07"},
                                                   {"MOTDEPASSE", "du-profil"}}),
                                          error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(settings.host, "autre");
    EXPECT_EQ(settings.port, 1999);
    EXPECT_EQ(settings.poste.salle, "C101");
    EXPECT_EQ(settings.poste.poste, "p2");
    EXPECT_EQ(settings.user, "p2");
    EXPECT_EQ(settings.password, "du-fichier");
}

TEST(ResolvedSettings, DefaultsToTheHostNameAndThePlainOrTlsPort)
{
    MqttOptions given;
    given.broker = "courtier";
    given.salle = "B204";
    std::string error;
    MqttSettings settings = Resolve(given, nullptr, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(settings.poste.poste, HostName());
    EXPECT_EQ(settings.port, 1883);

    tarvic::test::TempFolder folder("mqtt-tls");
    std::ofstream(folder / "ca.pem") << "certificat";
    given.caFile = folder / "ca.pem";
    settings = Resolve(given, nullptr, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(settings.port, 8883);
}

TEST(ResolvedSettings, RefusalsNameTheirSource)
{
    MqttOptions given;
    given.broker = "courtier";
    std::string error;
    Resolve(given, Profile({}), error);
    EXPECT_EQ(error, "--salle manque : le nom de la salle est requis avec --mqtt.");

    Resolve(given, Profile({{"SALLE", "a/b"}}), error);
    EXPECT_EQ(error,
              "Profil, section MQTT, entr\xE9" "e SALLE : le nom ne peut contenir ni \xAB / \xBB, ni \xAB + \xBB, "
              "ni \xAB # \xBB, ni caract\xE8re de contr\xF4le.");

    given.salle = "B204";
    given.poste = "p#";
    Resolve(given, Profile({}), error);
    EXPECT_EQ(error,
              "--poste : le nom ne peut contenir ni \xAB / \xBB, ni \xAB + \xBB, ni \xAB # \xBB, "
              "ni caract\xE8re de contr\xF4le.");

    given.poste = "p1";
    given.caFile = "/inexistant/ca.pem";
    Resolve(given, Profile({}), error);
    EXPECT_EQ(error, "--mqtt-ca : fichier illisible : /inexistant/ca.pem.");

    given.caFile.clear();
    given.passwordFile = "/inexistant/mdp";
    given.user = "p1";
    Resolve(given, Profile({}), error);
    EXPECT_EQ(error, "--mqtt-mdp : Fichier de mot de passe illisible : /inexistant/mdp (No such file or directory).");

    Resolve({}, Profile({{"HOTE", "courtier"}, {"PORT", "huit"}, {"SALLE", "B204"}}), error);
    EXPECT_EQ(error, "Profil, section MQTT, entr\xE9" "e PORT : \xAB huit \xBB n'est pas un port (de 1 \xE0 65535).");

    Resolve({}, Profile({{"HOTE", "courtier"}, {"SALLE", "B204"}, {"MOTDEPASSE", "x"}}), error);
    EXPECT_EQ(error, "Un mot de passe MQTT est donn\xE9 sans utilisateur : donnez --mqtt-utilisateur.");
}

TEST(ResolvedSettings, RefusedSettingsLeaveTheOldOnes)
{
    MqttSettings settings;
    settings.host = "avant";
    MqttOptions given;
    given.broker = "courtier";
    EXPECT_NE(ResolveMqttSettings(given, nullptr, settings), "");
    EXPECT_EQ(settings.host, "avant");
}

TEST(Help, ListsEveryOption)
{
    const std::string help = MqttOptionsHelp();
    for (const char* name : kMqttOptionNames)
        EXPECT_NE(help.find(std::string("--") + name + " "), std::string::npos) << name;
}

}  // namespace
}  // namespace net

namespace net {
namespace {

TEST(ResolvedSettings, RoomViewMayWatchEveryRoom)
{
    MqttOptions given;
    given.broker = "courtier";
    MqttSettings settings;
    EXPECT_EQ(ResolveMqttSettings(given, nullptr, settings, MqttRole::RoomView), "");
    EXPECT_EQ(settings.host, "courtier");
    EXPECT_EQ(settings.poste.salle, "");
    given.salle = "B204";
    EXPECT_EQ(ResolveMqttSettings(given, nullptr, settings, MqttRole::RoomView), "");
    EXPECT_EQ(settings.poste.salle, "B204");
    given.salle = "B/204";
    EXPECT_EQ(
        ResolveMqttSettings(given, nullptr, settings, MqttRole::RoomView),
        "--salle : le nom ne peut contenir ni \xAB / \xBB, ni \xAB + \xBB, ni \xAB # \xBB, ni caract\xE8re de contr\xF4le.");
}

}  // namespace
}  // namespace net
