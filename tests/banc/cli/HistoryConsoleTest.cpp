#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "BancTestSupport.h"
#include "ConsoleFixture.h"
#include "HistorySupport.h"
#include "ProgramRun.h"
#include "engine/history/KeepRun.h"
#include "engine/history/RunHistory.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Text.h"

using banc::test::Console;
using banc::test::QuerySql;
using banc::test::RampWithOvershoot;
using banc::test::ReadFile;
using banc::test::Utf8;
using namespace banc::history;

namespace {

// A base of the test's own, its runs made in the test: what the orders print is known to the letter.
class HistoryOrders : public ::testing::Test {
protected:
    void SetUp() override
    {
        RunHistory history;
        ASSERT_EQ(history.Open(Base()), "");
        banc::test::WaterLevelRun overshooting(2, [](int i) { return RampWithOvershoot(i) / 2; });
        banc::test::WaterLevelRun rising(2, [](int i) { return std::min(50.0f, 3.125f * static_cast<float>(i)); });
        struct Kept {
            banc::test::WaterLevelRun* run;
            const char* at;
            const char* summary;
        };
        for (const Kept& kept :
             {Kept{&overshooting, "2026-12-01 10:00:00", "PI rapide"}, Kept{&rising, "2026-12-02 09:30:00", "PI lent"},
              Kept{&rising, "2026-12-02 11:45:10", "PI lent \xE0 nouveau"}}) {
            StoredRun run = banc::test::StoredWaterLevelRun(*kept.run, kept.at, kept.summary);
            ASSERT_EQ(history.Insert(run), "");
        }
        ASSERT_EQ(history.SetComment(1, "Le meilleur"), "");
    }
    std::string Base() const { return m_console.File("essais.sqlite"); }
    int Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.end(), {"--historique", Base()});
        return m_console.Run(arguments);
    }
    tarvic::test::TraceCapture m_quiet;
    Console m_console;
};

}  // namespace

TEST_F(HistoryOrders, TheListShowsTheRunsNewestFirstOneALine)
{
    ASSERT_EQ(Run({"--liste"}), 0) << m_console.m_errors;
    // The first run's peak, 1795 counts of 3264, is 9.988 % over its 50 % step.
    EXPECT_EQ(tarvic::Format("%.1f", (1795 * 100.0 / 3264 - 50) / 50 * 100), "10.0");
    EXPECT_EQ(
        m_console.m_output,
        Utf8(
            "N\xB0  Date                 Banc       Mode  Issue    Valeur finale  D\xE9passement  R\xE9glages ; commentaire\n"
            "3   2026-12-02 11:45:10  niveaueau  pid   complet  50.00 %        0.0 %        PI lent \xE0 nouveau\n"
            "2   2026-12-02 09:30:00  niveaueau  pid   complet  50.00 %        0.0 %        PI lent\n"
            "1   2026-12-01 10:00:00  niveaueau  pid   complet  50.00 %        10.0 %       PI rapide ; \xAB Le meilleur \xBB\n"));
    EXPECT_EQ(m_console.m_errors, "");
    ASSERT_EQ(Run({"--liste", "--depuis", "2026-12-02 10:00", "--banc", "niveaueau"}), 0) << m_console.m_errors;
    EXPECT_EQ(
        m_console.m_output.substr(m_console.m_output.find('\n') + 1),
        Utf8("3   2026-12-02 11:45:10  niveaueau  pid   complet  50.00 %        0.0 %        PI lent \xE0 nouveau\n"));
    ASSERT_EQ(Run({"--liste", "--banc", "debitair"}), 0);
    EXPECT_EQ(m_console.m_output, "Aucun essai.\n");
}

TEST_F(HistoryOrders, ARunIsShownAsAFreshRunsSummaryAndWrittenAgain)
{
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    StoredRun kept;
    ASSERT_EQ(history.Read(1, kept), "");
    std::ofstream(m_console.File("essai.tbc"), std::ios::binary) << kept.archive;
    std::string summary, errors;
    ASSERT_EQ(banc::test::RunProgram({"--ouvrir", "essai.tbc", "--csv", "ouvert.csv"}, m_console.m_folder.Path(),
                                     &summary, &errors, m_console.Environment()),
              0);
    ASSERT_EQ(Run({"--essai", "1", "--csv", "relu.csv", "--json", "relu.json", "--archive", "relu.tbc"}), 0)
        << m_console.m_errors;
    EXPECT_EQ(
        m_console.m_output,
        Utf8("Essai 1 du 2026-12-01 10:00:00, par eleve sur poste : complet.\nCommentaire : Le meilleur\n") + summary);
    EXPECT_EQ(m_console.m_errors, Utf8("Fichiers \xE9" "crits : relu.csv, relu.tbc, relu.json\n"));
    EXPECT_EQ(ReadFile(m_console.File("relu.csv")), ReadFile(m_console.File("ouvert.csv")));
    EXPECT_EQ(ReadFile(m_console.File("relu.tbc")), kept.archive);
    EXPECT_EQ(ReadFile(m_console.File("relu.json")), kept.resultsJson);
}

