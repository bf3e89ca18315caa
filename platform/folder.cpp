#include "platform/folder.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sodium.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "platform/descriptor.h"
#include "platform/failure_text.h"

namespace pnl {

namespace {

constexpr int kReadFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;  // a FIFO must not block the read
constexpr int kNewFileFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
// What a name that is no entry of the folder (a path, "..") is told as: there is no such file in it.
constexpr int kNoEntry = ENOENT;

bool fail(std::string* error, const std::string& what, int code) {
    if (error)
        *error = what + ": " + systemFailureText(code);
    return false;
}

// A regular file of the folder, opened for reading without following a link.
Descriptor openFile(int folder, const std::string& name) {
    if (!isEntryName(name)) {
        errno = kNoEntry;
        return Descriptor();
    }
    Descriptor fd(::openat(folder, name.c_str(), kReadFlags));
    struct stat st {};
    if (fd.valid() && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return Descriptor();
    }
    return fd;
}

// "NAME.tmp-PID-N": a name beside the target that a start after a crash recognises as a leftover.
std::string temporaryNameFor(const std::string& name) {
    std::random_device random;
    return name + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 100000000u);
}

// Copies the rest of `source` into `target`, flushed and closed; errno set on failure.
bool copyFlushed(int source, Descriptor& target) {
    const bool copied = readPieces(
        source, [&target](const char* data, std::size_t size) { return writeAll(target.get(), data, size); });
    return copied && ::fsync(target.get()) == 0 && target.close();
}

// The permissions of an existing file of the folder for a file that takes its place.
void copyMode(int folder, const std::string& modeOf, int target) {
    struct stat st {};
    if (isEntryName(modeOf) && ::fstatat(folder, modeOf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode))
        ::fchmod(target, st.st_mode & 07777);
}

class PosixFolder final : public Folder {
  public:
    PosixFolder(Descriptor fd, std::string path, std::string resolved)
        : fd_(std::move(fd)), path_(std::move(path)), resolved_(std::move(resolved)) {}

    const std::string& path() const override { return path_; }
    const std::string& resolvedPath() const override { return resolved_; }
    int descriptor() const override { return fd_.get(); }

