#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "BancTestSupport.h"
#include "HistorySupport.h"
#include "engine/history/KeepRun.h"
#include "engine/history/RunHistory.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/Text.h"

using namespace banc;
using namespace banc::history;
using banc::test::QuerySql;
using banc::test::RampWithOvershoot;
using banc::test::ReadFile;

namespace {

// The first schema as the first console with a history made it.
const char* const kFirstSchema =
    "CREATE TABLE essais (numero INTEGER PRIMARY KEY AUTOINCREMENT, date TEXT NOT NULL, utilisateur TEXT NOT NULL,"
    " poste TEXT NOT NULL, banc TEXT NOT NULL, mode TEXT NOT NULL, reglages TEXT NOT NULL, carte TEXT NOT NULL,"
    " issue TEXT NOT NULL CHECK (issue IN ('complet', 'interrompu', 'defaut-carte')), message_issue TEXT NOT NULL,"
    " valeur_finale REAL, depassement_pct REAL, unite_mesure TEXT NOT NULL, resultats_json TEXT NOT NULL,"
    " commentaire TEXT NOT NULL DEFAULT '', archive BLOB NOT NULL);"
    "PRAGMA application_id = 1413629267; PRAGMA user_version = 1;";  // "TBES"

std::string CsvOf(const Settings& settings, Elements& elements, const std::string& path)
{
    EXPECT_EQ(WriteCsv(path, *elements.recording, ResultColumns(settings, elements), PeriodMs(*elements.recording),
                       BlocksAcquired(*elements.recording)),
              "");
    return ReadFile(path);
}

class HistoryTest : public ::testing::Test {
protected:
    std::string Base() const { return m_folder.File("essais.sqlite"); }
    tarvic::test::TraceCapture m_quiet;
    banc::test::TemporaryFolder m_folder;
};

}  // namespace

TEST_F(HistoryTest, ANewBaseIsMadeAtTheLatestSchemaInAWriteAheadLog)
{
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    EXPECT_EQ(history.Path(), Base());
    EXPECT_EQ(QuerySql(Base(), "PRAGMA user_version"), "3");
    EXPECT_EQ(QuerySql(Base(), "PRAGMA application_id"), "1413629267");
    EXPECT_EQ(QuerySql(Base(), "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(QuerySql(Base(), "SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_schema ORDER BY name)"),
              "archives essais essais_par_banc essais_par_date essais_par_origine sqlite_sequence");
    // The archive has its own table: a list reads none of the curves.
    EXPECT_EQ(QuerySql(Base(), "SELECT count(*) FROM pragma_table_info('essais') WHERE name = 'archive'"), "0");
}

TEST_F(HistoryTest, ABaseOfTheFirstSchemaIsMigratedWithItsRunsAndTheirArchives)
{
    banc::test::WaterLevelRun recorded(2, RampWithOvershoot);
    const std::string archive = ArchiveBytes(recorded.settings, recorded.elements);
    banc::test::ExecuteSql(Base(), kFirstSchema);
    // The archive as a blob literal, as the first console stored it.
    std::string hex;
    for (const unsigned char byte : archive) hex += tarvic::Format("%02X", byte);
    banc::test::ExecuteSql(Base(),
                           "INSERT INTO essais VALUES (7, '2026-11-30 09:15:00', 'eleve', 'poste', 'niveaueau',"
                           " 'pid', 'PI', 'CARDSIM 1.0', 'interrompu', 'Essai interrompu.', 49.5, NULL, '%',"
                           " '{}', 'premier', X'" +
                               hex + "')");
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    EXPECT_EQ(QuerySql(Base(), "PRAGMA user_version"), "3");
    StoredRun run;
    ASSERT_EQ(history.Read(7, run), "");
    EXPECT_EQ(run.startedAt, "2026-11-30 09:15:00");
    EXPECT_EQ(run.card, "CARDSIM 1.0");
    EXPECT_EQ(run.outcome, RunOutcome::Interrupted);
    EXPECT_EQ(run.outcomeText, "Essai interrompu.");
    EXPECT_EQ(run.finalValue, 49.5);
    EXPECT_FALSE(run.overshootPct);
    EXPECT_EQ(run.comment, "premier");
    EXPECT_EQ(run.archive, archive);
    // The next run follows it.
    StoredRun next = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 10:00:00", "PI");
    ASSERT_EQ(history.Insert(next), "");
    EXPECT_EQ(next.number, 8);
}