TEST_F(HistoryOrders, ComparedRunsGiveTheirSettingsAndFiguresSideBySideAndOnePicture)
{
    ASSERT_EQ(Run({"--comparer", "1,2", "--png", "comparaison.png"}), 0) << m_console.m_errors;
    // The first run's peak, 1795 counts of 3264, is 9.988 % over its 50 % step; it leaves the 5 % band
    // for good between points 22 and 23, at 22.499: 11.2 s.
    const double peak = 1795 * 100.0 / 3264;
    EXPECT_EQ(tarvic::Format("%.1f %.1f", (peak - 50) / 50 * 100, (22 + (52.5 - peak) / (50 - peak)) * 0.5),
              "10.0 11.2");
    EXPECT_EQ(m_console.m_output,
              Utf8("Essai 1 : PI rapide\n"
                   "Essai 2 : PI lent\n"
                   "\n"
                   "                                         Essai 1              Essai 2\n"
                   "---------------------------------------------------------------------\n"
                   "Date                         2026-12-01 10:00:00  2026-12-02 09:30:00\n"
                   "Banc                                   niveaueau            niveaueau\n"
                   "Mode                                         pid                  pid\n"
                   "Issue                                    complet              complet\n"
                   "Blocs acquis                             2 sur 2              2 sur 2\n"
                   "Consigne                                 50.00 %              50.00 %\n"
                   "Valeur finale                            50.00 %              50.00 %\n"
                   "D\xE9passement                               10.0 %                0.0 %\n"
                   "Temps de mont\xE9" "e (10 \xE0 90 %)                6.4 s                6.4 s\n"
                   "Temps d'\xE9tablissement \xE0 5 %               11.2 s                7.6 s\n"));
    EXPECT_EQ(m_console.m_errors, Utf8("Fichiers \xE9" "crits : comparaison.png\n"));
    EXPECT_EQ(ReadFile(m_console.File("comparaison.png")).substr(1, 3), "PNG");
}

TEST_F(HistoryOrders, ACommentAndARemovalSayWhatTheyDid)
{
    ASSERT_EQ(Run({"--commentaire", "2", Utf8("Kp \xE0 doubler")}), 0) << m_console.m_errors;
    EXPECT_EQ(m_console.m_output, Utf8("Commentaire de l'essai 2 enregistr\xE9.\n"));
    EXPECT_EQ(QuerySql(Base(), "SELECT commentaire FROM essais WHERE numero = 2"), Utf8("Kp \xE0 doubler"));
    ASSERT_EQ(Run({"--supprimer", "3"}), 0) << m_console.m_errors;
    EXPECT_EQ(m_console.m_output,
              Utf8("Essai 3 supprim\xE9 : 2026-12-02 11:45:10, niveaueau pid, PI lent \xE0 nouveau.\n"));
    EXPECT_EQ(QuerySql(Base(), "SELECT group_concat(numero, ',') FROM essais"), "1,2");
}

TEST_F(HistoryOrders, ARunThatDoesNotExistIsRefusedWithStatus3AndNothingChanges)
{
    const std::string before = ReadFile(Base());
    const std::string absent = Utf8("tarvic-banc : L'essai 9 n'existe pas dans la base " + Base() + ".\n");
    for (const std::vector<std::string>& order : {std::vector<std::string>{"--essai", "9", "--csv", "x.csv"},
                                                  {"--supprimer", "9"},
                                                  {"--commentaire", "9", "x"},
                                                  {"--comparer", "1,9"}}) {
        EXPECT_EQ(Run(order), 3) << order[0];
        EXPECT_EQ(m_console.m_errors, absent);
        EXPECT_EQ(m_console.m_output, "");
    }
    EXPECT_FALSE(std::filesystem::exists(m_console.File("x.csv")));
    EXPECT_EQ(QuerySql(Base(), "SELECT count(*) FROM essais"), "3");
}

