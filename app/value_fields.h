#pragma once
// The splitter of value lists: fields separated by single commas, no quoting, no escaping, no trimming. At
// most 16 fields survive a split; a missing field reads as empty.

#include <array>
#include <string>

namespace pnl {

class ValueFields {
  public:
    static constexpr int kSize = 16;

    // Every split overwrites the whole table.
    void split(const std::string& list, char separator = ',');
    void clear() { entries_.fill(std::string()); }
    const std::string& operator[](int index) const { return entries_.at(index); }

  private:
    std::array<std::string, kSize> entries_;
};

}  // namespace pnl
