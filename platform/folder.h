#pragma once
// A folder opened once and then worked on through its own descriptor, by the names of its entries. No call
// reaches outside it: a name is one entry (no "/", not "." or ".."), and no call follows a symbolic link (a
// link is an entry of its own kind; it is renamed or removed as itself, never read or written through). The
// commit at exit, its recovery at the start and the backups work only through such folders, so that files
// planted in the installation folder cannot lead them elsewhere.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pnl {

// A file's size and the SHA-256 of its content (64 lower-case hex digits).
struct FileDigest {
    std::int64_t size = 0;
    std::string sha256;
    bool operator==(const FileDigest&) const = default;
};

enum class EntryKind { Missing, File, Folder, Link, Other };

// True for a name that stands for one entry of a folder.
bool isEntryName(const std::string& name);

class Folder {
  public:
    virtual ~Folder() = default;

    // The path as it was given (for messages), and the same folder with every link on the way resolved when
    // it was opened (for the database engine, which opens files by path and is told to refuse any link on
    // it).
    virtual const std::string& path() const = 0;
    virtual const std::string& resolvedPath() const = 0;
    // The open folder itself, for the moves and copies between two folders.
    virtual int descriptor() const = 0;

    virtual EntryKind kind(const std::string& name) const = 0;
    // The entries' names (without "." and ".."), sorted.
    virtual std::vector<std::string> names() const = 0;
    // The content of a file (never of a link, a folder or a device); nothing when there is none.
    virtual std::optional<std::string> read(const std::string& name) const = 0;
    virtual std::optional<FileDigest> digest(const std::string& name) const = 0;
    // Why the program may not replace this file (it is read-only, or this folder may not be written), in
    // German; empty when it may.
    virtual std::string replaceRefusal(const std::string& name) const = 0;
    // A sub-folder; nothing when there is none or the name is a link.
    virtual std::unique_ptr<Folder> openFolder(const std::string& name, std::string* error) = 0;

    // The changing calls report why they failed in *error (German, naming the file) where they take one.
    virtual bool makeFolder(const std::string& name, std::string* error) = 0;
    // Removes an empty sub-folder.
    virtual bool removeFolder(const std::string& name) = 0;
    // Removes a file or a link (the link itself).
    virtual bool remove(const std::string& name) = 0;
    virtual bool rename(const std::string& name, Folder& into, const std::string& newName,
                        std::string* error) = 0;
    // Gives a file a second name (a hard link); false where the file system has none.
    virtual bool link(const std::string& name, Folder& into, const std::string& newName) = 0;
    // Copies a file to a name that must be new, flushed to disk, with the permissions of the file `modeOf` in
    // `into` when that exists. A failed copy leaves no file `newName`.
    virtual bool copy(const std::string& name, Folder& into, const std::string& newName,
                      const std::string& modeOf, std::string* error) = 0;
    // Replaces the file's whole content atomically: a temporary file "NAME.tmp-PID-N" beside it, flushed,
    // renamed over it, and this folder flushed. The one way the program replaces a file.
    virtual bool writeAtomic(const std::string& name, const std::string& content, std::string* error) = 0;
    // Flushes the folder, so that the renames in it survive a power cut.
    virtual bool sync(std::string* error) = 0;
};

// Opens the folder at `path` (the path may lead through links: the user chose it). Nothing and *error
// (German) when it is no folder.
std::unique_ptr<Folder> openPosixFolder(const std::string& path, std::string* error);

}  // namespace pnl
