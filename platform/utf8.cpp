#include "platform/utf8.h"

namespace pnl {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u32string decodeUtf8Lenient(const std::string& text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = (b >= 0xF0 && b < 0xF5)   ? 3
                          : (b >= 0xE0 && b < 0xF0) ? 2
                          : (b >= 0xC2 && b < 0xE0) ? 1
                                                    : 0;
        char32_t c = b;
        bool valid = extra > 0 && i + extra < text.size();
        if (valid) {
            c = b & (0x3F >> extra);
            for (int k = 1; k <= extra && valid; ++k) {
                const auto cont = static_cast<unsigned char>(text[i + k]);
                valid = (cont & 0xC0) == 0x80;
                c = (c << 6) | (cont & 0x3F);
            }
        }
        if (valid) {
            out.push_back(c);
            i += extra + 1;
        } else {
            // ASCII, or a byte that starts no valid sequence: one character of its own.
            out.push_back(b);
            ++i;
        }
    }
    return out;
}

}  // namespace pnl

namespace pnl {

bool validUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80                  ? 0
                          : (b >= 0xC2 && b < 0xE0) ? 1
                          : (b >= 0xE0 && b < 0xF0) ? 2
                          : (b >= 0xF0 && b < 0xF5) ? 3
                                                    : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

std::string utf8FromWindows1252(const std::string& text) {
    // 0x80 to 0x9F; 0 where the code page assigns nothing.
    static constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                           0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            c = kHigh[b - 0x80];
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace pnl
