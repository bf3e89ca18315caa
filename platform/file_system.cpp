#include "platform/file_system.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string describeErrno(int error) {
    return systemFailureText(error);
}

// Flushes a folder so that a rename in it survives a power cut.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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

bool PosixFileSystem::linkFile(const std::string& existing, const std::string& secondName) {
    return ::link(existing.c_str(), secondName.c_str()) == 0;
}

bool PosixFileSystem::writeFileAtomic(const std::string& path, const std::string& content) {
    const auto temp = stageTemp(path, -1, &content, nullptr);
    if (!temp)
        return false;
    if (!replaceFile(*temp, path)) {
        ::unlink(temp->c_str());
        return false;
    }
    syncFolder(folderOf(path));
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
    syncFolder(folderOf(to));
    return true;
}

bool PosixFileSystem::copyFilesAtomic(const std::vector<std::pair<std::string, std::string>>& fromTo,
                                      std::string* error) {
    struct Step {
        std::string target, temp, backup;  // backup empty: the target did not exist
        bool replaced = false;
    };
    std::vector<Step> steps;
    auto discard = [&steps] {
        for (const auto& s : steps) {
            if (!s.temp.empty())
                ::unlink(s.temp.c_str());
            if (!s.backup.empty())
                ::unlink(s.backup.c_str());
        }
    };

    // 1. Every copy goes to a flushed temporary file beside its target; nothing is replaced yet.
    for (const auto& [from, to] : fromTo) {
        std::string why;
        const auto temp = stageCopy(from, to, &why);
        if (!temp) {
            discard();
            if (error)
                *error = why;
            return false;
        }
        steps.push_back(Step{to, *temp, "", false});
    }
    // 2. Each existing target keeps a second name (a hard link), so it can be put back. A file system without
    //    hard links (FAT on a USB stick, some network shares) keeps a flushed copy of it instead.
    for (auto& s : steps) {
        if (!fileExists(s.target))
            continue;
        const std::string backup = tempNameFor(s.target);
        if (linkFile(s.target, backup)) {
            s.backup = backup;
            continue;
        }
        std::string why;
        const auto copy = stageCopy(s.target, s.target, &why);
        if (!copy) {
            discard();
            if (error)
                *error = why;
            return false;
        }
        s.backup = *copy;
    }
    // 3. The renames; when one fails, the targets already replaced get their old content back.
    for (auto& s : steps) {
        errno = 0;
        if (replaceFile(s.temp, s.target)) {
            s.replaced = true;
            s.temp.clear();
            continue;
        }
        const int why = errno;
        std::string message = s.target + ": " + (why ? describeErrno(why) : "nicht ersetzbar");
        for (auto& done : steps) {
            if (!done.replaced)
                continue;
            if (done.backup.empty()) {
                ::unlink(done.target.c_str());
            } else if (::rename(done.backup.c_str(), done.target.c_str()) == 0) {
                done.backup.clear();
            } else {
                // Never lose the old content: it stays under its second name.
                message += "; die alte Fassung von " + done.target + " liegt in " + done.backup;
                done.backup.clear();
            }
        }
        discard();
        if (error)
            *error = message;
        return false;
    }
    for (const auto& s : steps)
        syncFolder(folderOf(s.target));
    discard();
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

}  // namespace pnl
