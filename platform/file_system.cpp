#include "platform/file_system.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/descriptor.h"
#include "platform/failure_text.h"

namespace pnl {

namespace {

// The folder and the name of a path's last entry.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
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
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return readAll(fd.get());
}

bool PosixFileSystem::writeFileAtomic(const std::string& path, const std::string& content,
                                      std::string* error) {
    const auto [folder, name] = splitPath(path);
    const auto opened = openFolder(folder, error);
    return opened && opened->writeAtomic(name, content, error);
}

bool PosixFileSystem::copyFile(const std::string& from, const std::string& to) {
    const auto content = readFile(from);
    return content && writeFileAtomic(to, *content);
}

bool PosixFileSystem::appendLine(const std::string& path, const std::string& line) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid())
        return false;
    const std::string text = line + "\r\n";
    const bool ok = writeAll(fd.get(), text.data(), text.size());
    return fd.close() && ok;
}

bool PosixFileSystem::renameFile(const std::string& from, const std::string& to, std::string* error) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (error)
        *error = to + ": " + systemFailureText(errno);
    return false;
}

std::optional<std::int64_t> PosixFileSystem::fileSize(const std::string& path) const {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::int64_t>(st.st_size);
}

std::unique_ptr<Folder> PosixFileSystem::openFolder(const std::string& path, std::string* error) {
    return openPosixFolder(path, error);
}

FileLock::Result PosixFileSystem::lockFile(FileLock& lock, const std::string& path, const std::string& note,
                                           std::string* holderNote, LockFailure* failure) {
    return lock.tryLock(path, note, holderNote, failure);
}

}  // namespace pnl