TEST_F(HistoryTest, ARunOfTheSecondSchemaIsMigratedWithoutRoomNorOrigin)
{
    banc::test::WaterLevelRun recorded(2, RampWithOvershoot);
    {
        RunHistory history;
        ASSERT_EQ(history.Open(Base()), "");
        StoredRun first = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 10:00:00", "PI");
        ASSERT_EQ(history.Insert(first), "");
    }
    // Back to the second schema, as the console before the room view left it.
    banc::test::ExecuteSql(Base(),
                           "DROP INDEX essais_par_origine; ALTER TABLE essais DROP COLUMN salle;"
                           " ALTER TABLE essais DROP COLUMN origine; PRAGMA user_version = 2;");
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    EXPECT_EQ(QuerySql(Base(), "PRAGMA user_version"), "3");
    StoredRun run;
    ASSERT_EQ(history.Read(1, run), "");
    EXPECT_EQ(run.host, "poste");
    EXPECT_EQ(run.room, "");
    EXPECT_EQ(run.origin, "");
    EXPECT_EQ(run.archive, ArchiveBytes(recorded.settings, recorded.elements));
}

TEST_F(HistoryTest, ARunCollectedTwiceFromItsPlaceIsKeptOnce)
{
    banc::test::WaterLevelRun recorded(2, RampWithOvershoot);
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    StoredRun heard = banc::test::StoredWaterLevelRun(recorded, "2026-12-08 15:04:05", "PI");
    heard.room = "B\xE9ton";
    heard.host = "poste-3";
    heard.origin = "2026-12-08T14:05:10.250Z";
    StoredRun again = heard;
    StoredRun otherPlace = heard;
    otherPlace.host = "poste-4";
    StoredRun local = banc::test::StoredWaterLevelRun(recorded, "2026-12-08 15:04:05", "PI");
    StoredRun localAgain = local;
    ASSERT_EQ(history.Insert(heard), "");
    ASSERT_EQ(history.Insert(again), "");
    ASSERT_EQ(history.Insert(otherPlace), "");
    ASSERT_EQ(history.Insert(local), "");
    ASSERT_EQ(history.Insert(localAgain), "");
    EXPECT_EQ(heard.number, 1);
    EXPECT_EQ(again.number, 1);
    EXPECT_EQ(otherPlace.number, 2);
    // A run kept on its own PC has no origin: each insertion is a run of its own.
    EXPECT_EQ(local.number, 3);
    EXPECT_EQ(localAgain.number, 4);
    EXPECT_EQ(QuerySql(Base(), "SELECT count(*) FROM archives"), "4");
    StoredRun read;
    ASSERT_EQ(history.Read(1, read), "");
    EXPECT_EQ(read.room, "B\xE9ton");
    EXPECT_EQ(read.host, "poste-3");
    EXPECT_EQ(read.origin, "2026-12-08T14:05:10.250Z");
    EXPECT_EQ(QuerySql(Base(), "SELECT salle FROM essais WHERE numero = 1"), "B\xC3\xA9ton");
}

TEST_F(HistoryTest, ARunIsReadBackToTheSameCsvBytesAndFields)
{
    banc::test::WaterLevelRun recorded(3, [](int i) { return RampWithOvershoot(i) / 2; });
    const std::string before = CsvOf(recorded.settings, recorded.elements, m_folder.File("avant.csv"));
    const KeptInHistory kept = KeepRun(recorded.settings, recorded.elements, Outcome{}, RunReport{},
                                       {Base(), "\xC9lodie", "CARDSIM 1.0", "2026-12-08 15:04:05"});
    ASSERT_EQ(kept.warning, "");
    EXPECT_EQ(kept.number, 1);
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    StoredRun run;
    ASSERT_EQ(history.Read(1, run), "");
    EXPECT_EQ(run.number, 1);
    EXPECT_EQ(run.startedAt, "2026-12-08 15:04:05");
    EXPECT_EQ(run.user, "\xC9lodie");
    EXPECT_EQ(run.host, HostName());
    EXPECT_EQ(run.bench, "niveaueau");
    EXPECT_EQ(run.mode, "pid");
    EXPECT_EQ(run.summary,
              "PID K1= 2.00, Ti= 20.00 s, K2= 1.000 ; Echelon, Valeur Repos = 0 %,Val. C =50.00 % "
              "Retard =0.400 s");
    EXPECT_EQ(run.card, "CARDSIM 1.0");
    EXPECT_EQ(run.outcome, RunOutcome::Complete);
    EXPECT_EQ(run.measureUnit, "%");
    // Up 3.125 % a point to 50 %, 55 % at points 20 to 22 (1795 counts of 3264): an overshoot of the 50 % step.
    EXPECT_DOUBLE_EQ(*run.finalValue, 50);
    EXPECT_NEAR(*run.overshootPct, (1795 * 100.0 / 3264 - 50) / 50 * 100, 1e-4);
    RunReport report;
    ReportRun(recorded.settings, recorded.elements, report);
    EXPECT_EQ(run.resultsJson, ResultsJson(report));
    // The user's name is UTF-8 in the base, as any SQLite tool reads it.
    EXPECT_EQ(QuerySql(Base(), "SELECT utilisateur FROM essais"), "\xC3\x89lodie");

    LoadedExperiment loaded;
    ASSERT_EQ(LoadArchiveBytes(run.archive, "l'essai 1", loaded), "");
    EXPECT_EQ(loaded.notice, "");
    EXPECT_EQ(CsvOf(loaded.settings, loaded.elements, m_folder.File("apres.csv")), before);
}

