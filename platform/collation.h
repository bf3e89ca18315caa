#pragma once
// The order of the lists a user reads (sorted drop-down lists, the lines sent to a station): German
// dictionary order, first without regard to case and accents (ä as a, ß as ss, é as e), then by the exact
// characters.

#include <string>
#include <vector>

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

// The one search of the program's tables: every blank-separated word typed must occur in the searched text,
// without regard to case and accents, with an umlaut, its base letter and its spelling alike ("mull" and
// "Mueller" find Müller, "strasse" finds Straßer).
// What a search looks in for a text; kept with a table's row, so that a keystroke does not fold every row
// again.
std::string searchableText(const std::string& text);

class TextSearch {
  public:
    explicit TextSearch(const std::string& typed = {});
    // Nothing typed: every text matches.
    bool empty() const { return words_.empty(); }
    // `searchable` as searchableText gives it.
    bool matches(const std::string& searchable) const;

  private:
    struct Word {
        std::string folded;   // accents and umlauts as base letters
        std::string spelled;  // "ae", "oe", "ue" folded too
    };
    std::vector<Word> words_;
};

}  // namespace pnl
