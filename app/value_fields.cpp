#include "app/value_fields.h"

namespace pnl {

void ValueFields::split(const std::string& list, char separator) {
    entries_.fill(std::string());
    std::string::size_type start = 0;
    for (int i = 0; i < kSize; ++i) {
        const auto comma = list.find(separator, start);
        if (comma == std::string::npos) {
            entries_[i] = list.substr(start);
            return;
        }
        entries_[i] = list.substr(start, comma - start);
        start = comma + 1;
    }
    // Entry 15 was taken from in front of a separator: the rest is dropped.
}

}  // namespace pnl