TEST_F(HistoryOrders, OrdersGivenWrongAreRefusedWithStatus2)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case& c : {
             Case{{"--liste", "--kp", "2"}, "--liste ne se combine pas avec --kp."},
             Case{{"--essai", "1", "--etudiant", "Zo\xE9"}, "--essai ne se combine pas avec --etudiant."},
             Case{{"--comparer", "1", "--png", "c.png"},
                  "--comparer : au moins deux essais, s\xE9par\xE9s par des virgules (3,5)."},
             Case{{"--comparer", "1,2,1"}, "--comparer : l'essai 1 est donn\xE9 deux fois."},
             Case{{"--comparer", "1,2", "--csv", "c.csv"}, "--comparer ne se combine pas avec --csv."},
             Case{{"--essai", "0"},
                  "--essai 0 : un num\xE9ro d'essai est un nombre entier \xE0 partir de 1 (voir --liste)."},
             Case{{"--essai", "1", "--essai", "2"}, "--essai est donn\xE9 deux fois."},
             Case{{"--essai", "1", "--liste"},
                  "--liste ne se combine ni avec --ouvrir ni avec un autre ordre de l'historique."},
             Case{{"--supprimer", "1", "--depuis", "2026-12-01"}, "--supprimer ne se combine pas avec --depuis."},
             Case{{"--liste", "--depuis", "2026-02-30"},
                  "--depuis 2026-02-30 : une date AAAA-MM-JJ, suivie si besoin de l'heure HH:MM."},
             Case{{"--banc", "niveaueau", "--depuis", "2026-12-01"}, "--depuis ne vaut qu'avec --liste."},
         }) {
        EXPECT_EQ(Run(c.arguments), 2) << c.arguments[0];
        EXPECT_EQ(m_console.m_errors, Utf8("tarvic-banc : " + c.error + "\n"));
    }
    // The comment's text is the last word: without it the order is incomplete,
    // and an option in its place is not taken for the text.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--historique", Base(), "--commentaire", "1"},
          std::vector<std::string>{"--commentaire", "1", "--historique", Base()}}) {
        EXPECT_EQ(m_console.Run(arguments), 2) << arguments.back();
        EXPECT_EQ(m_console.m_errors,
                  Utf8("tarvic-banc : --commentaire demande le num\xE9ro de l'essai puis le texte.\n"));
    }
}

TEST_F(HistoryOrders, ABaseOfAnotherApplicationIsRefusedAndLeftAsItIs)
{
    const std::string foreign = m_console.File("autre.sqlite");
    banc::test::ExecuteSql(foreign, "CREATE TABLE mesures (t REAL);");
    const std::string before = ReadFile(foreign);
    EXPECT_EQ(m_console.Run({"--liste", "--historique", foreign}), 3);
    EXPECT_EQ(m_console.m_errors, Utf8("tarvic-banc : Impossible d'ouvrir la base d'essais " + foreign +
                                       " : c'est une base SQLite d'une "
                                       "autre application, elle est laiss\xE9" "e telle quelle.\n"));
    EXPECT_EQ(ReadFile(foreign), before);
    // A base not made yet is no error for a list, and is not made by it.
    EXPECT_EQ(m_console.Run({"--liste", "--historique", m_console.File("aucune.sqlite")}), 0);
    EXPECT_EQ(m_console.m_output, "Aucun essai.\n");
    EXPECT_FALSE(std::filesystem::exists(m_console.File("aucune.sqlite")));
}

TEST(HistoryKeeping, EveryRunOnTheCardIsKeptAndReadBackToTheSameFiles)
{
    Console console;
    ASSERT_EQ(console.Run({"--banc", "niveaueau", "--duree", "32", "--vitesse", "200", "--etudiant", Utf8("Zo\xE9"),
                           "--csv", "essai.csv", "--json", "essai.json", "--archive", "essai.tbc"}),
              0)
        << console.m_errors;
    const std::string fresh = console.m_output;
    // In the user's data folder, given by XDG_DATA_HOME.
    const std::string base = console.File("tarvic/essais.sqlite");
    EXPECT_NE(console.m_errors.find(Utf8("Essai n\xB0 1 gard\xE9 dans l'historique (tarvic-banc --essai 1).\n")),
              std::string::npos)
        << console.m_errors;
    EXPECT_EQ(QuerySql(base, "SELECT utilisateur || ' ' || banc || ' ' || mode || ' ' || issue FROM essais"),
              Utf8("Zo\xE9 niveaueau pid complet"));
    const std::string startedAt = QuerySql(base, "SELECT date FROM essais");
    ASSERT_EQ(console.Run({"--essai", "1", "--csv", "relu.csv", "--json", "relu.json", "--archive", "relu.tbc"}), 0)
        << console.m_errors;
    EXPECT_EQ(console.m_output, Utf8("Essai 1 du " + startedAt + ", par Zo\xE9 sur " + banc::history::HostName() +
                                     ", carte cardsim (carte simul\xE9" "e) : complet.\n") +
                                    fresh);
    EXPECT_EQ(ReadFile(console.File("relu.csv")), ReadFile(console.File("essai.csv")));
    EXPECT_EQ(ReadFile(console.File("relu.json")), ReadFile(console.File("essai.json")));
    EXPECT_EQ(ReadFile(console.File("relu.tbc")), ReadFile(console.File("essai.tbc")));
}

