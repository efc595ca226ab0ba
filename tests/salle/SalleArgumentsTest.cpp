#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "BancTestSupport.h"
#include "salle/SalleArguments.h"
#include "window/Latin1.h"

using namespace salle;

namespace {

QStringList Line(std::initializer_list<const char*> arguments)
{
    QStringList line{QStringLiteral("tarvic-salle")};
    for (const char* argument : arguments) line << QString::fromLatin1(argument);
    return line;
}

net::ProfileEntry Profile(std::map<std::string, std::string> entries)
{
    return [entries](const std::string& entry) {
        const auto found = entries.find(entry);
        return found == entries.end() ? std::string() : found->second;
    };
}

std::string Errors(const ArgumentsAnswer& answer) { return banc::window::Latin1(answer.errors); }

}  // namespace

TEST(SalleArgumentsTest, HelpAndVersionNeedNoDisplay)
{
    const ArgumentsAnswer help = AnswerArguments(Line({"--help"}), false, {});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.output.startsWith("Usage : tarvic-salle [OPTION]...\n")) << help.output.toStdString();
    EXPECT_TRUE(help.output.contains("--toutes-salles")) << help.output.toStdString();
    const ArgumentsAnswer version = AnswerArguments(Line({"-v"}), false, {});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_TRUE(version.output.startsWith("tarvic-salle ")) << version.output.toStdString();
    // Anything else waits for the display.
    EXPECT_FALSE(AnswerArguments(Line({"--mqtt", "courtier"}), false, {}).exitStatus);
}

TEST(SalleArgumentsTest, TheBrokerAndTheRoomComeFromTheSharedOptions)
{
    const ArgumentsAnswer answer = AnswerArguments(Line({"--mqtt", "courtier:1884", "--salle", "B101", "--poste",
                                                         "prof", "--historique", "/tmp/s.sqlite", "--silence", "30"}),
                                                   true, {});
    ASSERT_FALSE(answer.exitStatus) << answer.errors.toStdString();
    EXPECT_EQ(answer.settings.host, "courtier");
    EXPECT_EQ(answer.settings.port, 1884);
    EXPECT_EQ(answer.settings.poste.salle, "B101");
    EXPECT_EQ(answer.settings.poste.poste, "prof");
    EXPECT_EQ(answer.historyPath, "/tmp/s.sqlite");
    EXPECT_EQ(answer.silence, std::chrono::seconds(30));
}

TEST(SalleArgumentsTest, TheProfileGivesWhatTheLineDoesNotAndEveryRoomMayBeWatched)
{
    const auto profile = Profile({{"HOTE", "courtier"}, {"SALLE", "B101"}, {"POSTE", "prof"}});
    const ArgumentsAnswer fromProfile = AnswerArguments(Line({}), true, profile);
    ASSERT_FALSE(fromProfile.exitStatus) << fromProfile.errors.toStdString();
    EXPECT_EQ(fromProfile.settings.host, "courtier");
    EXPECT_EQ(fromProfile.settings.port, 1883);
    EXPECT_EQ(fromProfile.settings.poste.salle, "B101");
    EXPECT_EQ(fromProfile.silence, std::chrono::seconds(10));
    const ArgumentsAnswer every = AnswerArguments(Line({"--toutes-salles"}), true, profile);
    ASSERT_FALSE(every.exitStatus) << every.errors.toStdString();
    EXPECT_EQ(every.settings.host, "courtier");
    EXPECT_EQ(every.settings.poste.salle, "");
}

TEST(SalleArgumentsTest, WithoutABrokerTheWindowOpensOnNone)
{
    const ArgumentsAnswer answer = AnswerArguments(Line({}), true, Profile({}));
    ASSERT_FALSE(answer.exitStatus) << answer.errors.toStdString();
    EXPECT_FALSE(answer.settings.On());
}

TEST(SalleArgumentsTest, WrongOptionsAreRefusedNamingWhich)
{
    struct Case {
        QStringList line;
        std::string errors;
    };
    const std::string see = " (voir tarvic-salle --help).\n";
    for (const Case& c : {
             Case{Line({"--vite"}), "tarvic-salle : option inconnue : --vite" + see},
             Case{Line({"B101"}), "tarvic-salle : argument inattendu : B101" + see},
             Case{Line({"--silence", "1"}),
                  "tarvic-salle : --silence attend un nombre de secondes de 2 \xE0 3600, pas 1" + see},
             Case{Line({"--silence", "dix"}),
                  "tarvic-salle : --silence attend un nombre de secondes de 2 \xE0 3600, pas dix" + see},
             Case{Line({"--toutes-salles"}),
                  "tarvic-salle : --toutes-salles demande --mqtt HOTE (ou l'entr\xE9" "e HOTE du profil)" + see},
             Case{Line({"--mqtt", "courtier", "--salle", "B101", "--toutes-salles"}),
                  "tarvic-salle : --salle et --toutes-salles s'excluent" + see},
             Case{Line({"--mqtt", "courtier"}),
                  "tarvic-salle : --salle manque : le nom de la salle est requis avec --mqtt." + see},
             Case{Line({"--mqtt", "courtier", "--salle", "B/101"}), ""},
         }) {
        const ArgumentsAnswer answer = AnswerArguments(c.line, true, Profile({}));
        if (c.errors.empty()) {
            // The shared reading's own refusal, whatever its words.
            EXPECT_EQ(answer.exitStatus, 2) << c.line.join(' ').toStdString();
            EXPECT_TRUE(answer.errors.startsWith("tarvic-salle : ")) << answer.errors.toStdString();
            continue;
        }
        EXPECT_EQ(answer.exitStatus, 2) << c.line.join(' ').toStdString();
        EXPECT_EQ(Errors(answer), c.errors);
    }
}

TEST(SalleArgumentsTest, TheTeachersPasswordIsReadFromItsFileNeverFromTheLine)
{
    banc::test::TemporaryFolder folder;
    const std::string file = folder.File("mot de passe \xC3\xA9t\xC3\xA9");  // a UTF-8 file name
    std::ofstream(file) << "s3cret\nautre ligne\n";
    const QStringList line{
        QStringLiteral("tarvic-salle"), QStringLiteral("--mqtt"),     QStringLiteral("courtier"),
        QStringLiteral("--salle"),      QStringLiteral("B101"),       QStringLiteral("--mqtt-utilisateur"),
        QStringLiteral("prof"),         QStringLiteral("--mqtt-mdp"), QString::fromLocal8Bit(file.c_str())};
    const ArgumentsAnswer answer = AnswerArguments(line, true, Profile({}));
    ASSERT_FALSE(answer.exitStatus) << answer.errors.toStdString();
    EXPECT_EQ(answer.settings.user, "prof");
    EXPECT_EQ(answer.settings.password, "s3cret");
}
