#include "engine/history/RunHistory.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QString>

#include <tarvic/platform/Text.h>

#include <cstdlib>
#include <filesystem>

#include "engine/history/BaseError.h"
#include "engine/history/Schema.h"
#include "engine/history/Sqlite.h"

namespace banc::history {
namespace {

// The columns of a run in a list, then its archive for a whole run.
constexpr const char* kRunColumns =
    "numero, date, utilisateur, poste, banc, mode, reglages, carte, issue, message_issue, valeur_finale, "
    "depassement_pct, unite_mesure, resultats_json, commentaire, salle, origine";
constexpr int kArchiveColumn = 17;

struct OutcomeName {
    RunOutcome outcome;
    const char* name;
};
constexpr OutcomeName kOutcomes[] = {{RunOutcome::Complete, "complet"},
                                     {RunOutcome::Interrupted, "interrompu"},
                                     {RunOutcome::CardFault, "defaut-carte"}};

const char* NameOf(RunOutcome outcome)
{
    for (const OutcomeName& named : kOutcomes)
        if (named.outcome == outcome) return named.name;
    return "";
}

// An unknown name is a fault: said so rather than taken for a complete run.
RunOutcome OutcomeNamed(const std::string& name)
{
    for (const OutcomeName& named : kOutcomes)
        if (name == named.name) return named.outcome;
    return RunOutcome::CardFault;
}

// The base holds UTF-8; the engine's texts are Latin-1.
std::string Utf8(const std::string& latin1) { return tarvic::Latin1ToUtf8(latin1); }
std::string Latin1(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toLatin1().toStdString();
}

void ReadRun(const Statement& row, StoredRun& run)
{
    run.number = row.Integer(0);
    run.startedAt = Latin1(row.Text(1));
    run.user = Latin1(row.Text(2));
    run.host = Latin1(row.Text(3));
    run.bench = Latin1(row.Text(4));
    run.mode = Latin1(row.Text(5));
    run.summary = Latin1(row.Text(6));
    run.card = Latin1(row.Text(7));
    run.outcome = OutcomeNamed(row.Text(8));
    run.outcomeText = Latin1(row.Text(9));
    run.finalValue = row.Real(10);
    run.overshootPct = row.Real(11);
    run.measureUnit = Latin1(row.Text(12));
    run.resultsJson = row.Text(13);
    run.comment = Latin1(row.Text(14));
    run.room = Latin1(row.Text(15));
    run.origin = Latin1(row.Text(16));
}

std::string NotFound(long long number, const std::string& path)
{
    return tarvic::Format("L'essai %lld n'existe pas dans la base %s.", number, path.c_str());
}

// The user's data folder, where the console's base and the room view's are by default.
bool InDataFolder(const std::string& path)
{
    return std::filesystem::path(path).parent_path() == std::filesystem::path(RunHistory::DefaultPath()).parent_path();
}

}  // namespace

struct RunHistory::Base {
    Connection connection;
    std::string path;

    std::string Failure(const char* what, int code) const
    {
        return tarvic::Format("%s %s : %s.", what, path.c_str(),
                              BaseErrorReason(code, connection.SystemError()).c_str());
    }
    std::string Failure(const char* what) const { return Failure(what, connection.ExtendedError()); }
    // Ends a transaction: committed when everything in it went well, else rolled back.
    int Finish(int result)
    {
        if (result == SQLITE_OK || result == SQLITE_DONE) result = connection.Execute("COMMIT");
        if (result != SQLITE_OK) connection.Execute("ROLLBACK");
        return result;
    }
};

RunHistory::RunHistory() = default;
RunHistory::~RunHistory() = default;

std::string RunHistory::DefaultPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string folder =
        data && *data == '/' ? std::string(data) : std::string(home ? home : "") + "/.local/share";
    return folder + "/tarvic/essais.sqlite";
}

const std::string& RunHistory::Path() const
{
    static const std::string none;
    return m_base ? m_base->path : none;
}

