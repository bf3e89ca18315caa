#include "app/resident_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "app/text.h"

namespace pnl {

namespace {

enum Column : std::size_t {
    kId,
    kName,
    kFirstName,
    kApartment,
    kSerial,
    kTrigger,
    kCode,
    kStations,
    kColumnCount
};
constexpr std::array<const char*, kColumnCount> kColumnNames{"ID",    "Name",       "Vorname", "Wnr",
                                                             "sernr", "AUSLOESUNG", "code",    "PNL"};

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

std::optional<std::size_t> columnOf(const std::string& name) {
    for (std::size_t c = 0; c < kColumnCount; ++c)
        if (sameName(name, kColumnNames[c]))
            return c;
    return std::nullopt;
}

// Names come from the file's own schema; quoting keeps any of them a plain identifier.
std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::optional<std::int64_t> wholeNumber(const std::string& text) {
    std::int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::int64_t integerOf(const DbValue& value) {
    if (const auto* n = std::get_if<std::int64_t>(&value))
        return *n;
    return wholeNumber(dbText(value)).value_or(0);
}

// The one reader of a row: the texts of the program's columns (empty for NULL and for a column the table
// lacks) decoded into a Resident.
Resident residentOf(const std::array<std::string, kColumnCount>& text) {
    Resident resident;
    resident.id = wholeNumber(text[kId]);
    resident.name = text[kName];
    resident.firstName = text[kFirstName];
    resident.apartment = text[kApartment];
    if (!text[kSerial].empty())
        resident.serial = leadingNumber(text[kSerial]);
    resident.secondSerial = decodeSecondSerial(text[kTrigger]);
    resident.code = decodeCode(text[kCode]);
    resident.stations = decodeStations(text[kStations]);
    return resident;
}

// The one writer of a row: the value of each program column (the ID is never written).
std::array<DbValue, kColumnCount> columnValues(const Resident& resident) {
    std::array<DbValue, kColumnCount> values;  // NULL unless set
    values[kName] = resident.name;
    values[kFirstName] = resident.firstName;
    values[kApartment] = resident.apartment;
    if (resident.serial)
        values[kSerial] = *resident.serial;
    values[kTrigger] = encodeSecondSerial(resident.secondSerial);
    values[kCode] = resident.code;
    values[kStations] = encodeStations(resident.stations);
    return values;
}

// What tells whether the file changed behind the cursor: this connection's own writes, other connections'
// commits, and schema changes.
struct Stamp {
    std::int64_t changes = -1, dataVersion = -1, schemaVersion = -1;
};

}  // namespace

struct ResidentTable::Impl {
    struct Row {
        std::int64_t key = 0;  // rowid
        Resident resident;
    };

    explicit Impl(Database& database) : db(database) {}

    Database& db;
    bool bound = false;
    std::string table;  // quoted name of the table as the file spells it
    std::array<std::string, kColumnCount>
        columns;  // SQL of each program column; empty when the table lacks it
    bool idIsRowid = false;
    std::string selectList;
    std::vector<Row> rows;
    std::size_t pos = 0;
    bool onDeleted = false;  // the row the cursor stood on was deleted; pos is the row that followed it
    bool noMatch = false;
    Stamp stamp;
    std::optional<DatabaseTransaction> transaction;  // between begin() and commit() or rollback()
    std::uint64_t revision = 0;                      // counts the changes of `rows`

    void bind() {
        bound = false;
        rows.clear();
        const auto found =
            db.query("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
                     {std::string(kResidentTable)});
        if (!found || found->empty())
            return;
        const std::string tableName = dbText(found->front().at(0));
        table = quoted(tableName);

        const auto info =
            db.query("SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid", {tableName});
        if (!info)
            return;
        columns.fill(std::string());
        int keyColumns = 0;
        bool idIsIntegerKey = false;
        for (const auto& column : *info) {
            const std::string name = dbText(column.at(0));
            const bool key = integerOf(column.at(2)) > 0;
            keyColumns += key ? 1 : 0;
            const auto c = columnOf(name);
            if (!c || !columns[*c].empty())
                continue;
            columns[*c] = quoted(name);
            if (*c == kId)
                idIsIntegerKey = key && sameName(dbText(column.at(1)), "INTEGER");
        }
        idIsRowid = columns[kId].empty() || (idIsIntegerKey && keyColumns == 1);
        if (columns[kId].empty())
            columns[kId] = "rowid";

        selectList = "rowid";
        for (const auto& column : columns)
            selectList += ", " + (column.empty() ? std::string("NULL") : column);

        bound = true;
        reload();
        pos = 0;
        onDeleted = false;
    }