TEST(HistoryKeeping, ARunStoppedByCtrlCIsKeptAsInterrupted)
{
    Console console;
    banc::test::ProgramRun run({"--banc", "niveaueau", "--duree", "320", "--vitesse", "20"}, console.m_folder.Path(),
                               console.Environment());
    ASSERT_TRUE(run.WaitForError("Bloc 1/20")) << run.Errors();
    run.Interrupt();
    EXPECT_EQ(run.Finish(), 130);
    EXPECT_NE(run.Errors().find(Utf8("Essai n\xB0 1 gard\xE9 dans l'historique")), std::string::npos) << run.Errors();
    const std::string base = console.File("tarvic/essais.sqlite");
    EXPECT_EQ(QuerySql(base, "SELECT issue || ' | ' || message_issue || ' | ' || carte FROM essais"),
              "interrompu | Essai interrompu. | cardsim (carte simul\xC3\xA9" "e)");
    EXPECT_EQ(QuerySql(base, "SELECT valeur_finale IS NULL FROM essais"), "1");
}

TEST(HistoryKeeping, ABaseOnAFullDiskOnlyWarnsAndTheRunsFilesAreWritten)
{
    banc::test::SmallDisk disk(512);
    if (!disk.Mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted here (root only): no full disk to write on";
    Console console;
    const std::string base = disk.File("essais.sqlite");
    ASSERT_EQ(console.Run({"--banc", "niveaueau", "--duree", "16", "--vitesse", "200", "--historique", base}), 0)
        << console.m_errors;
    const std::string before = QuerySql(base, "SELECT count(*) FROM essais");
    ASSERT_EQ(before, "1");
    disk.Fill();
    EXPECT_EQ(console.Run({"--banc", "niveaueau", "--duree", "16", "--vitesse", "200", "--historique", base, "--csv",
                           "essai.csv", "--png", "essai.png"}),
              0);
    // The files first, then the warning, which ends what the run says.
    const std::string end = Utf8(
        "Fichiers \xE9" "crits : essai.csv, essai.png\ntarvic-banc : L'essai n'a pas pu \xEAtre "
        "gard\xE9 dans la base " +
        base + " : le disque est plein.\n");
    ASSERT_GE(console.m_errors.size(), end.size());
    EXPECT_EQ(console.m_errors.substr(console.m_errors.size() - end.size()), end) << console.m_errors;
    EXPECT_EQ(ReadFile(console.File("essai.csv")).substr(0, 7), "temps_s");
    EXPECT_EQ(QuerySql(base, "SELECT count(*) FROM essais"), "1");
    EXPECT_EQ(QuerySql(base, "PRAGMA integrity_check"), "ok");
}

TEST(HistoryKeeping, TheHelpNamesTheHistorysOrdersAndTheirStatuses)
{
    Console console;
    ASSERT_EQ(console.Run({"--help"}), 0);
    for (const char* entry : {"  --historique FICHIER   la base (~/.local/share/tarvic/essais.sqlite)\n",
                              "  --comparer N,M,...     2 \xE0 10 essais c\xF4te \xE0 c\xF4te ; --png : leurs mesures "
                              "superpos\xE9" "es\n",
                              "  --supprimer N          supprime l'essai N et dit ce qu'il \xE9tait\n",
                              "Ordres de l'historique : 0 fait, 2 ligne refus\xE9" "e, 3 base inutilisable ou essai "
                              "inexistant.\n"})
        EXPECT_NE(console.m_output.find(Utf8(entry)), std::string::npos) << entry;
}
