#pragma once
// The one search over residents, for the overview and the resident page: every blank-separated word typed
// must occur in the resident's name, first name, apartment number or one of its serial numbers (also as the
// six digits the lists show), without regard to case and accents, with an umlaut, its base letter and its
// spelling alike: "mull" and "Mueller" find Müller, "strasse" finds Straßer.

#include <string>
#include <vector>

namespace pnl {

struct Resident;

// What the search looks in for this resident; kept with the resident's row, so that a keystroke does not fold
// 20,000 names again.
std::string residentSearchText(const Resident& resident);

class ResidentSearch {
  public:
    explicit ResidentSearch(const std::string& typed = {});
    // Nothing typed: every resident matches.
    bool empty() const { return words_.empty(); }
    bool matches(const std::string& searchText) const;

  private:
    struct Word {
        std::string folded;   // accents and umlauts as base letters
        std::string spelled;  // "ae", "oe", "ue" folded too
    };
    std::vector<Word> words_;
};

// "41 Bewohner", or "3 von 41 Bewohnern" while a search hides the others.
std::string residentCountText(int shown, int all);

}  // namespace pnl
