#include "residents/station_name.h"

#include <algorithm>

#include "app/station_records.h"
#include "app/text.h"

namespace pnl {
namespace {

constexpr char kStroke[] = "\u0336";  // combining long stroke overlay: strikes the character before it
constexpr char kCutMark[] = "\u2702";

std::string withoutBars(std::string text) {
    std::erase(text, '|');
    return text;
}

std::string quotedGerman(const std::string& text) {
    return "\u201E" + text + "\u201C";
}

// "Name, Vorname" without the bars, before the cut; nothing without a name.
std::string joinedName(const std::string& name, const std::string& firstName) {
    std::string joined = trim(withoutBars(name));
    if (joined.empty())
        return joined;
    const std::string first = trim(withoutBars(firstName));
    if (!first.empty())
        joined += ", " + first;
    return joined;
}

}  // namespace

std::string stationName(const std::string& name, const std::string& firstName) {
    return leftChars(joinedName(name, firstName), kNameChars);
}

NameDisplay displayName(const std::string& name, const std::string& firstName, Firmware firmware) {
    NameDisplay display;
    const std::string full = joinedName(name, firstName);
    if (full.empty())
        return display;

    const std::vector<char32_t> points = codePoints(full);
    const std::size_t kept = std::min(points.size(), kNameChars);
    std::vector<char32_t> dropped;
    for (std::size_t i = 0; i < kept; ++i) {
        const std::string original = fromCodePoints({points[i]});
        if (const auto shown = shownCharacter(points[i], firmware)) {
            const std::string text = fromCodePoints({*shown});
            display.shown += text;
            display.marked += text;
            continue;
        }
        display.marked += (points[i] < 0x20 ? std::string(" ") : original) + kStroke;
        if (std::find(dropped.begin(), dropped.end(), points[i]) == dropped.end())
            dropped.push_back(points[i]);
    }
    std::string cutOff;
    if (points.size() > kNameChars) {
        cutOff = fromCodePoints(std::vector<char32_t>(points.begin() + kNameChars, points.end()));
        display.marked += std::string(kCutMark) + cutOff;
    }

    std::vector<std::string> notes;
    if (!dropped.empty()) {
        std::string list;
        for (char32_t c : dropped)
            list += (list.empty() ? "" : ", ") +
                    quotedGerman(c < 0x20 ? std::string("Steuerzeichen") : fromCodePoints({c}));
        notes.push_back("Die PNL zeigt nicht an: " + list + ".");
    }
    if (!cutOff.empty())
        notes.push_back("Nach 31 Zeichen gekürzt, es fehlt: " + quotedGerman(cutOff) + ".");
    for (const std::string& note : notes)
        display.tip += (display.tip.empty() ? "" : "\n") + note;
    return display;
}

NameDisplay displayName(const std::string& name, const std::string& firstName,
                        const std::vector<StationRecord>& stations, const StationSet& assigned) {
    bool older = false, current = false;
    for (const StationRecord& station : stations) {
        if (station.number < 0 || station.number >= kStationCount || !assigned.test(station.number))
            continue;
        (station.olderFirmware ? older : current) = true;
    }
    NameDisplay display = displayName(name, firstName, older && !current ? Firmware::V27 : Firmware::V3);
    if (older && current) {
        const NameDisplay other = displayName(name, firstName, Firmware::V27);
        if (other.shown != display.shown)
            display.tip += std::string(display.tip.empty() ? "" : "\n") +
                           "PNL mit Version 2.7X zeigen: " + quotedGerman(other.shown) + ".";
    }
    return display;
}

}  // namespace pnl
