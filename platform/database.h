#pragma once
// The database engine: SQLite 3. Every value goes in as a bound parameter; no text is pasted into SQL.

#include <cstdint>
#include <functional>
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

// Called during a copy between database files with the step just done: "erste Seite" (the first page is
// written and the target's transaction is open) and "kopiert" (every page is written). Tests stop the process
// there.
using CopyStepHook = std::function<void(const std::string& step)>;

class Database {
  public:
    // Opens an existing SQLite file (never creates one). Nothing and *error set when it cannot be opened or
    // is not an SQLite database.
    static std::unique_ptr<Database> open(const std::string& path, std::string* error = nullptr);
    // Opens an existing database for reading only, refusing a path that leads through a symbolic link (a
    // backup's database).
    static std::unique_ptr<Database> openReadOnly(const std::string& path, std::string* error = nullptr);
    // Creates a new database file (fails when it exists).
    static std::unique_ptr<Database> create(const std::string& path, std::string* error = nullptr);
    // Writes a consistent copy of the database at `from` to `to` with the backup API (to is replaced
    // atomically). When the source could not be read (missing, damaged, held by a writer, a journal or log
    // left by a program that ended during a write), *sourceFailure gets the engine's result code.
    static bool backup(const std::string& from, const std::string& to, std::string* error = nullptr,
                       int* sourceFailure = nullptr, const CopyStepHook& afterStep = {});
    // Writes the whole database at `from` into the existing database `to`, in place and in one transaction of
    // `to`: every connection that holds `to` open, in this process or another, reads the new content at its
    // next read, and a crash at any moment leaves `to` old or new. A reader that keeps `to` locked is waited
    // for a few seconds; then false with the German cause, `to` unchanged. Neither path may lead through a
    // symbolic link.
    // *failure gets the engine's result code (isHeldDatabaseCode in failure_text.h tells a held database).
    static bool copyInto(const std::string& from, const std::string& to, std::string* error = nullptr,
                         int* failure = nullptr, const CopyStepHook& afterStep = {});
    // What the database holds, independent of its pages: a BLAKE2b-256 digest (64 hex digits) of its schema
    // and of every table's rows. A journal that a crashed writer left is rolled back first. Nothing and
    // *error when the file cannot be read; the path may not lead through a symbolic link.
    static std::optional<std::string> contentDigest(const std::string& path, std::string* error = nullptr);

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
    friend class DatabaseTransaction;  // rolls back without building a statement text that could throw
    explicit Database(sqlite3* handle, std::string path) : db_(handle), path_(std::move(path)) {}
    sqlite3* db_;
    std::string path_;
};

// Writes made while it is open reach the file together at commit(); one that ends without its commit rolls
// back, so none of them did.
class DatabaseTransaction {
  public:
    // "BEGIN IMMEDIATE" takes the write lock at once, so a file another program writes is refused here and
    // not half-way through.
    enum class Start { Deferred, Immediate };
    explicit DatabaseTransaction(Database& db, Start start = Start::Deferred, std::string* error = nullptr);
    ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;
    // False when the transaction could not begin.
    bool began() const { return open_; }
    // False (and the transaction still open, rolled back at the end) when the write could not be finished.
    bool commit(std::string* error = nullptr);
    // Ends it now without its writes.
    void rollback() noexcept;

  private:
    Database& db_;
    bool open_ = false;
};

}  // namespace pnl