std::string RunHistory::Open(const std::string& path)
{
    m_base.reset();
    auto base = std::make_unique<Base>();
    base->path = path;
    const char* kOpening = "Impossible d'ouvrir la base d'essais";
    struct stat file{};
    if (::stat(path.c_str(), &file) == 0 && !S_ISREG(file.st_mode))
        return tarvic::Format("%s %s : ce n'est pas un fichier.", kOpening, path.c_str());
    if (InDataFolder(path)) {
        // The user's data folder may not be there yet on a fresh account.
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    }
    if (const int result = base->connection.Open(path); result != SQLITE_OK) return base->Failure(kOpening, result);
    sqlite3_busy_timeout(base->connection.Handle(), kBusyTimeoutMs);
    BaseHeader header;
    if (const int result = PrepareBase(base->connection, header); result != SQLITE_OK)
        return base->Failure(kOpening, result);
    if (header.kind == BaseKind::Foreign)
        return tarvic::Format(
            "%s %s : c'est une base SQLite d'une autre application, elle est laiss\xE9" "e telle "
            "quelle.",
            kOpening, path.c_str());
    if (header.kind == BaseKind::Newer)
        return tarvic::Format(
            "%s %s : elle vient d'une version plus r\xE9" "cente de tarvic-banc (sch\xE9ma %d, "
            "celle-ci lit jusqu'au %d), elle est laiss\xE9" "e telle quelle.",
            kOpening, path.c_str(), header.version, kSchemaVersion);
    m_base = std::move(base);
    return {};
}

