#include "engine/history/Schema.h"

#include <sqlite3.h>

#include <string>

namespace banc::history {
namespace {

// The first schema: every run in one row, its archive with it.
constexpr const char* kVersion1 =
    "CREATE TABLE essais ("
    " numero INTEGER PRIMARY KEY AUTOINCREMENT,"  // a number removed is never given again
    " date TEXT NOT NULL,"                         // local time, 'AAAA-MM-JJ HH:MM:SS'
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

// Migration n leads from version n to version n + 1; a new base goes through them all.
constexpr const char* kMigrations[] = {kVersion1, kVersion2};
static_assert(std::size(kMigrations) == kSchemaVersion);

int ReadInteger(Connection& base, const char* sql, long long& value)
{
    Statement statement(base, sql);
    if (statement.Prepared() != SQLITE_OK) return statement.Prepared();
    const int result = statement.Step();
    if (result != SQLITE_ROW) return result;
    value = statement.Integer(0);
    return SQLITE_OK;
}

}  // namespace

int ReadHeader(Connection& base, BaseHeader& header)
{
    long long application = 0, version = 0, objects = 0;
    for (const auto& [sql, value] : {std::pair{"PRAGMA application_id", &application},
                                     std::pair{"PRAGMA user_version", &version},
                                     std::pair{"SELECT count(*) FROM sqlite_schema", &objects}})
        if (const int result = ReadInteger(base, sql, *value); result != SQLITE_OK) return result;
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

}  // namespace banc::history
