#pragma once
// The resident table BEWOHNER on the database working copy, reached through one shared cursor: a search or a
// move changes the current row, every read and update refers to it. The program reads and writes only its own
// columns (ID, Name, Vorname, Wnr, sernr, AUSLOESUNG, code and the station assignment PNL), each row as one
// typed Resident; every other column of the table belongs to other programs and is never touched. Column
// names match without regard to case, in whatever order the table holds them; a column the table lacks reads
// as empty and is not written. A table without an ID column uses its row number as ID.
//
// The table's own order is the order of its row numbers (rowid). The cursor keeps the program's columns of
// all rows in memory so that walking 20,000 residents costs no query per row; before a count, a move to the
// first row, a search or a write it asks SQLite whether anything else changed the file and reloads if so.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/resident_fields.h"
#include "platform/database.h"

namespace pnl {

inline constexpr const char* kResidentTable = "BEWOHNER";

// A resident as the table reads and writes a row: the program's columns, decoded. An empty column (NULL or
// empty text) reads as empty, 0 or nothing.
struct Resident {
    // ID: assigned by the database, never written; nothing when the column holds no whole number.
    std::optional<std::int64_t> id;
    std::string name;       // Name
    std::string firstName;  // Vorname
    std::string apartment;  // Wnr
    // sernr: the leading number of the column; nothing when the column is empty (then the transfer sends no
    // second serial number either). Written as NULL when nothing.
    std::optional<std::int64_t> serial;
    // AUSLOESUNG, written ",," + six digits: field 2 of the list, 1 to 999999; 0 for none.
    std::int64_t secondSerial = 0;
    // code: 1 to 9999 reads as the access code, anything else as 0 (no code); written as it is.
    std::int64_t code = 0;
    // PNL, written as 64 characters "0"/"1": the stations the resident is assigned to.
    StationSet stations;
};

class ResidentTable {
  public:
    // Binds the table: finds the program's columns. The file's schema is left as it is (it goes back into the
    // shared database at a commit). After binding the first row is current.
    explicit ResidentTable(Database& db);
    ~ResidentTable();
    ResidentTable(const ResidentTable&) = delete;
    ResidentTable& operator=(const ResidentTable&) = delete;

    // False when the table is missing or cannot be read; every operation then acts on an empty table.
    bool bound() const;

    int count();
    void moveFirst();
    // After a delete, the row that followed the deleted one becomes current.
    void moveNext();
    // True when the cursor stands past the last row (or the table is empty).
    bool eof() const;
    // A number that changes whenever the rows change: by a write through this table or through any other
    // connection. What is built from the rows is built again only when it changed.
    std::uint64_t revision();

    // Find first in table order; the found row becomes current, and without a match the cursor stays where it
    // was. The result is also kept as noMatch(). Every value is a bound parameter.
    bool findId(std::int64_t id);                                            // ID = id
    bool findSerial(std::int64_t serial);                                    // SERNR = serial
    bool findApartmentAndId(const std::string& apartment, std::int64_t id);  // WNR = 'apartment' AND ID = id
    bool findSerialAndId(std::int64_t serial, std::int64_t id);              // SERNR = serial AND ID = id
    // The row whose entry in the name list ("Name, Vorname") is `entry` and whose ID is id: a surname that
    // holds a comma is found too.
    bool findNameEntryAndId(const std::string& entry, std::int64_t id);
    bool noMatch() const;

    // The current row; a Resident without ID and with empty columns when no row is current.
    Resident current() const;

    struct Inserted {
        bool written = false;
        std::optional<std::int64_t> id;  // the database-assigned ID; nothing when it cannot be read
    };
    // Inserts a new row (its ID is the database's). The cursor stays on the row it stood on.
    Inserted insert(const Resident& resident);
    // Updates the current row's program columns but ID; false when no row is current or the write failed.
    bool update(const Resident& resident);
    // Writes only the station assignment (PNL) of the current row.
    bool updateStations(const StationSet& stations);
    // Writes made while a transaction is open reach the file together at commit(); a transaction that ends
    // without its commit rolls back, so none of them did, and every row is read again.
    class Transaction {
      public:
        explicit Transaction(ResidentTable& table);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        // False when the table could not start writing (not bound, the file locked or read-only).
        bool began() const { return open_; }
        bool commit();

      private:
        ResidentTable& table_;
        bool open_ = false;
    };
    // Deletes the current row; afterwards no row is current until the next move or search.
    bool deleteCurrent();

  private:
    bool begin();
    bool commit();
    void rollback();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pnl
