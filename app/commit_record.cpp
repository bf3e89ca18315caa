#include "app/commit_record.h"

#include <sstream>

namespace pnl {

namespace {

constexpr const char* kHeader = "PNL-Sicherung 1";
constexpr const char* kEnd = "Ende";

std::string digestFields(const FileDigest& digest) {
    return std::to_string(digest.size) + " " + digest.sha256;
}

// "<size> <sha256> <path>": the path is the rest of the line, so it may hold blanks.
bool parseDigestLine(const std::string& rest, FileDigest* digest, std::string* path) {
    std::istringstream in(rest);
    if (!(in >> digest->size >> digest->sha256) || digest->size < 0 || digest->sha256.size() != 64)
        return false;
    if (in.get() != ' ')
        return false;
    std::getline(in, *path);
    return !path->empty();
}

bool takePrefix(const std::string& line, const std::string& prefix, std::string* rest) {
    if (line.rfind(prefix, 0) != 0)
        return false;
    *rest = line.substr(prefix.size());
    return true;
}

}  // namespace

std::string formatCommitRecord(const std::vector<CommitEntry>& entries) {
    std::string text = std::string(kHeader) + "\n";
    for (const auto& e : entries) {
        text += "Datei " + e.name + "\n";
        text += "Ziel " + e.target + "\n";
        text += "Neu " + digestFields(e.newDigest) + " " + e.staged + "\n";
        if (e.oldDigest)
            text += "Alt " + digestFields(*e.oldDigest) + " " + e.kept + "\n";
        else
            text += "Alt keine " + e.kept + "\n";
    }
    return text + kEnd + "\n";
}

std::optional<std::vector<CommitEntry>> parseCommitRecord(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (lines.size() < 2 || lines.front() != kHeader || lines.back() != kEnd || (lines.size() - 2) % 4 != 0)
        return std::nullopt;
    std::vector<CommitEntry> entries;
    for (std::size_t i = 1; i + 1 < lines.size(); i += 4) {
        CommitEntry e;
        std::string rest;
        if (!takePrefix(lines[i], "Datei ", &e.name) || !takePrefix(lines[i + 1], "Ziel ", &e.target) ||
            !takePrefix(lines[i + 2], "Neu ", &rest) || !parseDigestLine(rest, &e.newDigest, &e.staged))
            return std::nullopt;
        if (takePrefix(lines[i + 3], "Alt keine ", &e.kept)) {
            e.oldDigest.reset();
        } else {
            FileDigest old;
            if (!takePrefix(lines[i + 3], "Alt ", &rest) || !parseDigestLine(rest, &old, &e.kept))
                return std::nullopt;
            e.oldDigest = old;
        }
        entries.push_back(e);
    }
    return entries;
}

}  // namespace pnl