TEST_F(HistoryTest, AnInterruptedRunIsKeptWithItsMessage)
{
    banc::test::WaterLevelRun recorded(1, [](int) { return 20.0f; });
    Outcome interrupted;
    interrupted.status = Outcome::Status::Interrupted;
    interrupted.message = "Essai interrompu.";
    ASSERT_EQ(KeepRun(recorded.settings, recorded.elements, interrupted, RunReport{}, {Base(), "", "", ""}).warning,
              "");
    Outcome silent;
    silent.status = Outcome::Status::Silent;
    silent.message = "La carte ne r\xE9pond plus.";
    ASSERT_EQ(KeepRun(recorded.settings, recorded.elements, silent, RunReport{}, {Base(), "", "", ""}).warning, "");
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    StoredRun run;
    ASSERT_EQ(history.Read(1, run), "");
    EXPECT_EQ(run.outcome, RunOutcome::Interrupted);
    EXPECT_EQ(run.outcomeText, "Essai interrompu.");
    EXPECT_EQ(run.user, LoginName());  // without --etudiant
    EXPECT_EQ(run.startedAt.size(), std::string("2026-12-08 15:04:05").size());
    EXPECT_EQ(run.resultsJson.find("\"complet\": true"), std::string::npos);
    EXPECT_NE(run.resultsJson.find("\"complet\": false"), std::string::npos);
    ASSERT_EQ(history.Read(2, run), "");
    EXPECT_EQ(run.outcome, RunOutcome::CardFault);
    EXPECT_EQ(run.outcomeText, "La carte ne r\xE9pond plus.");
    // A flat measurement gives neither a final value nor an overshoot.
    EXPECT_FALSE(run.finalValue);
    EXPECT_FALSE(run.overshootPct);
    EXPECT_EQ(QuerySql(Base(), "SELECT group_concat(issue, ' ') FROM essais"), "interrompu defaut-carte");
}

TEST_F(HistoryTest, TheListIsNewestFirstFilteredByBenchAndDateWithoutArchives)
{
    banc::test::WaterLevelRun recorded(1, [](int) { return 20.0f; });
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    struct Kept {
        const char* at;
        const char* bench;
    };
    for (const Kept& kept : {Kept{"2026-12-01 10:00:00", "niveaueau"}, Kept{"2026-12-03 08:30:00", "debitair"},
                             Kept{"2026-12-02 14:00:00", "niveaueau"}, Kept{"2026-12-03 08:30:00", "niveaueau"}}) {
        StoredRun run = banc::test::StoredWaterLevelRun(recorded, kept.at, "PI");
        run.bench = kept.bench;
        ASSERT_EQ(history.Insert(run), "");
    }
    const auto numbers = [&](const RunFilter& filter) {
        std::vector<StoredRun> runs;
        EXPECT_EQ(history.List(filter, runs), "");
        std::vector<long long> listed;
        for (const StoredRun& run : runs) {
            listed.push_back(run.number);
            EXPECT_EQ(run.archive, "");
        }
        return listed;
    };
    // The same minute: the later number first.
    EXPECT_EQ(numbers({}), (std::vector<long long>{4, 2, 3, 1}));
    EXPECT_EQ(numbers({"niveaueau", "", std::nullopt}), (std::vector<long long>{4, 3, 1}));
    EXPECT_EQ(numbers({"", "2026-12-02", std::nullopt}), (std::vector<long long>{4, 2, 3}));
    EXPECT_EQ(numbers({"", "2026-12-02 14:01", std::nullopt}), (std::vector<long long>{4, 2}));
    EXPECT_EQ(numbers({"niveaueau", "2026-12-02", 1}), (std::vector<long long>{4}));
    EXPECT_EQ(numbers({"axnum", "", std::nullopt}), (std::vector<long long>{}));
}

