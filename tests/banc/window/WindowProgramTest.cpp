#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <tarvic/Version.h>
#include <tarvic/platform/IniProfile.h>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "ProgramRun.h"
#include "support/PtyPeer.h"
#include "support/ScriptedCard.h"

using banc::test::ProgramRun;
using banc::test::RunProgram;
using banc::test::TemporaryFolder;

namespace {

// tarvic-banc-fenetre run from a terminal with no display: what it asks of
// the command line is answered without one.
struct WindowProgram {
    int Run(const std::vector<std::string>& arguments)
    {
        return RunProgram(arguments, folder.Path(), &output, &errors,
                          {"QT_QPA_PLATFORM=xcb", "DISPLAY=", "WAYLAND_DISPLAY=", "XDG_CONFIG_HOME=" + folder.Path(),
                           "XDG_RUNTIME_DIR=" + folder.Path()},
                          TARVIC_BANC_WINDOW_PROGRAM);
    }

    TemporaryFolder folder;
    std::string output, errors;
};

}  // namespace

TEST(WindowProgram, HelpInFrenchWithoutADisplay)
{
    const std::string help =
        "Usage : tarvic-banc-fenetre [OPTION]...\n"
        "La console des bancs d'automatique dans une fen\xC3\xAAtre : le banc et son mode, la carte\n"
        "(simul\xC3\xA9" "e ou sur un port s\xC3\xA9rie), l'essai, ses courbes et ses fichiers.\n"
        "\n"
        "Options :\n"
        "  --historique FICHIER  garde les essais dans cette base plut\xC3\xB4t que dans\n"
        "                        ~/.local/share/tarvic/essais.sqlite\n"
        "  --etudiant NOM        le nom sous lequel les essais sont gard\xC3\xA9s, plut\xC3\xB4t que\n"
        "                        celui de la session\n"
        "  -h, --help            affiche cette aide et quitte\n"
        "  -v, --version         affiche la version et quitte\n"
        "et celles de Qt : -platform NOM, -style NOM, -geometry LxH+X+Y...\n"
        "\n"
        "Salle de travaux pratiques (MQTT) :\n"
        "  --mqtt HOTE[:PORT]       publie l'\xC3\xA9tat du poste sur ce courtier (1883, 8883 avec --mqtt-ca)\n"
        "  --salle NOM              la salle, requise avec --mqtt\n"
        "  --poste NOM              le poste dans la salle (par d\xC3\xA9" "faut : le nom de la machine)\n"
        "  --mqtt-utilisateur NOM   le compte sur le courtier\n"
        "  --mqtt-mdp FICHIER       le fichier dont la premi\xC3\xA8re ligne est le mot de passe\n"
        "  --mqtt-ca FICHIER        chiffre la liaison (TLS) et v\xC3\xA9rifie le courtier avec cette autorit\xC3\xA9\n"
        "Le profil peut les donner (section MQTT : HOTE, PORT, SALLE, POSTE, UTILISATEUR, MOTDEPASSE, CA) ;\n"
        "la ligne de commande l'emporte.\n"
        "\n"
        "Les choix de la fen\xC3\xAAtre sont dans ~/.config/tarvic/tarvic-banc-fenetre.ini, les r\xC3\xA9glages\n"
        "des bancs dans ~/.config/tarvic/tarvic-banc-BANC.ini, partag\xC3\xA9s avec tarvic-banc.\n"
        "Voir aussi : tarvic-banc --help, man tarvic-banc-fenetre ; F1 dans la fen\xC3\xAAtre.\n";
    for (const char* option : {"--help", "-h"}) {
        WindowProgram program;
        EXPECT_EQ(program.Run({option}), 0) << option;
        EXPECT_EQ(program.output, help) << option;
        EXPECT_EQ(program.errors, "") << option;
    }
    // Beside Qt's own options, whose values are no business of ours.
    WindowProgram program;
    EXPECT_EQ(program.Run({"-platform", "offscreen", "--help"}), 0);
    EXPECT_EQ(program.output, help);
}

TEST(WindowProgram, Version)
{
    for (const char* option : {"--version", "-v"}) {
        WindowProgram program;
        EXPECT_EQ(program.Run({option}), 0) << option;
        EXPECT_EQ(program.output, "tarvic-banc-fenetre " TARVIC_VERSION_STRING "\n") << option;
        EXPECT_EQ(program.errors, "") << option;
    }
}

TEST(WindowProgram, WhatItDoesNotKnowIsRefusedBeforeAWindowOpens)
{
    WindowProgram program;
    EXPECT_EQ(program.Run({"-platform", "offscreen", "--bidule"}), 2);
    EXPECT_EQ(program.errors, "tarvic-banc-fenetre : option inconnue : --bidule (voir tarvic-banc-fenetre --help).\n");
    EXPECT_EQ(program.output, "");
    WindowProgram positional;
    EXPECT_EQ(positional.Run({"-platform", "offscreen", "essai.tbc"}), 2);
    EXPECT_EQ(positional.errors,
              "tarvic-banc-fenetre : argument inattendu : essai.tbc (voir tarvic-banc-fenetre --help).\n");
}

TEST(WindowProgram, ALogoutAKillOrCtrlCClosesTheWindowThroughItsNormalPathAsTheShellCountsIt)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        TemporaryFolder folder;
        tarvic::test::ScriptedCard card([](const std::string& line) { return banc::test::CardAnswer(line); });
        ASSERT_EQ(::mkdir(folder.File("tarvic").c_str(), 0700), 0);
        tarvic::IniProfile profile(folder.File("tarvic/tarvic-banc-fenetre.ini"));
        profile.WriteProfileString("FENETRE", "CARTE", "port");
        profile.WriteProfileString("FENETRE", "PORT", card.Path());
        ProgramRun program({"-platform", "offscreen"}, folder.Path(),
                           {"XDG_CONFIG_HOME=" + folder.Path(), "XDG_DATA_HOME=" + folder.File("donnees"),
                            "XDG_RUNTIME_DIR=" + folder.Path()},
                           TARVIC_BANC_WINDOW_PROGRAM);
        // The window is up once it watches the card.
        ASSERT_TRUE(tarvic::test::WaitUntil([&] { return !card.LinesFrom("?AEBC").empty(); }, std::chrono::seconds(30)))
            << signal;
        program.Send(signal);
        // Killed on the spot, it would have no exit status (-1); closed, it ends with 128 + the signal, as shells count
        // it.
        EXPECT_EQ(program.Finish(), 128 + signal) << signal;
        // Nothing was acquired: nothing to keep, nothing said.
        EXPECT_EQ(program.Errors().find("Essai"), std::string::npos) << program.Errors();
    }
}