    Stamp readStamp() {
        const auto result = db.query(
            "SELECT total_changes(), (SELECT data_version FROM pragma_data_version), "
            "(SELECT schema_version FROM pragma_schema_version)");
        if (!result || result->empty())
            return Stamp{};
        const auto& row = result->front();
        return Stamp{integerOf(row.at(0)), integerOf(row.at(1)), integerOf(row.at(2))};
    }

    void refreshIfChanged() {
        // Inside our own write transaction no other program can change the file.
        if (transaction)
            return;
        const Stamp now = readStamp();
        if (now.schemaVersion != stamp.schemaVersion) {
            const std::optional<std::int64_t> at = currentKeyOrNext();
            const bool wasOnDeleted = onDeleted;
            bind();
            restore(at);
            // A row deleted before the change stays gone: the row after it must not become current.
            onDeleted = onDeleted || wasOnDeleted;
        } else if (now.changes != stamp.changes || now.dataVersion != stamp.dataVersion) {
            reload();
        }
    }

    // Reads every row again; the cursor stays on its row, or on the one that followed it when it is gone.
    void reload() {
        const std::optional<std::int64_t> at = currentKeyOrNext();
        ++revision;
        rows.clear();
        if (bound) {
            const auto result = db.query("SELECT " + selectList + " FROM " + table + " ORDER BY rowid");
            if (result) {
                rows.reserve(result->size());
                for (const auto& fields : *result)
                    rows.push_back(rowOf(fields));
            } else {
                bound = false;  // e.g. a table without row numbers: not a table this program can use
            }
        }
        restore(at);
        stamp = readStamp();
    }

    std::optional<std::int64_t> currentKeyOrNext() const {
        if (pos < rows.size())
            return rows[pos].key;
        return std::nullopt;
    }

    void restore(std::optional<std::int64_t> key) {
        if (!key) {
            pos = rows.size();
            return;
        }
        pos = lowerBound(*key);
        if (pos >= rows.size() || rows[pos].key != *key)
            onDeleted = true;
    }

    static Row rowOf(const DbRow& fields) {
        std::array<std::string, kColumnCount> text;
        for (std::size_t c = 0; c < kColumnCount; ++c)
            text[c] = dbText(fields.at(c + 1));
        return Row{integerOf(fields.at(0)), residentOf(text)};
    }

    std::size_t lowerBound(std::int64_t key) const {
        return std::lower_bound(rows.begin(), rows.end(), key,
                                [](const Row& r, std::int64_t k) { return r.key < k; }) -
               rows.begin();
    }

    std::optional<Row> fetch(std::int64_t key) {
        const auto result = db.query("SELECT " + selectList + " FROM " + table + " WHERE rowid = ?", {key});
        if (!result || result->empty())
            return std::nullopt;
        return rowOf(result->front());
    }

    bool none() {
        noMatch = true;
        return false;
    }

    const Row* current() const { return !onDeleted && pos < rows.size() ? &rows[pos] : nullptr; }

    bool find(const std::string& condition, const std::vector<DbValue>& params) {
        noMatch = true;
        if (!bound)
            return false;
        refreshIfChanged();
        const auto result = db.query(
            "SELECT rowid FROM " + table + " WHERE " + condition + " ORDER BY rowid LIMIT 1", params);
        if (!result || result->empty())
            return false;
        const std::int64_t key = integerOf(result->front().at(0));
        std::size_t at = lowerBound(key);
        if (at >= rows.size() || rows[at].key != key) {
            reload();
            at = lowerBound(key);
            if (at >= rows.size() || rows[at].key != key)
                return false;
        }
        pos = at;
        onDeleted = false;
        noMatch = false;
        return true;
    }

