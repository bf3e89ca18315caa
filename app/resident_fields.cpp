#include "app/resident_fields.h"

#include "app/text.h"
#include "app/value_fields.h"

namespace pnl {

std::string encodeStations(const StationSet& stations) {
    std::string out(kStationCount, '0');
    for (int k = 0; k < kStationCount; ++k)
        if (stations.test(k))
            out[k] = '1';
    return out;
}

StationSet decodeStations(const std::string& stored) {
    StationSet stations;
    if (trim(stored).empty())
        return stations;
    for (std::size_t k = 0; k < stored.size() && k < kStationCount; ++k)
        if (stored[k] == '1')
            stations.set(k);
    return stations;
}

std::string encodeSecondSerial(std::int64_t serial) {
    return ",," + rightBytes("000000" + (serial > 0 ? std::to_string(serial) : std::string()), 6);
}

std::int64_t decodeSecondSerial(const std::string& stored) {
    const std::int64_t value = leadingNumber(ValueFields(stored)[2]);
    return value >= 1 && value <= kMaxSerial ? value : 0;
}

std::int64_t decodeCode(const std::string& stored) {
    const std::int64_t value = leadingNumber(stored);
    return value >= 1 && value <= kMaxCode ? value : 0;
}

std::string cleanText(const std::string& typed) {
    std::vector<char32_t> points = codePoints(typed);
    for (char32_t& c : points) {
        const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
        const bool notCarried = (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF;
        if (control || notCarried)
            c = U' ';
    }
    return trim(fromCodePoints(points));
}

std::string storedName(const std::string& typed) {
    return leftChars(cleanText(typed), kNameChars50);
}

std::string fullName(const std::string& name, const std::string& firstName) {
    return firstName.empty() ? name : name + ", " + firstName;
}

std::string listedSerial(std::int64_t serial) {
    return serial >= 0 && serial <= kMaxSerial ? zeroPadded(serial, 6) : std::to_string(serial);
}

}  // namespace pnl
