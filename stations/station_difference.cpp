#include "stations/station_difference.h"

#include <algorithm>
#include <map>

#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"

namespace pnl {
namespace {

// Name, apartment number, first and second serial number, access code.
constexpr int kTransferLineFields = 5;

// Field `index` of a transfer line.
std::string field(const std::string& line, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = line.find('|', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    return line.substr(start, line.find('|', start) - start);
}

// Removes the lines both sides share (as a multiset: two equal residents are two lines).
void dropShared(std::vector<std::string>& held, std::vector<std::string>& now) {
    std::map<std::string, int> counts;
    for (const std::string& line : held)
        ++counts[line];
    std::vector<std::string> onlyNow;
    for (std::string& line : now) {
        auto it = counts.find(line);
        if (it != counts.end() && it->second > 0)
            --it->second;
        else
            onlyNow.push_back(std::move(line));
    }
    std::vector<std::string> onlyHeld;
    for (std::string& line : held) {
        auto it = counts.find(line);
        if (it->second > 0) {
            --it->second;
            onlyHeld.push_back(std::move(line));
        }
    }
    held = std::move(onlyHeld);
    now = std::move(onlyNow);
}

// Pairs each held line with the first new line the key matches; what is paired is "changed".
template <typename Key>
void pairBy(StationDifference& d, std::vector<std::string>& held, std::vector<std::string>& now, Key key) {
    for (auto h = held.begin(); h != held.end();) {
        const auto n = std::find_if(now.begin(), now.end(), [&](const std::string& line) {
            return !key(line).empty() && key(line) == key(*h);
        });
        if (n == now.end()) {
            ++h;
            continue;
        }
        d.changed.emplace_back(*h, *n);
        now.erase(n);
        h = held.erase(h);
    }
}

// The record-changed line and the new and removed residents, as both kinds of list show them.
std::vector<std::string> addedAndRemoved(const StationDifference& d) {
    std::vector<std::string> out;
    if (d.recordChanged)
        out.push_back("Seriennummer oder Zeichensatz geändert: alle Bewohner werden neu gesendet");
    for (const std::string& line : d.added)
        out.push_back("neu: " + line);
    for (const std::string& line : d.removed)
        out.push_back("entfernt: " + line);
    return out;
}

}  // namespace

StationDifference compareStation(const std::optional<StationState>& held, std::uint32_t serial,
                                 Firmware firmware, const std::vector<std::string>& lines) {
    StationDifference d;
    std::vector<std::string> before = held ? held->lines : std::vector<std::string>{};
    std::vector<std::string> now = lines;
    if (held) {
        d.lastSent = held->sentAt;
        d.recordChanged = held->serial != serial || held->firmware != firmware;
        d.answeredBeforeSending = held->answeredBeforeSending;
    }
    const bool sameOrder = before == now;
    dropShared(before, now);
    pairBy(d, before, now, [](const std::string& line) { return field(line, 0); });
    pairBy(d, before, now, [](const std::string& line) {
        const std::string apartment = field(line, 1), serialNumber = field(line, 2);
        return apartment.empty() && serialNumber == "0" ? std::string() : apartment + "|" + serialNumber;
    });
    d.removed = std::move(before);
    d.added = std::move(now);
    if (!held)
        d.status = StationStatus::NeverSent;
    else if (!held->complete)
        d.status = StationStatus::Incomplete;
    else if (!sameOrder || d.recordChanged)
        d.status = StationStatus::Changed;
    else
        d.status = StationStatus::Current;
    return d;
}

StationDifference StationDifferenceOf(Program& program, int station, const StationDirectory& directory) {
    const StationRecord record = readStation(program, station);
    return compareStation(readStationState(program, station),
                          static_cast<std::uint32_t>(leadingNumber(record.serial)),
                          record.olderFirmware ? Firmware::V27 : Firmware::V3, transferLines(directory));
}

std::vector<int> ChangedStations(Program& program, StationDirectories& directories,
                                 const std::vector<int>& stations) {
    std::vector<int> changed;
    for (const int station : stations)
        if (StationDifferenceOf(program, station, directories.of(station)).differs())
            changed.push_back(station);
    return changed;
}

std::string statusText(const StationDifference& d) {
    switch (d.status) {
        case StationStatus::Current:
            return "gesendet am " + (d.lastSent ? germanDateTime(*d.lastSent) : std::string("–")) +
                   ", seitdem unverändert" +
                   (d.answeredBeforeSending ? "; Station hat vor dem Senden geantwortet" : "");
        case StationStatus::NeverSent:
            return "nie übertragen";
        case StationStatus::Incomplete:
            return "unvollständig";
        case StationStatus::Changed:
            break;
    }
    return "geändert (" + std::to_string(d.added.size()) + " neu, " + std::to_string(d.removed.size()) +
           " entfernt, " + std::to_string(d.changed.size()) + " geändert)";
}

std::vector<std::string> differenceLines(const StationDifference& d) {
    std::vector<std::string> out = addedAndRemoved(d);
    for (const auto& [before, after] : d.changed)
        out.push_back("geändert: " + before + " -> " + after);
    return out;
}

std::vector<std::string> differenceRows(const StationDifference& d) {
    std::vector<std::string> out = addedAndRemoved(d);
    for (const auto& [before, after] : d.changed) {
        std::string row;
        for (int i = 0; i < kTransferLineFields; ++i) {
            const std::string was = field(before, i), is = field(after, i);
            if (i > 0)
                row += '|';
            if (was != is)
                row += "bisher: " + was + " \u2192 jetzt: " + is;
            else
                row += (i == 0 ? "geändert: " : "") + is;
        }
        out.push_back(std::move(row));
    }
    return out;
}

}  // namespace pnl
