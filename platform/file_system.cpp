#include "platform/file_system.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <limits.h>
#include <sodium.h>
#include <stdlib.h>

#include <algorithm>
#include <random>

#include "platform/failure_text.h"

namespace pnl {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The cause in the user's words; no system text reaches the user.
std::string describeErrno(int error) {
    return systemFailureText(error);
}

// Flushes a folder so that a rename in it survives a power cut.
bool flushFolder(const std::string& folder, std::string* error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = folder + ": " + describeErrno(errno);
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    if (!ok && error)
        *error = folder + ": " + describeErrno(errno);
    ::close(fd);
    return ok;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A name beside the target that no other file has (the caller creates it exclusively and retries).
std::string tempNameFor(const std::string& target) {
    std::random_device random;
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 100000000u);
}

// A temporary file beside the target, readable as the target is (or by the umask for a new file). The caller
// fills, flushes and closes it.
int createTempFor(const std::string& target, std::string* tempPath, std::string* error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempPath = tempNameFor(target);
        const int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            struct stat st {};
            if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                ::fchmod(fd, st.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST) {
            if (error)
                *error = describeErrno(errno);
            return -1;
        }
    }
    if (error)
        *error = "kein freier Name für eine temporäre Datei";
    return -1;
}

// Writes the content of `source` (a readable descriptor) or of `content` into a flushed temporary file beside
// target. Returns its path, or nothing with *error set (the temporary file is then gone).
std::optional<std::string> stageTemp(const std::string& target, int source, const std::string* content,
                                     std::string* error) {
    std::string temp;
    const int fd = createTempFor(target, &temp, error);
    if (fd < 0)
        return std::nullopt;
    bool ok = true;
    if (content) {
        ok = writeAll(fd, content->data(), content->size());
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(source, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            if (!writeAll(fd, buffer, static_cast<std::size_t>(n))) {
                ok = false;
                break;
            }
        }
    }
    const int savedErrno = errno;
    ok = ok && ::fsync(fd) == 0;
    const int syncErrno = errno;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        if (error)
            *error = describeErrno(savedErrno ? savedErrno : syncErrno);
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    return temp;
}

std::optional<std::string> stageCopy(const std::string& from, const std::string& to, std::string* error) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        if (error)
            *error = from + ": " + describeErrno(errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(source, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = from + ": keine Datei";
        ::close(source);
        return std::nullopt;
    }
    std::string why;
    auto temp = stageTemp(to, source, nullptr, &why);
    ::close(source);
    if (!temp && error)
        *error = to + ": " + why;
    return temp;
}

}  // namespace

EntryKind PosixFileSystem::entryKind(const std::string& path) const {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return EntryKind::Missing;
    if (S_ISREG(st.st_mode))
        return EntryKind::File;
    if (S_ISDIR(st.st_mode))
        return EntryKind::Folder;
    return S_ISLNK(st.st_mode) ? EntryKind::Link : EntryKind::Other;
}

bool PosixFileSystem::fileExists(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::folderExists(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::createFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && folderExists(path));
}

bool PosixFileSystem::deleteFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::optional<std::string> PosixFileSystem::readFile(const std::string& path) const {
    // Without O_NONBLOCK opening a FIFO waits for a writer; a plain file reads the same either way.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

bool PosixFileSystem::replaceFile(const std::string& temp, const std::string& target) {
    return ::rename(temp.c_str(), target.c_str()) == 0;
}

bool PosixFileSystem::writeFileAtomic(const std::string& path, const std::string& content,
                                      std::string* error) {
    const auto temp = stageTemp(path, -1, &content, error);
    if (!temp)
        return false;
    if (!replaceFile(*temp, path)) {
        if (error)
            *error = describeErrno(errno);
        ::unlink(temp->c_str());
        return false;
    }
    flushFolder(folderOf(path), nullptr);
    return true;
}

bool PosixFileSystem::copyFile(const std::string& from, const std::string& to) {
    const auto temp = stageCopy(from, to, nullptr);
    if (!temp)
        return false;
    if (!replaceFile(*temp, to)) {
        ::unlink(temp->c_str());
        return false;
    }
    flushFolder(folderOf(to), nullptr);
    return true;
}

bool PosixFileSystem::appendLine(const std::string& path, const std::string& line) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const std::string text = line + "\r\n";
    const bool ok = writeAll(fd, text.data(), text.size());
    return (::close(fd) == 0) && ok;
}

std::string PosixFileSystem::resolveLinks(const std::string& path) const {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

std::string PosixFileSystem::replaceRefusal(const std::string& path) const {
    struct stat st {};
    // A file without any write permission is read-only even for the administrator, as on Windows.
    if (::stat(path.c_str(), &st) == 0 && ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0))
        return "Die Datei " + path + " ist schreibgeschützt.";
    const std::string folder = folderOf(path);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "Keine Schreibrechte für den Ordner " + folder + ".";
    return {};
}

bool PosixFileSystem::copyFlushed(const std::string& from, const std::string& to, const std::string& modeOf,
                                  std::string* error) {
    auto fail = [&](const std::string& what, int code) {
        if (error)
            *error = what + ": " + describeErrno(code);
        return false;
    };
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return fail(from, errno);
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int code = errno;
        ::close(source);
        return fail(to, code);
    }
    struct stat st {};
    if (::stat(modeOf.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, st.st_mode & 07777);
    bool ok = true;
    int code = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(source, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            code = errno;
            break;
        }
        if (!writeAll(fd, buffer, static_cast<std::size_t>(n))) {
            ok = false;
            code = errno;
            break;
        }
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        code = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    ::close(source);
    if (ok)
        return true;
    ::unlink(to.c_str());
    return fail(to, code);
}

bool PosixFileSystem::linkFile(const std::string& existing, const std::string& secondName) {
    return ::link(existing.c_str(), secondName.c_str()) == 0;
}

bool PosixFileSystem::renameFile(const std::string& from, const std::string& to, std::string* error) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (error)
        *error = to + ": " + describeErrno(errno);
    return false;
}

bool PosixFileSystem::syncFolder(const std::string& folder, std::string* error) {
    return flushFolder(folder, error);
}

std::optional<std::int64_t> PosixFileSystem::fileSize(const std::string& path) const {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::int64_t>(st.st_size);
}

std::optional<FileDigest> PosixFileSystem::digest(const std::string& path) const {
    if (sodium_init() < 0)
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    FileDigest result;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(buffer),
                                  static_cast<unsigned long long>(n));
        result.size += n;
    }
    ::close(fd);
    unsigned char hash[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, hash);
    char hex[crypto_hash_sha256_BYTES * 2 + 1];
    sodium_bin2hex(hex, sizeof hex, hash, sizeof hash);
    result.sha256 = hex;
    return result;
}

std::vector<std::string> PosixFileSystem::listFolder(const std::string& folder) const {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool PosixFileSystem::removeFolder(const std::string& folder) {
    return ::rmdir(folder.c_str()) == 0;
}

FileLock::Result PosixFileSystem::lockFile(FileLock& lock, const std::string& path, const std::string& note,
                                           std::string* holderNote, LockFailure* failure) {
    return lock.tryLock(path, note, holderNote, failure);
}

}  // namespace pnl
