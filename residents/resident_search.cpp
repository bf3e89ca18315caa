#include "residents/resident_search.h"

#include "app/resident_table.h"
#include "platform/collation.h"

namespace pnl {

namespace {

std::string serials(std::int64_t serial) {
    if (serial <= 0)
        return {};
    return "\t" + std::to_string(serial) + "\t" + listedSerial(serial);
}

}  // namespace

std::string residentSearchText(const Resident& resident) {
    const std::string folded =
        foldForSearch(resident.name + "\t" + resident.firstName + "\t" + resident.apartment +
                      serials(resident.serial.value_or(0)) + serials(resident.secondSerial));
    // Both forms, so that a word typed either way is found, also one that begins inside a spelling ("eller"
    // in Mueller).
    return folded + "\n" + foldUmlautSpellings(folded);
}

ResidentSearch::ResidentSearch(const std::string& typed) {
    const std::string folded = foldForSearch(typed);
    std::size_t at = 0;
    while (at < folded.size()) {
        const std::size_t end = std::min(folded.find_first_of(" \t\n", at), folded.size());
        if (end > at) {
            std::string word = folded.substr(at, end - at);
            words_.push_back({word, foldUmlautSpellings(word)});
        }
        at = end + 1;
    }
}

bool ResidentSearch::matches(const std::string& searchText) const {
    for (const Word& word : words_)
        if (searchText.find(word.folded) == std::string::npos &&
            searchText.find(word.spelled) == std::string::npos)
            return false;
    return true;
}

std::string residentCountText(int shown, int all) {
    return shown == all ? std::to_string(all) + " Bewohner"
                        : std::to_string(shown) + " von " + std::to_string(all) + " Bewohnern";
}

}  // namespace pnl
