#include "platform/database.h"

#include <errno.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sodium.h>

#include <charconv>
#include <chrono>
#include <random>

#include "platform/descriptor.h"
#include "platform/failure_text.h"

namespace pnl {

namespace {

constexpr int kBusyTimeoutMs = 2000;
// How long a copy between database files waits for a lock that another connection holds.
constexpr int kLockWaitMs = 3000;

void setError(std::string* error, const std::string& text) {
    if (error)
        *error = text;
}

// The engine's own message is English: the user gets the German cause of its result code.
std::string messageOf(sqlite3* db) {
    return databaseFailureText(db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM);
}

// Opens the file and proves it is an SQLite database: sqlite3_open only reads the header on first use.
sqlite3* openChecked(const std::string& path, int flags, std::string* error, int* failureCode = nullptr) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (failureCode)
            *failureCode = db ? sqlite3_extended_errcode(db) : rc;
        setError(error, path + ": " + messageOf(db));
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        if (failureCode)
            *failureCode = sqlite3_extended_errcode(db);
        setError(error, path + ": " + messageOf(db));
        sqlite3_close_v2(db);
        return nullptr;
    }
    return db;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool bind(sqlite3_stmt* stmt, const std::vector<DbValue>& params) {
    if (sqlite3_bind_parameter_count(stmt) != static_cast<int>(params.size()))
        return false;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        int rc = SQLITE_OK;
        const DbValue& v = params[i];
        if (std::holds_alternative<std::monostate>(v)) {
            rc = sqlite3_bind_null(stmt, index);
        } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
            rc = sqlite3_bind_int64(stmt, index, *n);
        } else if (const auto* d = std::get_if<double>(&v)) {
            rc = sqlite3_bind_double(stmt, index, *d);
        } else {
            const auto& s = std::get<std::string>(v);
            rc = sqlite3_bind_text64(stmt, index, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

DbValue columnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return static_cast<std::int64_t>(sqlite3_column_int64(stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, column);
        case SQLITE_NULL:
            return std::monostate{};
        default: {
            const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt, column));
            const int size = sqlite3_column_bytes(stmt, column);
            return std::string(text ? text : "", static_cast<std::size_t>(size));
        }
    }
}

// Runs the statements of sql in turn, collecting the rows of the last one when asked. Values are bound to a
// single statement only; a script of several statements takes no values.
bool run(sqlite3* db, const std::string& sql, const std::vector<DbValue>& params, std::vector<DbRow>* rows,
         std::string* error) {
    const char* next = sql.c_str();
    const char* const end = next + sql.size();
    bool first = true;
    while (next < end) {
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db, next, static_cast<int>(end - next), &stmt, &tail) != SQLITE_OK) {
            setError(error, messageOf(db));
            return false;
        }
        next = tail;
        if (!stmt)
            continue;  // only blanks or a comment
        if (!params.empty() && !first) {
            sqlite3_finalize(stmt);
            setError(error, "Werte können nur an eine einzelne Anweisung gebunden werden.");
            return false;
        }
        first = false;
        if (!bind(stmt, params)) {
            sqlite3_finalize(stmt);
            setError(error, "Die Werte passen nicht zu den Platzhaltern der Anweisung.");
            return false;
        }
        if (rows)
            rows->clear();
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!rows)
                continue;
            DbRow row;
            const int n = sqlite3_column_count(stmt);
            row.reserve(static_cast<std::size_t>(n));
            for (int c = 0; c < n; ++c)
                row.push_back(columnValue(stmt, c));
            rows->push_back(std::move(row));
        }
        if (rc != SQLITE_DONE)
            setError(error, messageOf(db));
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            return false;
    }
    return true;
}

// Copies every page of `source` into `target` in one transaction of the target, waiting a few seconds for a
// lock that another connection holds. SQLITE_DONE, or the result code that stopped it (the target is then
// as it was).
int copyPages(sqlite3* source, sqlite3* target, const CopyStepHook& afterStep) {
    sqlite3_backup* copy = sqlite3_backup_init(target, "main", source, "main");
    if (!copy)
        return sqlite3_extended_errcode(target);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
    bool first = true;
    int rc;
    for (;;) {
        rc = sqlite3_backup_step(copy, first ? 1 : -1);
        if (rc == SQLITE_OK) {  // pages remain
            if (first && afterStep)
                afterStep("erste Seite");
            first = false;
        } else if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) ||
                   std::chrono::steady_clock::now() >= deadline) {
            break;
        } else {
            sqlite3_sleep(50);
        }
    }
    const int finished = sqlite3_backup_finish(copy);
    if (rc == SQLITE_DONE && finished != SQLITE_OK)
        rc = finished;
    if (rc == SQLITE_DONE && afterStep)
        afterStep("kopiert");
    return rc;
}

