#include "stations/station_state.h"

#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"

namespace pnl {
namespace {

constexpr const char* kComplete = "vollständig";
constexpr const char* kIncomplete = "unvollständig";
constexpr const char* kTableV27 = "2.7x";
constexpr const char* kTableV3 = "3.x";
constexpr const char* kAnswered = "geantwortet";
constexpr const char* kNotChecked = "nicht geprüft";

// A line may hold any character of the database: backslash, line feed and carriage return are escaped so
// that every transfer line stays one line of the file.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::optional<DateTime> parseDateTime(const std::string& text) {
    // dd.mm.yyyy hh:mm:ss
    if (text.size() != 19 || text[2] != '.' || text[5] != '.' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    auto number = [&](std::size_t at, std::size_t n) {
        return static_cast<int>(leadingNumber(text.substr(at, n)));
    };
    for (const std::size_t at : {0u, 3u, 6u, 11u, 14u, 17u})
        if (!allDigits(text.substr(at, at == 6 ? 4 : 2)))
            return std::nullopt;
    return DateTime{number(6, 4), number(3, 2), number(0, 2), number(11, 2), number(14, 2), number(17, 2)};
}

std::string secondsDateTime(const DateTime& t) {
    return germanDateTime(t) + ":" + zeroPadded(t.second, 2);
}

}  // namespace

std::string germanDateTime(const DateTime& t) {
    return zeroPadded(t.day, 2) + "." + zeroPadded(t.month, 2) + "." + zeroPadded(t.year, 4) + " " +
           zeroPadded(t.hour, 2) + ":" + zeroPadded(t.minute, 2);
}

std::string stationStateFile(int station) {
    return stationKey(station) + "_STAND.TXT";
}

std::string formatStationState(int station, const StationState& state) {
    std::string text = "# Stand der " + stationKey(station) +
                       ": was bei der letzten Übertragung an die PNL gesendet wurde\n";
    text += "Stand=" + std::string(state.complete ? kComplete : kIncomplete) + "\n";
    text += "Datum=" + secondsDateTime(state.sentAt) + "\n";
    text += "Seriennummer=" + std::to_string(state.serial) + "\n";
    text += "Zeichensatz=" + std::string(state.firmware == Firmware::V27 ? kTableV27 : kTableV3) + "\n";
    text += "Erreichbarkeit=" + std::string(state.answeredBeforeSending ? kAnswered : kNotChecked) + "\n";
    text += "Bewohner=" + std::to_string(state.lines.size()) + "\n";
    for (const std::string& line : state.lines)
        text += "Zeile=" + escaped(line) + "\n";
    return text;
}

std::optional<StationState> parseStationState(const std::string& text) {
    StationState state;
    bool haveState = false, haveDate = false;
    std::int64_t count = -1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "Stand") {
            state.complete = value == kComplete;
            haveState = value == kComplete || value == kIncomplete;
        } else if (key == "Datum") {
            const auto date = parseDateTime(value);
            haveDate = date.has_value();
            if (date)
                state.sentAt = *date;
        } else if (key == "Seriennummer") {
            state.serial = static_cast<std::uint32_t>(leadingNumber(value));
        } else if (key == "Zeichensatz") {
            state.firmware = value == kTableV27 ? Firmware::V27 : Firmware::V3;
        } else if (key == "Erreichbarkeit") {
            state.answeredBeforeSending = value == kAnswered;
        } else if (key == "Bewohner") {
            count = allDigits(value) ? leadingNumber(value) : -1;
        } else if (key == "Zeile") {
            state.lines.push_back(unescaped(value));
        }
    }
    // A file cut short or edited by hand so that the count no longer matches is not trusted.
    if (!haveState || !haveDate || count != static_cast<std::int64_t>(state.lines.size()))
        return std::nullopt;
    return state;
}

std::optional<StationState> readStationState(Program& program, int station) {
    const auto text = program.fs.readFile(program.path(stationStateFile(station)));
    if (!text)
        return std::nullopt;
    // A damaged file tells nothing about the station: it may hold anything.
    return parseStationState(*text).value_or(StationState{});
}

bool writeStationState(Program& program, int station, const StationState& state, std::string* error) {
    return program.fs.writeFileAtomic(program.path(stationStateFile(station)),
                                      formatStationState(station, state), error);
}

}  // namespace pnl