    EntryKind kind(const std::string& name) const override {
        struct stat st {};
        if (!isEntryName(name))
            return EntryKind::Other;
        if (::fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return errno == ENOENT ? EntryKind::Missing : EntryKind::Other;
        if (S_ISREG(st.st_mode))
            return EntryKind::File;
        if (S_ISDIR(st.st_mode))
            return EntryKind::Folder;
        return S_ISLNK(st.st_mode) ? EntryKind::Link : EntryKind::Other;
    }

    std::vector<std::string> names() const override {
        std::vector<std::string> names;
        Descriptor own(::dup(fd_.get()));
        FolderListing dir(own.valid() ? ::fdopendir(own.get()) : nullptr);
        if (!dir)
            return names;
        own.release();           // the listing owns the copy now
        ::rewinddir(dir.get());  // the copy shares its position with the folder's own descriptor
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::optional<std::string> read(const std::string& name) const override {
        const Descriptor fd = openFile(fd_.get(), name);
        return fd.valid() ? readAll(fd.get()) : std::nullopt;
    }

    std::optional<FileDigest> digest(const std::string& name) const override {
        const Descriptor fd = openFile(fd_.get(), name);
        if (!fd.valid() || sodium_init() < 0)
            return std::nullopt;
        crypto_hash_sha256_state state;
        crypto_hash_sha256_init(&state);
        FileDigest result;
        const bool read = readPieces(fd.get(), [&](const char* data, std::size_t size) {
            crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(data), size);
            result.size += static_cast<std::int64_t>(size);
            return true;
        });
        if (!read)
            return std::nullopt;
        unsigned char hash[crypto_hash_sha256_BYTES];
        crypto_hash_sha256_final(&state, hash);
        char hex[crypto_hash_sha256_BYTES * 2 + 1];
        sodium_bin2hex(hex, sizeof hex, hash, sizeof hash);
        result.sha256 = hex;
        return result;
    }

    std::string replaceRefusal(const std::string& name) const override {
        struct stat st {};
        // A file without any write permission is read-only even for the administrator, as on Windows.
        if (isEntryName(name) && ::fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            ((st.st_mode & 0222) == 0 || ::faccessat(fd_.get(), name.c_str(), W_OK, 0) != 0))
            return "Die Datei " + pathOf(name) + " ist schreibgeschützt.";
        if (::faccessat(fd_.get(), ".", W_OK | X_OK, 0) != 0)
            return "Keine Schreibrechte für den Ordner " + path_ + ".";
        return {};
    }

    std::unique_ptr<Folder> openFolder(const std::string& name, std::string* error) override {
        if (!isEntryName(name)) {
            fail(error, pathOf(name), kNoEntry);
            return nullptr;
        }
        Descriptor fd(::openat(fd_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!fd.valid()) {
            const int code = errno;  // a link to a file reports that it is no folder; it is a link
            fail(error, pathOf(name), code == ENOTDIR && kind(name) == EntryKind::Link ? ELOOP : code);
            return nullptr;
        }
        return std::make_unique<PosixFolder>(std::move(fd), pathOf(name), resolved_ + "/" + name);
    }

    bool makeFolder(const std::string& name, std::string* error) override {
        if (!isEntryName(name) || ::mkdirat(fd_.get(), name.c_str(), 0777) != 0)
            return fail(error, pathOf(name), isEntryName(name) ? errno : kNoEntry);
        return true;
    }

    bool removeFolder(const std::string& name) override {
        return isEntryName(name) && ::unlinkat(fd_.get(), name.c_str(), AT_REMOVEDIR) == 0;
    }

    bool remove(const std::string& name) override {
        return isEntryName(name) && ::unlinkat(fd_.get(), name.c_str(), 0) == 0;
    }

    bool rename(const std::string& name, Folder& into, const std::string& newName,
                std::string* error) override {
        if (!isEntryName(name) || !isEntryName(newName))
            return fail(error, pathOf(name), kNoEntry);
        if (::renameat(fd_.get(), name.c_str(), into.descriptor(), newName.c_str()) != 0)
            return fail(error, into.path() + "/" + newName, errno);
        return true;
    }

    bool link(const std::string& name, Folder& into, const std::string& newName) override {
        return isEntryName(name) && isEntryName(newName) &&
               ::linkat(fd_.get(), name.c_str(), into.descriptor(), newName.c_str(), 0) == 0;
    }

    bool copy(const std::string& name, Folder& into, const std::string& newName, const std::string& modeOf,
              std::string* error) override {
        const Descriptor source = openFile(fd_.get(), name);
        if (!source.valid())
            return fail(error, pathOf(name), errno);
        if (!isEntryName(newName))
            return fail(error, into.path() + "/" + newName, kNoEntry);
        Descriptor target(::openat(into.descriptor(), newName.c_str(), kNewFileFlags, 0666));
        if (!target.valid())
            return fail(error, into.path() + "/" + newName, errno);
        copyMode(into.descriptor(), modeOf, target.get());
        if (copyFlushed(source.get(), target))
            return true;
        const int code = errno;
        target.close();
        ::unlinkat(into.descriptor(), newName.c_str(), 0);
        return fail(error, into.path() + "/" + newName, code);
    }

    bool writeAtomic(const std::string& name, const std::string& content, std::string* error) override {
        if (!isEntryName(name))
            return fail(error, pathOf(name), kNoEntry);
        std::string temp;
        Descriptor fd;
        for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
            temp = temporaryNameFor(name);
            fd = Descriptor(::openat(fd_.get(), temp.c_str(), kNewFileFlags, 0666));
            if (!fd.valid() && errno != EEXIST)
                return fail(error, pathOf(name), errno);
        }
        if (!fd.valid())
            return fail(error, pathOf(name), EEXIST);
        copyMode(fd_.get(), name, fd.get());
        const bool written = writeAll(fd.get(), content.data(), content.size()) && ::fsync(fd.get()) == 0;
        const int code = errno;
        if (!fd.close() || !written) {
            ::unlinkat(fd_.get(), temp.c_str(), 0);
            return fail(error, pathOf(name), written ? EIO : code);
        }
        if (::renameat(fd_.get(), temp.c_str(), fd_.get(), name.c_str()) != 0) {
            const int renameCode = errno;
            ::unlinkat(fd_.get(), temp.c_str(), 0);
            return fail(error, pathOf(name), renameCode);
        }
        ::fsync(fd_.get());  // the file is replaced either way; callers that need the name on disk sync()
        return true;
    }

    bool sync(std::string* error) override { return ::fsync(fd_.get()) == 0 || fail(error, path_, errno); }

  private:
    std::string pathOf(const std::string& name) const { return path_ + "/" + name; }

    Descriptor fd_;
    std::string path_, resolved_;
};

}  // namespace

bool isEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::unique_ptr<Folder> openPosixFolder(const std::string& path, std::string* error) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    char resolved[PATH_MAX];
    if (!fd.valid() || !::realpath(path.c_str(), resolved)) {
        fail(error, path, errno);
        return nullptr;
    }
    return std::make_unique<PosixFolder>(std::move(fd), path, resolved);
}

}  // namespace pnl