// A tag and a number of eight bytes: a count, an integer value or the length of the bytes that follow.
void hashNumber(crypto_generichash_state* state, char tag, std::uint64_t number) {
    unsigned char head[9] = {static_cast<unsigned char>(tag)};
    for (int i = 0; i < 8; ++i)
        head[1 + i] = static_cast<unsigned char>(number >> (8 * i));
    crypto_generichash_update(state, head, sizeof head);
}

void hashBytes(crypto_generichash_state* state, char tag, const void* data, std::uint64_t size) {
    hashNumber(state, tag, size);
    if (size > 0)
        crypto_generichash_update(state, static_cast<const unsigned char*>(data), size);
}

// Hashes every row of a statement, each value with its type, so that no two contents share a digest.
bool hashRows(crypto_generichash_state* state, sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(stmt);
        hashNumber(state, 'R', static_cast<std::uint64_t>(columns));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER: {
                    hashNumber(state, 'I', static_cast<std::uint64_t>(sqlite3_column_int64(stmt, c)));
                    break;
                }
                case SQLITE_FLOAT: {
                    const double d = sqlite3_column_double(stmt, c);
                    hashBytes(state, 'F', &d, sizeof d);
                    break;
                }
                case SQLITE_NULL:
                    hashNumber(state, 'N', 0);
                    break;
                case SQLITE_TEXT:
                    hashBytes(state, 'T', sqlite3_column_text(stmt, c),
                              static_cast<std::uint64_t>(sqlite3_column_bytes(stmt, c)));
                    break;
                default:
                    hashBytes(state, 'B', sqlite3_column_blob(stmt, c),
                              static_cast<std::uint64_t>(sqlite3_column_bytes(stmt, c)));
                    break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

// A table's name cannot be bound as a value: it goes into the statement as a quoted identifier.
std::string quotedIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::optional<std::string> digestOfContent(sqlite3* db) {
    if (sodium_init() < 0)
        return std::nullopt;
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES);
    if (!hashRows(&state, db, "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"))
        return std::nullopt;
    std::vector<DbRow> tables;
    if (!run(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", {}, &tables, nullptr))
        return std::nullopt;
    for (const auto& table : tables) {
        const std::string name = dbText(table.at(0));
        hashBytes(&state, 'S', name.data(), name.size());
        if (!hashRows(&state, db, "SELECT * FROM " + quotedIdentifier(name)))
            return std::nullopt;
    }
    unsigned char hash[crypto_generichash_BYTES];
    crypto_generichash_final(&state, hash, sizeof hash);
    char hex[crypto_generichash_BYTES * 2 + 1];
    sodium_bin2hex(hex, sizeof hex, hash, sizeof hash);
    return std::string(hex);
}

}  // namespace

std::string dbText(const DbValue& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return std::to_string(*n);
    if (const auto* d = std::get_if<double>(&value)) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *d);
        return std::string(buffer, result.ptr);
    }
    if (const auto* s = std::get_if<std::string>(&value))
        return *s;
    return {};
}

namespace {

sqlite3* openExisting(const std::string& path, int flags, std::string* error) {
    if (!fileExists(path)) {
        setError(error, path + ": " + systemFailureText(ENOENT));
        return nullptr;
    }
    return openChecked(path, flags, error);
}

}  // namespace

std::unique_ptr<Database> Database::open(const std::string& path, std::string* error) {
    sqlite3* db = openExisting(path, SQLITE_OPEN_READWRITE, error);
    return db ? std::unique_ptr<Database>(new Database(db, path)) : nullptr;
}

std::unique_ptr<Database> Database::openReadOnly(const std::string& path, std::string* error) {
    sqlite3* db = openChecked(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, error);
    if (!db)
        return nullptr;
    return std::unique_ptr<Database>(new Database(db, path));
}

std::unique_ptr<Database> Database::create(const std::string& path, std::string* error) {
    if (fileExists(path)) {
        setError(error, path + ": " + systemFailureText(EEXIST));
        return nullptr;
    }
    sqlite3* db = openChecked(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!db)
        return nullptr;
    return std::unique_ptr<Database>(new Database(db, path));
}

