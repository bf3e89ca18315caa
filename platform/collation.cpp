#include "platform/collation.h"

#include <algorithm>

#include "platform/utf8.h"

namespace pnl {

namespace {

// The primary sort key: lower case, accents and umlauts folded to their base letters.
std::u32string foldedForSort(const std::string& text) {
    std::u32string key;
    for (char32_t c : decodeUtf8Lenient(text)) {
        if (c >= U'A' && c <= U'Z')
            c += 0x20;
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
            c += 0x20;  // Latin-1 capitals to small letters
        switch (c) {
            case U'à':
            case U'á':
            case U'â':
            case U'ã':
            case U'ä':
            case U'å':
                key += U'a';
                break;
            case U'æ':
                key += U"ae";
                break;
            case U'ç':
                key += U'c';
                break;
            case U'è':
            case U'é':
            case U'ê':
            case U'ë':
                key += U'e';
                break;
            case U'ì':
            case U'í':
            case U'î':
            case U'ï':
                key += U'i';
                break;
            case U'ñ':
                key += U'n';
                break;
            case U'ò':
            case U'ó':
            case U'ô':
            case U'õ':
            case U'ö':
            case U'ø':
                key += U'o';
                break;
            case U'ù':
            case U'ú':
            case U'û':
            case U'ü':
                key += U'u';
                break;
            case U'ý':
            case U'ÿ':
                key += U'y';
                break;
            case U'ß':
                key += U"ss";
                break;
            default:
                key += c;
        }
    }
    return key;
}

}  // namespace

CollationKey collationKey(const std::string& text) {
    return CollationKey{foldedForSort(text), decodeUtf8Lenient(text)};
}

std::string sortKey(const std::string& text) {
    // UTF-8 keeps the order of the code points; the separator sorts below every character, so a text whose
    // folded form begins another's comes first, as in CollationKey.
    std::string key;
    for (char32_t c : foldedForSort(text))
        appendUtf8(key, c);
    key += '\0';
    for (char32_t c : decodeUtf8Lenient(text))
        appendUtf8(key, c);
    return key;
}

std::string foldForSearch(const std::string& text) {
    std::string folded;
    for (char32_t c : foldedForSort(text))
        appendUtf8(folded, c);
    return folded;
}

std::string foldUmlautSpellings(const std::string& folded) {
    std::string out;
    out.reserve(folded.size());
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const char c = folded[i];
        out += c;
        if ((c == 'a' || c == 'o' || c == 'u') && i + 1 < folded.size() && folded[i + 1] == 'e')
            ++i;
    }
    return out;
}

std::string searchableText(const std::string& text) {
    const std::string folded = foldForSearch(text);
    // Both forms, so that a word typed either way is found, also one that begins inside a spelling ("eller"
    // in Mueller).
    return folded + "\n" + foldUmlautSpellings(folded);
}

TextSearch::TextSearch(const std::string& typed) {
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

bool TextSearch::matches(const std::string& searchable) const {
    for (const Word& word : words_)
        if (searchable.find(word.folded) == std::string::npos &&
            searchable.find(word.spelled) == std::string::npos)
            return false;
    return true;
}

}  // namespace pnl