    // The program's columns that the table has, with the values to write (never the ID).
    std::vector<std::pair<std::string, DbValue>> assignments(const Resident& resident) const {
        const std::array<DbValue, kColumnCount> values = columnValues(resident);
        std::vector<std::pair<std::string, DbValue>> out;
        for (std::size_t c = kName; c < kColumnCount; ++c)
            if (!columns[c].empty())
                out.emplace_back(columns[c], values[c]);
        return out;
    }

    // Sets the given columns of the current row; false when no row is current or the write failed.
    bool updateCurrent(const std::vector<std::pair<std::string, DbValue>>& values);

    // After a write of our own: take the new stamp, or read everything again when someone else wrote as well.
    bool restampAfterOwnWrite() {
        ++revision;
        if (transaction)
            return true;
        const Stamp now = readStamp();
        if (now.dataVersion != stamp.dataVersion || now.schemaVersion != stamp.schemaVersion) {
            reload();
            return false;
        }
        stamp = now;
        return true;
    }
};

ResidentTable::ResidentTable(Database& db) : impl_(std::make_unique<Impl>(db)) {
    impl_->bind();
}

ResidentTable::~ResidentTable() = default;

bool ResidentTable::bound() const {
    return impl_->bound;
}

int ResidentTable::count() {
    impl_->refreshIfChanged();
    return static_cast<int>(impl_->rows.size());
}

void ResidentTable::moveFirst() {
    impl_->refreshIfChanged();
    impl_->pos = 0;
    impl_->onDeleted = false;
}

void ResidentTable::moveNext() {
    if (impl_->onDeleted)
        impl_->onDeleted = false;
    else if (impl_->pos < impl_->rows.size())
        ++impl_->pos;
}

bool ResidentTable::eof() const {
    return impl_->pos >= impl_->rows.size();
}

std::uint64_t ResidentTable::revision() {
    impl_->refreshIfChanged();
    return impl_->revision;
}

bool ResidentTable::findId(std::int64_t id) {
    return impl_->find(impl_->columns[kId] + " = ?", {id});
}

bool ResidentTable::findSerial(std::int64_t serial) {
    if (impl_->columns[kSerial].empty())
        return impl_->none();
    return impl_->find(impl_->columns[kSerial] + " = ?", {serial});
}

bool ResidentTable::findApartmentAndId(const std::string& apartment, std::int64_t id) {
    if (impl_->columns[kApartment].empty())
        return impl_->none();
    return impl_->find(impl_->columns[kApartment] + " = ? AND " + impl_->columns[kId] + " = ?",
                       {apartment, id});
}

bool ResidentTable::findSerialAndId(std::int64_t serial, std::int64_t id) {
    if (impl_->columns[kSerial].empty())
        return impl_->none();
    return impl_->find(impl_->columns[kSerial] + " = ? AND " + impl_->columns[kId] + " = ?", {serial, id});
}

bool ResidentTable::findNameEntryAndId(const std::string& entry, std::int64_t id) {
    const auto& c = impl_->columns;
    if (c[kName].empty())
        return impl_->none();
    const std::string firstName = c[kFirstName].empty() ? "''" : "COALESCE(" + c[kFirstName] + ", '')";
    return impl_->find(c[kName] + " || ', ' || " + firstName + " = ? AND " + c[kId] + " = ?", {entry, id});
}

bool ResidentTable::noMatch() const {
    return impl_->noMatch;
}

Resident ResidentTable::current() const {
    const auto* row = impl_->current();
    return row ? row->resident : Resident{};
}

ResidentTable::Inserted ResidentTable::insert(const Resident& resident) {
    Impl& t = *impl_;
    if (!t.bound)
        return {};
    t.refreshIfChanged();
    std::string names, places;
    std::vector<DbValue> params;
    for (auto& [column, value] : t.assignments(resident)) {
        names += (names.empty() ? "" : ", ") + column;
        places += places.empty() ? "?" : ", ?";
        params.push_back(std::move(value));
    }
    if (!t.idIsRowid) {
        // An ID column that is not the row number gets no number from SQLite: number it as an autonumber
        // would.
        names += (names.empty() ? "" : ", ") + t.columns[kId];
        places += (places.empty() ? "" : ", ") + std::string("(SELECT COALESCE(MAX(") + t.columns[kId] +
                  "), 0) + 1 FROM " + t.table + ")";
    }
    const std::string sql = names.empty()
                                ? "INSERT INTO " + t.table + " DEFAULT VALUES"
                                : "INSERT INTO " + t.table + " (" + names + ") VALUES (" + places + ")";
    if (!t.db.exec(sql, params))
        return {};
    const std::int64_t key = t.db.lastInsertId();
    auto inserted = t.fetch(key);
    if (!inserted) {
        t.reload();
        return {true, std::nullopt};
    }
    const std::optional<std::int64_t> id = inserted->resident.id;
    if (t.restampAfterOwnWrite()) {
        const std::size_t at = t.lowerBound(key);
        if (at <= t.pos)
            ++t.pos;  // the cursor keeps its row, or stays past the last one
        t.rows.insert(t.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(*inserted));
    }
    return {true, id};
}

bool ResidentTable::update(const Resident& resident) {
    return impl_->bound && impl_->updateCurrent(impl_->assignments(resident));
}

bool ResidentTable::updateStations(const StationSet& stations) {
    Impl& t = *impl_;
    if (!t.bound)
        return false;
    if (t.columns[kStations].empty())
        return true;
    return t.updateCurrent({{t.columns[kStations], encodeStations(stations)}});
}

ResidentTable::Transaction::Transaction(ResidentTable& table) : table_(table), open_(table.begin()) {}

ResidentTable::Transaction::~Transaction() {
    if (open_)
        table_.rollback();
}

bool ResidentTable::Transaction::commit() {
    if (!open_ || !table_.commit())
        return false;
    open_ = false;
    return true;
}

bool ResidentTable::begin() {
    if (!impl_->bound)
        return false;
    impl_->refreshIfChanged();
    // Immediate: a file another program writes is refused here, before any row is changed.
    impl_->transaction.emplace(impl_->db, DatabaseTransaction::Start::Immediate);
    if (!impl_->transaction->began())
        impl_->transaction.reset();
    return impl_->transaction.has_value();
}

bool ResidentTable::commit() {
    if (!impl_->transaction || !impl_->transaction->commit())
        return false;
    impl_->transaction.reset();
    impl_->stamp = impl_->readStamp();
    return true;
}

void ResidentTable::rollback() {
    impl_->transaction.reset();  // its end rolls back what it held
    impl_->reload();
}

bool ResidentTable::Impl::updateCurrent(const std::vector<std::pair<std::string, DbValue>>& values) {
    Impl& t = *this;
    t.refreshIfChanged();
    const auto* current = t.current();
    if (!current)
        return false;
    const std::int64_t key = current->key;
    std::string sets;
    std::vector<DbValue> params;
    for (const auto& [column, value] : values) {
        sets += (sets.empty() ? "" : ", ") + column + " = ?";
        params.push_back(value);
    }
    if (sets.empty())
        return true;
    params.emplace_back(std::in_place_type<std::int64_t>, key);
    if (!t.db.exec("UPDATE " + t.table + " SET " + sets + " WHERE rowid = ?", params))
        return false;
    auto updated = t.fetch(key);
    if (t.restampAfterOwnWrite() && updated)
        t.rows[t.pos] = std::move(*updated);
    else if (!updated)
        t.reload();
    return true;
}

bool ResidentTable::deleteCurrent() {
    Impl& t = *impl_;
    if (!t.bound)
        return false;
    t.refreshIfChanged();
    const auto* current = t.current();
    if (!current)
        return false;
    const std::int64_t key = current->key;
    if (!t.db.exec("DELETE FROM " + t.table + " WHERE rowid = ?", {key}))
        return false;
    if (t.restampAfterOwnWrite()) {
        t.rows.erase(t.rows.begin() + static_cast<std::ptrdiff_t>(t.pos));
        t.onDeleted = true;
    }
    return true;
}

}  // namespace pnl
