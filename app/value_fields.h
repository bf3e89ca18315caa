#pragma once
// A value list of the settings file split into its fields: fields separated by single commas, no quoting, no
// escaping, no trimming. At most 16 fields survive a split: the rest of the list after the 16th field is
// dropped. A missing field reads as empty. Each record's parser splits its value into one of these, where it
// reads it.

#include <array>
#include <string>

namespace pnl {

class ValueFields {
  public:
    static constexpr int kSize = 16;

    ValueFields() = default;
    explicit ValueFields(const std::string& list, char separator = ',') { split(list, separator); }

    // Every split overwrites all 16 entries.
    void split(const std::string& list, char separator = ',');
    const std::string& operator[](int index) const { return entries_.at(index); }

  private:
    std::array<std::string, kSize> entries_;
};

}  // namespace pnl