TEST_F(HistoryTest, ACommentIsKeptAndARemovedRunsNumberIsNeverGivenAgain)
{
    banc::test::WaterLevelRun recorded(1, [](int) { return 20.0f; });
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    for (int i = 0; i < 2; ++i) {
        StoredRun run = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 10:00:00", "PI");
        ASSERT_EQ(history.Insert(run), "");
    }
    ASSERT_EQ(history.SetComment(1, "Trop lent, Kp \xE0 doubler"), "");
    StoredRun removed;
    ASSERT_EQ(history.Remove(2, removed), "");
    EXPECT_EQ(removed.number, 2);
    EXPECT_EQ(removed.startedAt, "2026-12-01 10:00:00");
    EXPECT_EQ(QuerySql(Base(), "SELECT count(*) FROM archives"), "1");
    StoredRun next = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 11:00:00", "PI");
    ASSERT_EQ(history.Insert(next), "");
    EXPECT_EQ(next.number, 3);
    StoredRun first;
    ASSERT_EQ(history.Read(1, first), "");
    EXPECT_EQ(first.comment, "Trop lent, Kp \xE0 doubler");
}

TEST_F(HistoryTest, ARunThatDoesNotExistIsRefusedByNumberAndBase)
{
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    const std::string absent = "L'essai 12 n'existe pas dans la base " + Base() + ".";
    StoredRun run;
    EXPECT_EQ(history.Read(12, run), absent);
    EXPECT_EQ(history.SetComment(12, "x"), absent);
    EXPECT_EQ(history.Remove(12, run), absent);
    RunHistory closed;
    EXPECT_EQ(closed.Read(1, run), "Aucune base d'essais n'est ouverte.");
}

TEST_F(HistoryTest, AFileThatIsNoBaseOfOursIsRefusedAndLeftAsItIs)
{
    const std::string text = m_folder.File("notes.txt");
    std::ofstream(text) << "Essai 1 : PI, Kp 2, trop lent. Essai 2 : PID, d\xE9passement de 12 %.\n"
                        << std::string(600, '.');
    const std::string foreign = m_folder.File("autre.sqlite");
    banc::test::ExecuteSql(foreign, "CREATE TABLE mesures (t REAL, v REAL); INSERT INTO mesures VALUES (0, 1);");
    const std::string newer = m_folder.File("future.sqlite");
    banc::test::ExecuteSql(newer,
                           "CREATE TABLE essais (numero INTEGER PRIMARY KEY); PRAGMA application_id = 1413629267;"
                           " PRAGMA user_version = 4;");
    struct Case {
        std::string path;
        std::string error;
    };
    const std::string opening = "Impossible d'ouvrir la base d'essais ";
    for (const Case& c :
         {Case{text, opening + text +
                         " : ce n'est pas une base SQLite (fichier d'une autre application, ou endommag\xE9), "
                         "il est laiss\xE9 tel quel."},
          Case{foreign, opening + foreign +
                            " : c'est une base SQLite d'une autre application, elle est laiss\xE9" "e "
                            "telle quelle."},
          Case{newer, opening + newer +
                          " : elle vient d'une version plus r\xE9" "cente de tarvic-banc (sch\xE9ma 4, "
                          "celle-ci lit jusqu'au 3), elle est laiss\xE9" "e telle quelle."},
          Case{m_folder.Path(), opening + m_folder.Path() + " : ce n'est pas un fichier."}}) {
        const std::string before = c.path == m_folder.Path() ? "" : ReadFile(c.path);
        RunHistory history;
        EXPECT_EQ(history.Open(c.path), c.error);
        StoredRun run;
        EXPECT_EQ(history.Insert(run), "Aucune base d'essais n'est ouverte.");
        if (c.path != m_folder.Path()) {
            EXPECT_EQ(ReadFile(c.path), before) << c.path;
        }
        // The run goes nowhere else: no base is made beside it.
        banc::test::WaterLevelRun recorded(1, [](int) { return 20.0f; });
        const KeptInHistory kept =
            KeepRun(recorded.settings, recorded.elements, Outcome{}, RunReport{}, {c.path, "", "", ""});
        EXPECT_EQ(kept.number, 0);
        EXPECT_EQ(kept.warning, c.error + " L'essai n'y est pas gard\xE9.");
    }
    EXPECT_EQ(banc::test::FolderEntries(m_folder.Path()),
              (std::vector<std::string>{"autre.sqlite", "future.sqlite", "notes.txt"}));
}