bool Database::backup(const std::string& from, const std::string& to, std::string* error, int* sourceFailure,
                      const CopyStepHook& afterStep) {
    if (!fileExists(from)) {
        setError(error, from + ": " + systemFailureText(ENOENT));
        if (sourceFailure)
            *sourceFailure = SQLITE_CANTOPEN;
        return false;
    }
    int openFailure = SQLITE_OK;
    sqlite3* source = openChecked(from, SQLITE_OPEN_READONLY, error, &openFailure);
    if (!source) {
        if (sourceFailure)
            *sourceFailure = openFailure;
        return false;
    }

    std::random_device random;
    const std::string temp =
        to + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 100000000u);
    sqlite3* target = nullptr;
    bool ok = sqlite3_open_v2(temp.c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) ==
              SQLITE_OK;
    if (ok) {
        const int rc = copyPages(source, target, afterStep);
        ok = rc == SQLITE_DONE;
        // A damaged page or a writer holding the file is the source's failure; the rest is the copy's.
        const bool fromSource = isDamagedDatabaseCode(rc) || rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
        if (!ok && fromSource && sourceFailure)
            *sourceFailure = rc;
        if (!ok)
            setError(error, (fromSource ? from : to) + ": " + databaseFailureText(rc));
    } else {
        setError(error, to + ": " + messageOf(target));
    }
    sqlite3_close_v2(target);
    sqlite3_close_v2(source);

    if (ok) {
        // Flush the copy before it takes the target's name.
        const Descriptor fd(::open(temp.c_str(), O_RDONLY | O_CLOEXEC));
        ok = fd.valid() && ::fsync(fd.get()) == 0;
        if (!ok)
            setError(error, to + ": " + systemFailureText(errno));
    }
    if (ok && ::rename(temp.c_str(), to.c_str()) != 0) {
        ok = false;
        setError(error, to + ": " + systemFailureText(errno));
    }
    if (!ok) {
        ::unlink(temp.c_str());
        ::unlink((temp + "-journal").c_str());
    }
    return ok;
}

bool Database::copyInto(const std::string& from, const std::string& to, std::string* error, int* failure,
                        const CopyStepHook& afterStep) {
    int rc = SQLITE_OK;
    sqlite3* source = openChecked(from, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW, error, &rc);
    if (!source) {
        if (failure)
            *failure = rc;
        return false;
    }
    // Opening reads the schema, which rolls back a journal that a crashed writer left.
    sqlite3* target = openChecked(to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, error, &rc);
    bool ok = target != nullptr;
    if (ok) {
        // The copy's own loop waits for the readers of the target.
        sqlite3_busy_timeout(target, 100);
        sqlite3_exec(target, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
        rc = copyPages(source, target, afterStep);
        ok = rc == SQLITE_DONE;
        if (!ok)
            setError(error, to + ": " + databaseFailureText(rc));
    }
    if (!ok && failure)
        *failure = rc;
    sqlite3_close_v2(target);
    sqlite3_close_v2(source);
    return ok;
}

std::optional<std::string> Database::contentDigest(const std::string& path, std::string* error) {
    // Read and write: a hot journal is rolled back on the first read, which a read-only connection cannot.
    sqlite3* db = openChecked(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, error);
    if (!db)
        return std::nullopt;
    std::optional<std::string> digest;
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK) {
        digest = digestOfContent(db);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (!digest)
        setError(error, path + ": " + messageOf(db));
    sqlite3_close_v2(db);
    return digest;
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

bool Database::exec(const std::string& sql, const std::vector<DbValue>& params, std::string* error) {
    return run(db_, sql, params, nullptr, error);
}

std::optional<std::vector<DbRow>> Database::query(const std::string& sql, const std::vector<DbValue>& params,
                                                  std::string* error) {
    std::vector<DbRow> rows;
    if (!run(db_, sql, params, &rows, error))
        return std::nullopt;
    return rows;
}

std::vector<std::string> Database::columns(const std::string& table) {
    std::vector<std::string> names;
    const auto rows = query("SELECT name FROM pragma_table_info(?) ORDER BY cid", {table});
    if (!rows)
        return names;
    for (const auto& row : *rows)
        names.push_back(dbText(row.at(0)));
    return names;
}

std::int64_t Database::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

DatabaseTransaction::DatabaseTransaction(Database& db, Start start, std::string* error) : db_(db) {
    open_ = db_.exec(start == Start::Immediate ? "BEGIN IMMEDIATE" : "BEGIN", {}, error);
}

DatabaseTransaction::~DatabaseTransaction() {
    rollback();
}

bool DatabaseTransaction::commit(std::string* error) {
    if (!open_ || !db_.exec("COMMIT", {}, error))
        return false;
    open_ = false;
    return true;
}

void DatabaseTransaction::rollback() noexcept {
    if (open_)
        sqlite3_exec(db_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    open_ = false;
}

}  // namespace pnl
