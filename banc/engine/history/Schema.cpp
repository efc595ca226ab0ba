#include "engine/history/Schema.h"

#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>

#include "engine/history/BaseError.h"

namespace banc::history {
namespace {

// The first schema: every run in one row, its archive with it.
constexpr const char* kVersion1 =
    "CREATE TABLE essais ("
    " numero INTEGER PRIMARY KEY AUTOINCREMENT,"  // a number removed is never given again
    " date TEXT NOT NULL,"                        // local time, 'AAAA-MM-JJ HH:MM:SS'
    " utilisateur TEXT NOT NULL,"
    " poste TEXT NOT NULL,"
    " banc TEXT NOT NULL,"
    " mode TEXT NOT NULL,"
    " reglages TEXT NOT NULL,"
    " carte TEXT NOT NULL,"
    " issue TEXT NOT NULL CHECK (issue IN ('complet', 'interrompu', 'defaut-carte')),"
    " message_issue TEXT NOT NULL,"
    " valeur_finale REAL,"
    " depassement_pct REAL,"
    " unite_mesure TEXT NOT NULL,"
    " resultats_json TEXT NOT NULL,"
    " commentaire TEXT NOT NULL DEFAULT '',"
    " archive BLOB NOT NULL);";

// The second: the archives in a table of their own, so that a list of runs
// does not page through their curves; indexes for the lists by date and bench.
constexpr const char* kVersion2 =
    "CREATE TABLE archives ("
    " essai INTEGER PRIMARY KEY REFERENCES essais (numero) ON DELETE CASCADE,"
    " octets BLOB NOT NULL);"
    "INSERT INTO archives (essai, octets) SELECT numero, archive FROM essais;"
    "ALTER TABLE essais DROP COLUMN archive;"
    "CREATE INDEX essais_par_date ON essais (date);"
    "CREATE INDEX essais_par_banc ON essais (banc, date);";

// The third: the runs the room view collects from a room's benches, tagged
// with their room, and with their own end time as a bench's history knows
// them, so that a run heard twice (retained, or delivered again after a
// reconnection) is kept once.
constexpr const char* kVersion3 =
    "ALTER TABLE essais ADD COLUMN salle TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE essais ADD COLUMN origine TEXT NOT NULL DEFAULT '';"
    "CREATE UNIQUE INDEX essais_par_origine ON essais (salle, poste, origine) WHERE origine <> '';";

// Migration n leads from version n to version n + 1; a new base goes through them all.
constexpr const char* kMigrations[] = {kVersion1, kVersion2, kVersion3};
static_assert(std::size(kMigrations) == kSchemaVersion);

}  // namespace

int ReadHeader(Connection& base, BaseHeader& header)
{
    // One statement, one snapshot: never a half-made base seen by another console making it.
    Statement read(base,
                   "SELECT (SELECT application_id FROM pragma_application_id),"
                   " (SELECT user_version FROM pragma_user_version), (SELECT count(*) FROM sqlite_schema)");
    if (read.Prepared() != SQLITE_OK) return read.Prepared();
    if (const int result = read.Step(); result != SQLITE_ROW) return result;
    const long long application = read.Integer(0), version = read.Integer(1), objects = read.Integer(2);
    header.version = static_cast<int>(version);
    if (application == kApplicationId)
        header.kind = version > kSchemaVersion ? BaseKind::Newer : BaseKind::Ours;
    else
        header.kind = application == 0 && version == 0 && objects == 0 ? BaseKind::Empty : BaseKind::Foreign;
    return SQLITE_OK;
}

int BringUpToDate(Connection& base, BaseHeader& header)
{
    if (header.kind == BaseKind::Ours && header.version == kSchemaVersion) return SQLITE_OK;
    if (const int result = base.Execute("BEGIN IMMEDIATE"); result != SQLITE_OK) return result;
    int result = ReadHeader(base, header);
    if (result == SQLITE_OK && (header.kind == BaseKind::Empty || header.kind == BaseKind::Ours)) {
        for (int version = header.version; result == SQLITE_OK && version < kSchemaVersion; ++version)
            result = base.Execute(kMigrations[version]);
        if (result == SQLITE_OK)
            result = base.Execute(("PRAGMA application_id = " + std::to_string(kApplicationId) +
                                   "; PRAGMA user_version = " + std::to_string(kSchemaVersion))
                                      .c_str());
        if (result == SQLITE_OK) header = {BaseKind::Ours, kSchemaVersion};
    }
    if (result == SQLITE_OK) result = base.Execute("COMMIT");
    if (result != SQLITE_OK) base.Execute("ROLLBACK");
    return result;
}

int PrepareBase(Connection& base, BaseHeader& header)
{
    const auto prepare = [&] {
        int result = ReadHeader(base, header);
        if (result == SQLITE_OK && (header.kind == BaseKind::Empty || header.kind == BaseKind::Ours))
            result = BringUpToDate(base, header);
        if (result == SQLITE_OK && header.kind == BaseKind::Ours)
            result = base.Execute("PRAGMA journal_mode = WAL; PRAGMA foreign_keys = ON");
        return result;
    };
    // Switching a base to its log takes it whole for a moment, and SQLite
    // does not wait for that itself as it waits for a transaction.
    constexpr auto kPause = std::chrono::milliseconds(10);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    int result = prepare();
    while (((result & 0xFF) == SQLITE_BUSY || (result & 0xFF) == SQLITE_LOCKED) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPause);
        result = prepare();
    }
    return result;
}

}  // namespace banc::history
