#pragma once
// The order of the lists a user reads (sorted drop-down lists, the lines sent to a station): German
// dictionary order, first without regard to case and accents (ä as a, ß as ss, é as e), then by the exact
// characters.

#include <string>

namespace pnl {

struct CollationKey {
    std::u32string folded;
    std::u32string exact;
    bool operator<(const CollationKey& other) const {
        return folded != other.folded ? folded < other.folded : exact < other.exact;
    }
};

CollationKey collationKey(const std::string& text);

}  // namespace pnl
