#pragma once
// The commit record: a small text file in the installation folder that exists only while QBXDATA.MDB and
// ANLAGE99.INI are being replaced. It names the two files only by their names in the installation folder and
// tells each one's old and new state by its content (the database by a digest of its schema and rows, the
// settings file by size and SHA-256), so that a start after a crash or a power cut can tell which state each
// file is in, and finish the commit or undo it. The format is in docs/commit.md.

#include <optional>
#include <string>
#include <vector>

#include "platform/folder.h"

namespace pnl {

inline constexpr const char* kCommitRecordFile = "SICHERUNG-LAEUFT.TXT";
// The new content and the kept old content lie beside the original under these suffixes.
inline constexpr const char* kNewSuffix = ".neu";
inline constexpr const char* kOldSuffix = ".alt";

struct CommitEntry {
    std::string name;      // QBXDATA.MDB or ANLAGE99.INI, a name in the installation folder
    bool inPlace = false;  // the database: written in place; the settings file: replaced by a rename
    std::string oldState;  // the database's content digest; the settings file's "<size> <sha256>"
    std::string newState;
    std::string staged() const { return name + kNewSuffix; }
    std::string kept() const { return name + kOldSuffix; }
};

// "<size> <sha256>": a settings file's state as the record tells it.
std::string fileState(const FileDigest& digest);

std::string formatCommitRecord(const std::vector<CommitEntry>& entries);
// Nothing, and *why (German) when the text is not a whole record of QBXDATA.MDB and ANLAGE99.INI: a record
// that names any other file, a path or a parent folder is refused, never followed.
std::optional<std::vector<CommitEntry>> parseCommitRecord(const std::string& text,
                                                          std::string* why = nullptr);

}  // namespace pnl
