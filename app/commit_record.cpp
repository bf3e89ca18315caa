#include "app/commit_record.h"

#include <algorithm>
#include <sstream>

#include "app/program.h"

namespace pnl {

namespace {

constexpr const char* kHeader = "PNL-Sicherung 2";
constexpr const char* kEnd = "Ende";

bool hexDigits(const std::string& text, std::size_t count) {
    return text.size() == count && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// "<64 hex>" for the database, "<size> <64 hex>" for the settings file.
bool isState(const std::string& state, bool inPlace) {
    if (inPlace)
        return hexDigits(state, 64);
    const auto blank = state.find(' ');
    return blank != std::string::npos && blank > 0 && blank <= 18 &&
           std::all_of(state.begin(), state.begin() + static_cast<std::ptrdiff_t>(blank),
                       [](char c) { return c >= '0' && c <= '9'; }) &&
           hexDigits(state.substr(blank + 1), 64);
}

bool takePrefix(const std::string& line, const std::string& prefix, std::string* rest) {
    if (line.rfind(prefix, 0) != 0)
        return false;
    *rest = line.substr(prefix.size());
    return true;
}

// The record's lines of each file, in this order and with these names only.
struct Expected {
    const char* label;
    const char* name;
    bool inPlace;
};
constexpr Expected kExpected[] = {{"Datenbank ", kDatabaseFile, true}, {"Datei ", kSettingsFile, false}};

}  // namespace

std::string fileState(const FileDigest& digest) {
    return std::to_string(digest.size) + " " + digest.sha256;
}

std::string formatCommitRecord(const std::vector<CommitEntry>& entries) {
    std::string text = std::string(kHeader) + "\n";
    for (const auto& e : entries)
        text += std::string(e.inPlace ? "Datenbank " : "Datei ") + e.name + "\nAlt " + e.oldState + "\nNeu " +
                e.newState + "\n";
    return text + kEnd + "\n";
}

std::optional<std::vector<CommitEntry>> parseCommitRecord(const std::string& text, std::string* why) {
    auto refuse = [why](const std::string& reason) -> std::optional<std::vector<CommitEntry>> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    const std::size_t count = std::size(kExpected);
    if (lines.empty() || lines.front() != kHeader)
        return refuse("Sie ist kein Sicherungsdatensatz dieses Setups.");
    std::vector<CommitEntry> entries;
    for (std::size_t i = 0; i < count && 1 + 3 * i < lines.size(); ++i) {
        const Expected& expected = kExpected[i];
        CommitEntry e;
        e.inPlace = expected.inPlace;
        if (!takePrefix(lines[1 + 3 * i], expected.label, &e.name))
            return refuse("Sie ist unvollständig oder beschädigt.");
        // Only the program's own file, by its name in the installation folder: never a path, a parent folder
        // or a name of another file.
        if (e.name != expected.name)
            return refuse("Sie nennt „" + e.name + "“; ein Sicherungsdatensatz nennt nur " + kDatabaseFile +
                          " und " + kSettingsFile + " im Installationsordner.");
        if (2 + 3 * i >= lines.size() || 3 + 3 * i >= lines.size() ||
            !takePrefix(lines[2 + 3 * i], "Alt ", &e.oldState) ||
            !takePrefix(lines[3 + 3 * i], "Neu ", &e.newState) || !isState(e.oldState, e.inPlace) ||
            !isState(e.newState, e.inPlace))
            return refuse("Sie ist unvollständig oder beschädigt.");
        entries.push_back(e);
    }
    if (entries.size() != count || lines.size() != 2 + 3 * count || lines.back() != kEnd)
        return refuse("Sie ist unvollständig oder beschädigt.");
    return entries;
}

}  // namespace pnl
