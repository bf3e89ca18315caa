#include "app/text.h"

#include <limits>

#include "platform/utf8.h"

namespace pnl {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string upper(const std::string& text) {
    std::vector<char32_t> points = codePoints(text);
    for (char32_t& c : points) {
        if (c >= U'a' && c <= U'z')
            c -= 0x20;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            c -= 0x20;
    }
    return fromCodePoints(points);
}

std::int64_t leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

bool allDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool hasDigit(const std::string& text) {
    for (char c : text)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

std::vector<char32_t> codePoints(const std::string& text) {
    std::vector<char32_t> out;
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

std::string fromCodePoints(const std::vector<char32_t>& points) {
    std::string out;
    out.reserve(points.size());
    for (char32_t c : points)
        appendUtf8(out, c);
    return out;
}

std::size_t characterCount(const std::string& text) {
    return codePoints(text).size();
}

std::string leftChars(const std::string& text, std::size_t n) {
    auto points = codePoints(text);
    if (points.size() <= n)
        return text;
    points.resize(n);
    return fromCodePoints(points);
}

std::string hexDigits(std::uint64_t value, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out(digits, '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[i] = kHex[value & 0xF];
    return out;
}

std::string zeroPadded(std::int64_t value, int digits) {
    return rightBytes(std::string(digits, '0') + std::to_string(value), digits);
}

std::string rightBytes(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

}  // namespace pnl
