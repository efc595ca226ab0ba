#include "engine/history/Sqlite.h"

#include <sqlite3.h>

namespace banc::history {

Connection::~Connection() { sqlite3_close_v2(m_db); }

int Connection::Open(const std::string& path)
{
    // Without SQLITE_OPEN_URI a name is a file's name, whatever it looks like.
    const int result = sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (m_db) sqlite3_extended_result_codes(m_db, 1);
    return result;
}

int Connection::Execute(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

int Connection::ExtendedError() const { return m_db ? sqlite3_extended_errcode(m_db) : SQLITE_NOMEM; }

int Connection::SystemError() const { return m_db ? sqlite3_system_errno(m_db) : 0; }

Statement::Statement(const Connection& connection, const char* sql)
    : m_prepared(sqlite3_prepare_v2(connection.Handle(), sql, -1, &m_statement, nullptr))
{
}

Statement::~Statement() { sqlite3_finalize(m_statement); }

void Statement::Bind(int index, std::string_view text)
{
    sqlite3_bind_text64(m_statement, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void Statement::Bind(int index, long long value) { sqlite3_bind_int64(m_statement, index, value); }

void Statement::Bind(int index, const std::optional<double>& value)
{
    if (value)
        sqlite3_bind_double(m_statement, index, *value);
    else
        sqlite3_bind_null(m_statement, index);
}

void Statement::BindBlob(int index, std::string_view bytes)
{
    sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
}

int Statement::Step() { return m_statement ? sqlite3_step(m_statement) : m_prepared; }

std::string Statement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)))
                : std::string();
}

long long Statement::Integer(int column) const { return sqlite3_column_int64(m_statement, column); }

std::optional<double> Statement::Real(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_NULL) return std::nullopt;
    return sqlite3_column_double(m_statement, column);
}

std::string Statement::Blob(int column) const
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)))
                 : std::string();
}

}  // namespace banc::history
