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

// Bytes that compare as the collation keys of the texts do (a table sorts many rows on them without decoding
// the texts again for every comparison).
std::string sortKey(const std::string& text);

// What a search compares: lower case, accents and umlauts as their base letters, ß as ss, æ as ae (UTF-8).
std::string foldForSearch(const std::string& text);
// A folded text with the spelled-out umlauts folded as well ("ae", "oe", "ue" as a, o, u): "Mueller",
// "Müller" and "Muller" all read "muller".
std::string foldUmlautSpellings(const std::string& folded);

}  // namespace pnl
