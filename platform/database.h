#pragma once
// The database engine: SQLite 3. Every value goes in as a bound parameter; no text is pasted into SQL.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;

namespace pnl {

// NULL, whole number, real number or text (UTF-8).
using DbValue = std::variant<std::monostate, std::int64_t, double, std::string>;
using DbRow = std::vector<DbValue>;

// Text form of a value as the program reads a column: NULL gives the empty text, numbers their decimal form.
std::string dbText(const DbValue& value);

class Database {
  public:
    // Opens an existing SQLite file (never creates one). Nothing and *error set when it cannot be opened or
    // is not an SQLite database.
    static std::unique_ptr<Database> open(const std::string& path, std::string* error = nullptr);
    // The same, but only for reading: the connection can change nothing in the file.
    static std::unique_ptr<Database> openReadOnly(const std::string& path, std::string* error = nullptr);
    // Creates a new database file (fails when it exists).
    static std::unique_ptr<Database> create(const std::string& path, std::string* error = nullptr);
    // Writes a consistent copy of the database at `from` to `to` with the backup API (to is replaced
    // atomically). When the source could not be read (missing, damaged, held by a writer, a journal or log
    // left by a program that ended during a write), *sourceFailure gets the engine's result code.
    static bool backup(const std::string& from, const std::string& to, std::string* error = nullptr,
                       int* sourceFailure = nullptr);
    // Makes the file at `path` stand alone before it is replaced by renaming: a hot journal left by a crashed
    // writer is rolled back and a write-ahead log is checkpointed into the file. False and *error when that
    // fails or another connection still uses the file (a journal or log still beside it), since that journal
    // or log would be played into whatever file takes the name.
    static bool settle(const std::string& path, std::string* error = nullptr);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool exec(const std::string& sql, const std::vector<DbValue>& params = {}, std::string* error = nullptr);
    // All result rows; nothing on error.
    std::optional<std::vector<DbRow>> query(const std::string& sql, const std::vector<DbValue>& params = {},
                                            std::string* error = nullptr);
    // The column names of a table in their order; empty when the table does not exist.
    std::vector<std::string> columns(const std::string& table);
    std::int64_t lastInsertId() const;
    const std::string& path() const { return path_; }

  private:
    explicit Database(sqlite3* handle, std::string path) : db_(handle), path_(std::move(path)) {}
    sqlite3* db_;
    std::string path_;
};

}  // namespace pnl
