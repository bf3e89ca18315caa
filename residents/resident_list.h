#pragma once
// The residents of the resident page as its lists show them: every row of the table that has an ID, in table
// order and in German order of "Name, Vorname" (the order of the list beside the form and of the drop-down in
// the name mode), read again only when the rows changed, and the rows that hold every word of a search.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/resident_table.h"
#include "forms/controls.h"

namespace pnl {

class Program;

class ResidentList {
  public:
    // Reads the residents when the table's rows (or the table) changed since the last read; true when it did.
    bool read(Program& program);

    const std::vector<Resident>& inTableOrder() const { return residents_; }
    // Positions in inTableOrder(), in German order of the names; a resident without a name comes first.
    const std::vector<std::size_t>& byName() const { return nameOrder_; }
    // The rows of the list beside the form: name, apartment number, first serial number, keyed by the ID.
    std::vector<TableList::Row> rows() const;
    // The rows (positions in byName()) whose resident holds every word typed.
    std::vector<int> matching(const std::string& typed);

  private:
    std::vector<Resident> residents_;
    std::vector<std::size_t> nameOrder_;
    // What the search looks in, per row of byName(): made at the first search after a read.
    std::vector<std::string> searchTexts_;
    // The cursor (by the database's generation) and its revision the residents were read from.
    std::optional<std::uint64_t> generation_;
    std::uint64_t revision_ = 0;
};

}  // namespace pnl
