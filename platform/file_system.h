#pragma once
// File operations of the program. Every file it replaces is written beside the target, flushed and renamed
// over it, so no file is ever left half-written.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_lock.h"

namespace pnl {

// A file's size and the SHA-256 of its content (64 lower-case hex digits).
struct FileDigest {
    std::int64_t size = 0;
    std::string sha256;
    bool operator==(const FileDigest&) const = default;
};

// What a path names, seen without following a symbolic link.
enum class EntryKind { Missing, File, Folder, Link, Other };

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual EntryKind entryKind(const std::string& path) const = 0;
    virtual bool fileExists(const std::string& path) const = 0;
    virtual bool folderExists(const std::string& path) const = 0;
    virtual bool createFolder(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    virtual std::optional<std::string> readFile(const std::string& path) const = 0;
    // Replaces the file's whole content atomically (temporary file, flush, rename). A failure leaves the file
    // as it was, with why in *error (German) when given.
    virtual bool writeFileAtomic(const std::string& path, const std::string& content,
                                 std::string* error = nullptr) = 0;
    // Copies over the target atomically.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    // Appends text and a CR LF line end; creates the file when missing, never the folder.
    virtual bool appendLine(const std::string& path, const std::string& line) = 0;

    // The steps of a commit that replaces several files as one (each reports why it failed in *error).
    // Where a symbolic link finally leads (the path itself when it is no link or does not exist).
    virtual std::string resolveLinks(const std::string& path) const = 0;
    // Why the program may not replace this file (it is read-only, or its folder may not be written), in
    // German; empty when it may.
    virtual std::string replaceRefusal(const std::string& path) const = 0;
    // Copies `from` to the new file `to` (an existing one is overwritten), flushed to disk, with the
    // permissions of `modeOf` when that exists. A failed copy leaves no file `to`.
    virtual bool copyFlushed(const std::string& from, const std::string& to, const std::string& modeOf,
                             std::string* error) = 0;
    // Gives an existing file a second name (a hard link); false where the file system has none.
    virtual bool linkFile(const std::string& existing, const std::string& secondName) = 0;
    virtual bool renameFile(const std::string& from, const std::string& to, std::string* error) = 0;
    // Flushes a folder, so that renames in it survive a power cut.
    virtual bool syncFolder(const std::string& folder, std::string* error) = 0;
    virtual std::optional<FileDigest> digest(const std::string& path) const = 0;
    // The size in bytes, without reading the file; nothing when there is no such file.
    virtual std::optional<std::int64_t> fileSize(const std::string& path) const = 0;
    // The names in a folder (files and folders, without "." and ".."), sorted.
    virtual std::vector<std::string> listFolder(const std::string& folder) const = 0;
    // Removes an empty folder.
    virtual bool removeFolder(const std::string& folder) = 0;
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
    std::string resolveLinks(const std::string& path) const override;
    std::string replaceRefusal(const std::string& path) const override;
    bool copyFlushed(const std::string& from, const std::string& to, const std::string& modeOf,
                     std::string* error) override;
    bool linkFile(const std::string& existing, const std::string& secondName) override;
    bool renameFile(const std::string& from, const std::string& to, std::string* error) override;
    bool syncFolder(const std::string& folder, std::string* error) override;
    std::optional<FileDigest> digest(const std::string& path) const override;
    std::optional<std::int64_t> fileSize(const std::string& path) const override;
    std::vector<std::string> listFolder(const std::string& folder) const override;
    bool removeFolder(const std::string& folder) override;
    FileLock::Result lockFile(FileLock& lock, const std::string& path, const std::string& note,
                              std::string* holderNote, LockFailure* failure) override;

  protected:
    // Moves a finished temporary file over its target (rename); tests override it to make one step fail.
    virtual bool replaceFile(const std::string& temp, const std::string& target);
};

}  // namespace pnl