TEST_F(HistoryTest, ADamagedBaseSaysSoAndIsLeftAsItIs)
{
    banc::test::WaterLevelRun recorded(2, RampWithOvershoot);
    {
        RunHistory history;
        ASSERT_EQ(history.Open(Base()), "");
        for (int i = 0; i < 3; ++i) {
            StoredRun run = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 10:00:00", "PI");
            ASSERT_EQ(history.Insert(run), "");
        }
    }
    // The runs' table is on page 2, right after the header's page.
    std::string bytes = ReadFile(Base());
    ASSERT_GT(bytes.size(), 3 * 4096u);
    for (std::size_t i = 4096; i < 2 * 4096; ++i) bytes[i] = '\x5A';
    std::ofstream(Base(), std::ios::binary | std::ios::trunc) << bytes;
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    std::vector<StoredRun> runs;
    EXPECT_EQ(history.List({}, runs), "Impossible de lire la base d'essais " + Base() +
                                          " : le fichier est endommag\xE9, il est laiss\xE9 tel quel.");
    EXPECT_TRUE(runs.empty());
    StoredRun run = banc::test::StoredWaterLevelRun(recorded, "2026-12-02 10:00:00", "PI");
    EXPECT_EQ(history.Insert(run), "L'essai n'a pas pu \xEAtre gard\xE9 dans la base " + Base() +
                                       " : le fichier est endommag\xE9, il est laiss\xE9 tel quel.");
    EXPECT_EQ(ReadFile(Base()), bytes);
}

TEST_F(HistoryTest, TwoProcessesInsertingFiftyRunsEachAtOnceLoseNone)
{
    banc::test::WaterLevelRun recorded(2, RampWithOvershoot);
    StoredRun model = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 10:00:00", "PI");
    // Both wait at the gate, then make the base and insert together.
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (const char* user : {"premier", "second"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(gate[1]);
            char go;
            if (::read(gate[0], &go, 1) != 0) ::_exit(2);
            RunHistory history;
            if (!history.Open(Base()).empty()) ::_exit(3);
            int failures = 0;
            for (int i = 0; i < 50; ++i) {
                StoredRun run = model;
                run.user = user;
                run.comment = std::to_string(i);
                failures += history.Insert(run).empty() ? 0 : 1;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(gate[0]);
    ::close(gate[1]);  // opens the gate to both at once
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    RunHistory history;
    ASSERT_EQ(history.Open(Base()), "");
    std::vector<StoredRun> runs;
    ASSERT_EQ(history.List({}, runs), "");
    ASSERT_EQ(runs.size(), 100u);
    std::set<long long> numbers;
    std::set<std::string> kept;
    for (const StoredRun& run : runs) {
        numbers.insert(run.number);
        kept.insert(run.user + " " + run.comment);
    }
    EXPECT_EQ(numbers.size(), 100u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 100);
    EXPECT_EQ(kept.size(), 100u);  // each of the fifty of each
    StoredRun last;
    ASSERT_EQ(history.Read(100, last), "");
    EXPECT_EQ(last.archive, model.archive);
}

TEST_F(HistoryTest, AFullDiskDuringAnInsertionRollsItBackAndTheBaseStaysReadable)
{
    banc::test::SmallDisk disk(512);
    if (!disk.Mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted here (root only): no full disk to write on";
    banc::test::WaterLevelRun recorded(20, RampWithOvershoot);  // an archive of some 20 KiB
    const std::string base = disk.File("essais.sqlite");
    RunHistory history;
    ASSERT_EQ(history.Open(base), "");
    StoredRun first = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 10:00:00", "PI");
    ASSERT_EQ(history.Insert(first), "");
    disk.Fill();
    StoredRun second = banc::test::StoredWaterLevelRun(recorded, "2026-12-01 11:00:00", "PID");
    EXPECT_EQ(history.Insert(second),
              "L'essai n'a pas pu \xEAtre gard\xE9 dans la base " + base + " : le disque est plein.");
    EXPECT_EQ(second.number, 0);
    // Still full: what was kept reads as it was, by this console and by another.
    const auto readable = [&](RunHistory& reader) {
        std::vector<StoredRun> runs;
        ASSERT_EQ(reader.List({}, runs), "");
        ASSERT_EQ(runs.size(), 1u);
        StoredRun run;
        ASSERT_EQ(reader.Read(1, run), "");
        EXPECT_EQ(run.summary, "PI");
        EXPECT_EQ(run.archive, first.archive);
    };
    readable(history);
    RunHistory another;
    ASSERT_EQ(another.Open(base), "");
    readable(another);
    EXPECT_EQ(QuerySql(base, "PRAGMA integrity_check"), "ok");
}
