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
