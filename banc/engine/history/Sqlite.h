#pragma once

#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace banc::history {

// An SQLite connection, closed with its object.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The SQLite result code, SQLITE_OK (0) when open.
    int Open(const std::string& path);
    sqlite3* Handle() const { return m_db; }
    // Runs statements without results; the SQLite result code.
    int Execute(const char* sql);
    // The result code of the last failure on this connection, with the errno behind it.
    int ExtendedError() const;
    int SystemError() const;

private:
    sqlite3* m_db = nullptr;
};

// A prepared statement. Texts are bound and read as UTF-8, as stored.
class Statement {
public:
    Statement(const Connection& connection, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // The result code of the preparation, SQLITE_OK when it went well.
    int Prepared() const { return m_prepared; }
    // Parameters are counted from 1.
    void Bind(int index, std::string_view text);
    void Bind(int index, long long value);
    void Bind(int index, const std::optional<double>& value);
    void BindBlob(int index, std::string_view bytes);
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step();
    // Columns are counted from 0.
    std::string Text(int column) const;
    long long Integer(int column) const;
    std::optional<double> Real(int column) const;
    std::string Blob(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_prepared;
};

}  // namespace banc::history
