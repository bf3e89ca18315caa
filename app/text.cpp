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
    // a..z and the Latin-1 small letters à..þ (not the division sign) lie 0x20 above their capitals.
    for (char32_t& c : points)
        if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c -= 0x20;
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
    const std::u32string points = decodeUtf8Lenient(text);
    return std::vector<char32_t>(points.begin(), points.end());
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
