#pragma once
// The commit record: a small text file in the installation folder that exists only while QBXDATA.MDB and
// ANLAGE99.INI are being replaced. It names, for each file, the original (its link target), the new file
// beside it and the kept old file, with their sizes and SHA-256, so that a start after a crash or a power cut
// can finish the commit or undo it.

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace pnl {

inline constexpr const char* kCommitRecordFile = "SICHERUNG-LAEUFT.TXT";
// The new file and the kept old file lie beside the original under these suffixes.
inline constexpr const char* kNewSuffix = ".neu";
inline constexpr const char* kOldSuffix = ".alt";

struct CommitEntry {
    std::string name;    // QBXDATA.MDB or ANLAGE99.INI
    std::string target;  // the original, its symbolic links resolved
    std::string staged;  // the new content, beside target
    std::string kept;    // the old content, beside target
    FileDigest newDigest;
    std::optional<FileDigest> oldDigest;  // nothing: there was no original
};

std::string formatCommitRecord(const std::vector<CommitEntry>& entries);
// Nothing when the text is not a whole record.
std::optional<std::vector<CommitEntry>> parseCommitRecord(const std::string& text);

}  // namespace pnl
