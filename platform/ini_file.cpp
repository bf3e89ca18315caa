#include "platform/ini_file.h"

#include <array>

#include "platform/utf8.h"

namespace pnl {

namespace {

// The code points of Windows-1252 bytes 0x80..0x9F; the five bytes that the code page leaves unassigned keep
// their C1 control code point, as Windows itself maps them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF). Nothing when invalid.
std::optional<std::u32string> decodeUtf8(const std::string& text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += b;
            ++i;
            continue;
        }
        int extra;
        char32_t c, min;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, c = b & 0x1F, min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, c = b & 0x0F, min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, c = b & 0x07, min = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + extra >= text.size())
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(text[i + k]);
            if ((cont & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (cont & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        out += c;
        i += extra + 1;
    }
    return out;
}

std::string windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80] : char32_t{b});
    }
    return out;
}

// Nothing when the text holds a character that Windows-1252 cannot carry.
std::optional<std::string> utf8ToWindows1252(const std::string& text) {
    const auto points = decodeUtf8(text);
    if (!points)
        return std::nullopt;
    std::string out;
    out.reserve(points->size());
    for (char32_t c : *points) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kHighControls.size() && !found; ++k) {
            if (kHighControls[k] == c) {
                out += static_cast<char>(0x80 + k);
                found = true;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimBlanks(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// Names match without regard to ASCII case; names outside ASCII must match exactly.
bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z')
            y += 'a' - 'A';
        if (x != y)
            return false;
    }
    return true;
}

bool holdsLineBreak(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// Every byte from 0x80 on: a text without any of them is ASCII.
const std::string kHighBytes = [] {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}();

}  // namespace

// The structure of the lines, read in the document's own encoding.
struct IniDocumentAccess {
    static bool isComment(const std::string& text) {
        const std::string t = trimBlanks(text);
        return !t.empty() && (t[0] == ';' || t[0] == '#');
    }

    // The section name of a header line, nothing for any other line.
    static std::optional<std::string> sectionOf(const std::string& text) {
        const std::string t = trimBlanks(text);
        if (t.size() < 2 || t[0] != '[')
            return std::nullopt;
        const auto close = t.find(']');
        if (close == std::string::npos)
            return std::nullopt;
        return trimBlanks(t.substr(1, close - 1));
    }

    // The key of a key line, nothing for any other line.
    static std::optional<std::string> keyOf(const std::string& text) {
        if (isComment(text) || sectionOf(text))
            return std::nullopt;
        const auto eq = text.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        const std::string key = trimBlanks(text.substr(0, eq));
        if (key.empty())
            return std::nullopt;
        return key;
    }

    // Text of line i in UTF-8, without a byte order mark on the first line.
    static std::string lineUtf8(const IniDocument& doc, std::size_t i) {
        std::string text = doc.lines_[i].text;
        if (i == 0 && text.rfind(kUtf8Bom, 0) == 0)
            text.erase(0, 3);
        return doc.encoding_ == IniDocument::Encoding::Utf8 ? text : windows1252ToUtf8(text);
    }

    struct Found {
        std::optional<std::size_t> key;  // the first line of the key in the section
        std::optional<std::size_t>
            lastInSection;  // the last header or key line of the first matching section
    };

    static Found find(const IniDocument& doc, const std::string& section, const std::string& key) {
        Found found;
        bool inSection = false;
        bool firstSectionDone = false;
        for (std::size_t i = 0; i < doc.lines_.size(); ++i) {
            const std::string text = lineUtf8(doc, i);
            if (const auto name = sectionOf(text)) {
                if (inSection)
                    firstSectionDone = true;
                inSection = sameName(*name, section);
                if (inSection && !firstSectionDone)
                    found.lastInSection = i;
                continue;
            }
            if (!inSection)
                continue;
            const auto k = keyOf(text);
            if (!k)
                continue;
            if (!firstSectionDone)
                found.lastInSection = i;
            if (!found.key && sameName(*k, key))
                found.key = i;
        }
        return found;
    }

    static std::string lineEndStyle(const IniDocument& doc) {
        for (const auto& line : doc.lines_)
            if (!line.end.empty())
                return line.end;
        return "\r\n";
    }

    // Inserts a line after position `after` (or at the end when nothing); a file without a final line break
    // keeps lacking it.
    static void insertAfter(IniDocument& doc, std::optional<std::size_t> after, std::string text) {
        const std::string style = lineEndStyle(doc);
        const std::size_t at = after ? *after + 1 : doc.lines_.size();
        IniDocument::Line line{std::move(text), style};
        if (at == doc.lines_.size() && at > 0 && doc.lines_[at - 1].end.empty()) {
            doc.lines_[at - 1].end = style;
            line.end.clear();
        }
        doc.lines_.insert(doc.lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    }
};

IniDocument IniDocument::parse(const std::string& bytes) {
    IniDocument doc;
    // The other program reads the file as Windows-1252: only a file that already holds a multi-byte UTF-8
    // sequence (and nothing invalid) was written as UTF-8; an all-ASCII or new file is Windows-1252.
    const bool holdsMultiByte = bytes.find_first_of(kHighBytes) != std::string::npos;
    doc.encoding_ = holdsMultiByte && decodeUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            doc.lines_.push_back(Line{bytes.substr(start), ""});
            break;
        }
        const bool crlf = nl > start && bytes[nl - 1] == '\r';
        const std::size_t textEnd = crlf ? nl - 1 : nl;
        doc.lines_.push_back(Line{bytes.substr(start, textEnd - start), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
    return doc;
}

std::optional<std::string> IniDocument::value(const std::string& section, const std::string& key) const {
    const auto found = IniDocumentAccess::find(*this, section, key);
    if (!found.key)
        return std::nullopt;
    const std::string text = IniDocumentAccess::lineUtf8(*this, *found.key);
    return text.substr(text.find('=') + 1);
}

bool IniDocument::setValue(const std::string& section, const std::string& key, const std::string& value) {
    if (holdsLineBreak(value) || holdsLineBreak(section) || holdsLineBreak(key))
        return false;
    if (section.find_first_of("[]") != std::string::npos || key.find('=') != std::string::npos)
        return false;
    if (trimBlanks(key).empty() || trimBlanks(key) != key || trimBlanks(section) != section)
        return false;
    if (!decodeUtf8(value) || !decodeUtf8(section) || !decodeUtf8(key))
        return false;

    auto encode = [this](const std::string& utf8) -> std::optional<std::string> {
        if (encoding_ == Encoding::Utf8)
            return utf8;
        return utf8ToWindows1252(utf8);
    };
    const auto encodedValue = encode(value);
    const auto encodedSection = encode(section);
    const auto encodedKey = encode(key);
    if (!encodedValue || !encodedSection || !encodedKey)
        return false;

    const auto found = IniDocumentAccess::find(*this, section, key);
    if (found.key) {
        // Everything up to and including the equals sign stays as stored.
        std::string& text = lines_[*found.key].text;
        text = text.substr(0, text.find('=') + 1) + *encodedValue;
        return true;
    }
    if (found.lastInSection) {
        IniDocumentAccess::insertAfter(*this, found.lastInSection, *encodedKey + "=" + *encodedValue);
        return true;
    }
    IniDocumentAccess::insertAfter(*this, std::nullopt, "[" + *encodedSection + "]");
    IniDocumentAccess::insertAfter(*this, std::nullopt, *encodedKey + "=" + *encodedValue);
    return true;
}

std::optional<std::string> IniDocument::firstUnstorable(const std::string& text) const {
    const auto points = decodeUtf8(text);
    if (!points)
        return std::string("?");
    if (encoding_ == Encoding::Utf8)
        return std::nullopt;
    for (char32_t c : *points) {
        std::string character;
        appendUtf8(character, c);
        if (!utf8ToWindows1252(character))
            return character;
    }
    return std::nullopt;
}

std::string IniDocument::bytes() const {
    std::string out;
    for (const auto& line : lines_)
        out += line.text + line.end;
    return out;
}

std::string IniFile::read(const std::string& section, const std::string& key) const {
    const auto bytes = fs_->readFile(path_);
    if (!bytes)
        return {};
    return IniDocument::parse(*bytes).value(section, key).value_or(std::string());
}

std::optional<std::string> IniFile::firstUnstorable(const std::string& text) const {
    const auto bytes = fs_->readFile(path_);
    return IniDocument::parse(bytes.value_or(std::string())).firstUnstorable(text);
}

bool IniFile::write(const std::string& section, const std::string& key, const std::string& value) {
    const auto bytes = fs_->readFile(path_);
    IniDocument doc = IniDocument::parse(bytes.value_or(std::string()));
    if (!doc.setValue(section, key, value))
        return false;
    const std::string updated = doc.bytes();
    if (bytes && updated == *bytes)
        return true;
    return fs_->writeFileAtomic(path_, updated);
}

}  // namespace pnl
