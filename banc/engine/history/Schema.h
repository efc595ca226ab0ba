#pragma once

#include <string>

#include "engine/history/Sqlite.h"

namespace banc::history {

// What the base's header says of it ("PRAGMA application_id", "PRAGMA
// user_version"). The runs of a base of ours stay readable by every later
// version: a schema changes only through a migration from the one before.
inline constexpr int kApplicationId = 0x54424553;  // "TBES", the bench console's runs
inline constexpr int kSchemaVersion = 3;

enum class BaseKind {
    Empty,    // a new file, or an SQLite base without a table: ours to make
    Ours,     // of this schema or an older one, migrated on opening
    Newer,    // of a later version of the console: read by none of this one's code
    Foreign,  // another application's SQLite base
};
struct BaseHeader {
    BaseKind kind = BaseKind::Empty;
    int version = 0;
};

// Reads the header; the SQLite result code (SQLITE_NOTADB for a file that is
// not a base, SQLITE_CORRUPT...).
int ReadHeader(Connection& base, BaseHeader& header);

// Makes the tables of a new base, or migrates an older one to this schema, in
// one transaction that also reads the header again: two consoles opening one
// base at once make it once. The SQLite result code; nothing changed on a failure.
int BringUpToDate(Connection& base, BaseHeader& header);

// Reads the header and, for a base that is (or is to be) ours, brings it up
// to date and into write-ahead logging, so that two consoles write at once;
// a foreign or newer base is only read. A base another console is making or
// switching to its log is waited for up to the busy time-out.
int PrepareBase(Connection& base, BaseHeader& header);

}  // namespace banc::history