std::string RunHistory::Insert(StoredRun& run)
{
    if (!m_base) return "Aucune base d'essais n'est ouverte.";
    const char* kNotKept = "L'essai n'a pas pu \xEAtre gard\xE9 dans la base";
    Connection& connection = m_base->connection;
    if (connection.Execute("BEGIN IMMEDIATE") != SQLITE_OK) return m_base->Failure(kNotKept);
    long long number = 0;
    int result = SQLITE_DONE;
    bool kept = false;  // the same run from the same place, kept before
    if (!run.origin.empty()) {
        // Looked for first, in the transaction: an insertion refused would still use up a number.
        Statement find(connection, "SELECT numero FROM essais WHERE salle = ? AND poste = ? AND origine = ?");
        find.Bind(1, Utf8(run.room));
        find.Bind(2, Utf8(run.host));
        find.Bind(3, Utf8(run.origin));
        const int found = find.Step();
        kept = found == SQLITE_ROW;
        if (kept)
            number = find.Integer(0);
        else if (found != SQLITE_DONE)
            result = found;
    }
    if (!kept && result == SQLITE_DONE) {
        Statement insert(
            connection,
            "INSERT INTO essais (date, utilisateur, poste, banc, mode, reglages, carte, issue, message_issue, "
            "valeur_finale, depassement_pct, unite_mesure, resultats_json, commentaire, salle, origine) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        int i = 0;
        for (const std::string* text :
             {&run.startedAt, &run.user, &run.host, &run.bench, &run.mode, &run.summary, &run.card})
            insert.Bind(++i, Utf8(*text));
        insert.Bind(++i, std::string_view(NameOf(run.outcome)));
        insert.Bind(++i, Utf8(run.outcomeText));
        insert.Bind(++i, run.finalValue);
        insert.Bind(++i, run.overshootPct);
        insert.Bind(++i, Utf8(run.measureUnit));
        insert.Bind(++i, std::string_view(run.resultsJson));
        insert.Bind(++i, Utf8(run.comment));
        insert.Bind(++i, Utf8(run.room));
        insert.Bind(++i, Utf8(run.origin));
        result = insert.Step();
        if (result == SQLITE_DONE) {
            number = sqlite3_last_insert_rowid(connection.Handle());
            Statement archive(connection, "INSERT INTO archives (essai, octets) VALUES (?, ?)");
            archive.Bind(1, number);
            archive.BindBlob(2, run.archive);
            result = archive.Step();
        }
    }
    // The reason is read before the rollback, which would put its own in its place.
    const std::string failure = result == SQLITE_DONE ? std::string() : m_base->Failure(kNotKept);
    result = m_base->Finish(result);
    if (!failure.empty()) return failure;
    if (result != SQLITE_OK) return m_base->Failure(kNotKept, result);
    run.number = number;
    return {};
}

std::string RunHistory::List(const RunFilter& filter, std::vector<StoredRun>& runs)
{
    runs.clear();
    if (!m_base) return "Aucune base d'essais n'est ouverte.";
    const std::string sql = std::string("SELECT ") + kRunColumns +
                            " FROM essais WHERE (?1 = '' OR banc = ?1) AND date >= ?2"
                            " ORDER BY date DESC, numero DESC LIMIT ?3";
    Statement list(m_base->connection, sql.c_str());
    list.Bind(1, Utf8(filter.bench));
    list.Bind(2, Utf8(filter.since));
    list.Bind(3, static_cast<long long>(filter.limit.value_or(-1)));
    int result = SQLITE_OK;
    while ((result = list.Step()) == SQLITE_ROW) ReadRun(list, runs.emplace_back());
    if (result == SQLITE_DONE) return {};
    runs.clear();
    return m_base->Failure("Impossible de lire la base d'essais");
}

std::string RunHistory::Read(long long number, StoredRun& run)
{
    if (!m_base) return "Aucune base d'essais n'est ouverte.";
    const std::string sql = std::string("SELECT ") + kRunColumns +
                            ", octets FROM essais LEFT JOIN archives ON essai = numero WHERE numero = ?";
    Statement read(m_base->connection, sql.c_str());
    read.Bind(1, number);
    const int result = read.Step();
    if (result == SQLITE_DONE) return NotFound(number, m_base->path);
    if (result != SQLITE_ROW) return m_base->Failure("Impossible de lire la base d'essais");
    ReadRun(read, run);
    run.archive = read.Blob(kArchiveColumn);
    return {};
}

std::string RunHistory::SetComment(long long number, const std::string& comment)
{
    if (!m_base) return "Aucune base d'essais n'est ouverte.";
    Statement update(m_base->connection, "UPDATE essais SET commentaire = ? WHERE numero = ?");
    update.Bind(1, Utf8(comment));
    update.Bind(2, number);
    if (update.Step() != SQLITE_DONE) return m_base->Failure("Impossible de modifier la base d'essais");
    if (sqlite3_changes(m_base->connection.Handle()) == 0) return NotFound(number, m_base->path);
    return {};
}

std::string RunHistory::Remove(long long number, StoredRun& removed)
{
    if (!m_base) return "Aucune base d'essais n'est ouverte.";
    const char* kNotRemoved = "Impossible de modifier la base d'essais";
    Connection& connection = m_base->connection;
    if (connection.Execute("BEGIN IMMEDIATE") != SQLITE_OK) return m_base->Failure(kNotRemoved);
    int result = SQLITE_OK;
    bool found = false;
    {
        const std::string sql = std::string("SELECT ") + kRunColumns + " FROM essais WHERE numero = ?";
        Statement read(connection, sql.c_str());
        read.Bind(1, number);
        result = read.Step();
        found = result == SQLITE_ROW;
        if (found) ReadRun(read, removed);
    }
    if (found) {
        // The archive goes with its run, whether the cascade is on or not.
        Statement archive(connection, "DELETE FROM archives WHERE essai = ?");
        archive.Bind(1, number);
        result = archive.Step();
        if (result == SQLITE_DONE) {
            Statement run(connection, "DELETE FROM essais WHERE numero = ?");
            run.Bind(1, number);
            result = run.Step();
        }
    }
    const bool failed = result != SQLITE_DONE && result != SQLITE_ROW;
    const std::string failure = failed ? m_base->Failure(kNotRemoved) : std::string();
    result = m_base->Finish(failed ? result : SQLITE_OK);
    if (!failure.empty()) return failure;
    if (result != SQLITE_OK) return m_base->Failure(kNotRemoved, result);
    if (!found) return NotFound(number, m_base->path);
    return {};
}

}  // namespace banc::history
