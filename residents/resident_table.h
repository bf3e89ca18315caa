#pragma once
// The resident table BEWOHNER on the database working copy, reached through one shared cursor: a search or a
// move changes the current row, every read and update refers to it. The program reads and writes only its seven
// columns (ID, Name, Vorname, Wnr, sernr, AUSLOESUNG, code) and the station assignment PNL; every other column
// of the table belongs to other programs and is never touched. Column names match without regard to case.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/database.h"

namespace pnl {

// The values the program writes into a row.
struct ResidentRow {
    std::string name;        // Name
    std::string firstName;   // Vorname
    std::string apartment;   // Wnr
    std::int64_t serial = 0;  // sernr
    std::string trigger;     // AUSLOESUNG: ",," + six digits
    std::int64_t code = 0;   // code
    std::string stations;    // PNL: 64 characters "0"/"1"
};

class ResidentTable {
public:
    explicit ResidentTable(Database& db);

    int count();
    void moveFirst();
    void moveNext();
    // True when the cursor stands past the last row (or the table is empty).
    bool eof() const;

    // Find first in table order; the found row becomes current. The result is also kept as noMatch().
    bool findId(std::int64_t id);
    bool findSerial(std::int64_t serial);
    bool findNameAndId(const std::string& name, std::int64_t id);
    bool findApartmentAndId(const std::string& apartment, std::int64_t id);
    bool findSerialAndId(std::int64_t serial, std::int64_t id);
    bool noMatch() const;

    // A column of the current row as text: empty for NULL, for an empty value and when no row is current.
    std::string value(const std::string& column) const;

    // Inserts a new row; returns its database-assigned ID (nothing when it cannot be read).
    std::optional<std::int64_t> insert(const ResidentRow& row);
    // Updates the current row's program columns.
    bool update(const ResidentRow& row);
    bool deleteCurrent();

private:
    struct Impl;
    Database* db_;
};

}  // namespace pnl
