// A panel's command line: its help and version, and the room's broker from
// the options over the profile's section "MQTT".
#include <fstream>

#include <gtest/gtest.h>

#include <tarvic/Version.h>

#include "common/PanelArguments.h"
#include "support/TempFolder.h"
#include "tarvic/platform/MemoryProfile.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

namespace {

TEST(PanelArguments, HelpNamesTheStationAndTheRoomsOptions)
{
    const PanelArguments answer = AnswerHelp({"Varnok", "--help"}, VarnokVariant());
    EXPECT_EQ(answer.exitStatus, 0);
    EXPECT_EQ(answer.errors, "");
    EXPECT_EQ(answer.output.rfind("Usage : Varnok [OPTION]...\n", 0), 0u);
    EXPECT_NE(answer.output.find("  --mqtt HOTE[:PORT]"), std::string::npos);
    EXPECT_NE(answer.output.find("  --mqtt-mdp FICHIER"), std::string::npos);
    EXPECT_NE(answer.output.find("~/.config/tarvic/Varnok.ini"), std::string::npos);
    EXPECT_FALSE(answer.mqtt.On());
}

TEST(PanelArguments, VersionIsTheProgramsAndTheProjects)
{
    const PanelArguments answer = AnswerHelp({"Torvane", "-v"}, TorvaneVariant());
    EXPECT_EQ(answer.exitStatus, 0);
    EXPECT_EQ(answer.output, "Torvane " TARVIC_VERSION_STRING "\n");
}

TEST(PanelArguments, NoneLeaveTheRoomOff)
{
    tarvic::MemoryProfile profile;
    const PanelArguments answer = ReadPanelArguments({"Varnok"}, VarnokVariant(), profile);
    EXPECT_FALSE(answer.exitStatus);
    EXPECT_EQ(answer.output, "");
    EXPECT_EQ(answer.errors, "");
    EXPECT_FALSE(answer.mqtt.On());
}

TEST(PanelArguments, TheCommandLineWinsOverTheProfile)
{
    const tarvic::test::TempFolder folder("tarvic-panel-arguments");
    const std::string password = (folder.Path() / "mdp").string();
    std::ofstream(password) << "s3cret\n";
    tarvic::MemoryProfile profile;
    profile.WriteProfileString("MQTT", "HOTE", "courtier.lycee.fr");
    profile.WriteProfileString("MQTT", "SALLE", "B204");
    profile.WriteProfileString("MQTT", "POSTE", "pc03");
    const PanelArguments answer =
        ReadPanelArguments({"Varnok", "--salle", "B210", "--mqtt-utilisateur=station-pc03", "--mqtt-mdp", password},
                           VarnokVariant(), profile);
    EXPECT_FALSE(answer.exitStatus);
    EXPECT_EQ(answer.errors, "");
    EXPECT_EQ(answer.mqtt.host, "courtier.lycee.fr");
    EXPECT_EQ(answer.mqtt.port, 1883);
    EXPECT_EQ(answer.mqtt.poste.salle, "B210");
    EXPECT_EQ(answer.mqtt.poste.poste, "pc03");
    EXPECT_EQ(answer.mqtt.user, "station-pc03");
    EXPECT_EQ(answer.mqtt.password, "s3cret");
}

TEST(PanelArguments, AnArgumentNotOursEndsTheProgramSayingWhich)
{
    tarvic::MemoryProfile profile;
    const PanelArguments answer = ReadPanelArguments({"Varnok", "--port", "COM3"}, VarnokVariant(), profile);
    EXPECT_EQ(answer.exitStatus, 2);
    EXPECT_EQ(answer.output, "");
    EXPECT_EQ(answer.errors, "Varnok : Option inconnue : --port (voir Varnok --help).\n");
}

// The station is served all the same: only the room is given up.
TEST(PanelArguments, AnUnreadablePasswordFileTurnsTheRoomOffWithoutStoppingThePanel)
{
    tarvic::MemoryProfile profile;
    const PanelArguments answer = ReadPanelArguments({"Varnok", "--mqtt", "127.0.0.1", "--salle", "B204",
                                                      "--mqtt-utilisateur", "pc03", "--mqtt-mdp", "/nonexistent/mdp"},
                                                     VarnokVariant(), profile);
    EXPECT_FALSE(answer.exitStatus);
    EXPECT_FALSE(answer.mqtt.On());
    EXPECT_EQ(answer.errors,
              "Varnok : --mqtt-mdp : Fichier de mot de passe illisible : /nonexistent/mdp (No such file "
              "or directory). Le panneau n'est pas publi\xE9 vers la salle.\n");
}

}  // namespace
