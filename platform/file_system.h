#pragma once
// File operations of the program. Every file it replaces is written beside the target, flushed and renamed
// over it, so no file is ever left half-written.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_lock.h"
#include "platform/folder.h"

namespace pnl {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // What a path names, seen without following a link at its end.
    virtual EntryKind entryKind(const std::string& path) const = 0;
    virtual bool fileExists(const std::string& path) const = 0;
    virtual bool folderExists(const std::string& path) const = 0;
    virtual bool createFolder(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    virtual std::optional<std::string> readFile(const std::string& path) const = 0;
    // Replaces the file's whole content atomically (Folder::writeAtomic in the file's folder). A failure
    // leaves the file as it was, with why in *error (German) when given.
    virtual bool writeFileAtomic(const std::string& path, const std::string& content,
                                 std::string* error = nullptr) = 0;
    // Copies over the target atomically.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    // Appends text and a CR LF line end; creates the file when missing, never the folder.
    virtual bool appendLine(const std::string& path, const std::string& line) = 0;
    virtual bool renameFile(const std::string& from, const std::string& to, std::string* error) = 0;
    // The size in bytes, without reading the file; nothing when there is no such file.
    virtual std::optional<std::int64_t> fileSize(const std::string& path) const = 0;
    // A folder to work on by the names of its entries (the commit, its recovery, the backups); nothing and
    // *error (German) when there is no such folder.
    virtual std::unique_ptr<Folder> openFolder(const std::string& path, std::string* error) = 0;
    // Takes the advisory lock of a lock file for this process (FileLock::tryLock).
    virtual FileLock::Result lockFile(FileLock& lock, const std::string& path, const std::string& note,
                                      std::string* holderNote, LockFailure* failure) = 0;
};

// The real file system (POSIX).
class PosixFileSystem : public FileSystem {
  public:
    EntryKind entryKind(const std::string& path) const override;
    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    bool createFolder(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) const override;
    bool writeFileAtomic(const std::string& path, const std::string& content,
                         std::string* error = nullptr) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool appendLine(const std::string& path, const std::string& line) override;
    bool renameFile(const std::string& from, const std::string& to, std::string* error) override;
    std::optional<std::int64_t> fileSize(const std::string& path) const override;
    std::unique_ptr<Folder> openFolder(const std::string& path, std::string* error) override;
    FileLock::Result lockFile(FileLock& lock, const std::string& path, const std::string& note,
                              std::string* holderNote, LockFailure* failure) override;
};

}  // namespace pnl
