#include "platform/serial_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string_view>
#include <vector>

#include "platform/descriptor.h"

namespace pnl::serial_lock {

std::string devicePath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string device = resolved;
    ::free(resolved);
    return device;
}

std::string lockFilePath(const std::string& folder, const std::string& device) {
    std::string name = device;
    if (name.rfind("/dev/", 0) == 0)
        name = name.substr(5);
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return folder + "/LCK.." + name;
}

namespace {

bool processAlive(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// The pid of a lock file: ten ASCII characters (HDB UUCP) or, from older programs, a binary int.
long pidOf(const std::string& content) {
    if (content.find_first_not_of("0123456789 \n") != std::string::npos) {
        if (content.size() != sizeof(int))
            return 0;
        int binary = 0;
        std::memcpy(&binary, content.data(), sizeof binary);
        return binary;
    }
    long pid = 0;
    for (char c : content) {
        if (c >= '0' && c <= '9') {
            if (pid > 100'000'000)
                return 0;
            pid = pid * 10 + (c - '0');
        } else if (pid != 0) {
            break;
        }
    }
    return pid;
}

std::string readSmallFile(const std::string& path, bool* ok) {
    *ok = false;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.valid())
        return {};
    char buffer[64];
    const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
    if (n < 0)
        return {};
    *ok = true;
    return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

long liveHolder(const std::string& lockFile) {
    bool ok = false;
    const std::string content = readSmallFile(lockFile, &ok);
    if (!ok)
        return 0;
    const long pid = pidOf(content);
    return processAlive(pid) ? pid : 0;
}

bool blocks(const std::string& lockFile) {
    struct stat file {};
    if (::lstat(lockFile.c_str(), &file) != 0)
        return false;
    if (liveHolder(lockFile) != 0)
        return true;
    if (!S_ISREG(file.st_mode) && !S_ISLNK(file.st_mode))
        return true;
    const auto slash = lockFile.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : lockFile.substr(0, slash ? slash : 1);
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0 || ::access(folder.c_str(), W_OK | X_OK) != 0)
        return true;
    const uid_t me = ::geteuid();
    return (dir.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && dir.st_uid != me;
}

namespace {

// The pseudo-terminal indexes whose master side the process holds ("tty-index" of its /dev/ptmx files).
std::set<int> masterIndexes(const std::string& processFolder, const std::vector<std::string>& masterFds) {
    std::set<int> indexes;
    for (const auto& fd : masterFds) {
        std::ifstream info(processFolder + "/fdinfo/" + fd);
        std::string key;
        while (info >> key) {
            if (key == "tty-index:") {
                int index = -1;
                if (info >> index)
                    indexes.insert(index);
                break;
            }
        }
    }
    return indexes;
}

bool isNumber(const char* name) {
    if (!*name)
        return false;
    for (const char* c = name; *c; ++c)
        if (*c < '0' || *c > '9')
            return false;
    return true;
}

}  // namespace

bool openInAnotherProcess(const std::string& device) {
    struct stat target {};
    if (::stat(device.c_str(), &target) != 0 || !S_ISCHR(target.st_mode))
        return false;
    // The index of a pseudo-terminal slave (/dev/pts/N), to recognise the process that plays the device.
    const bool pseudoTerminal = device.rfind("/dev/pts/", 0) == 0;
    const int slaveIndex = pseudoTerminal ? std::atoi(device.c_str() + 9) : -1;

    const FolderListing proc(::opendir("/proc"));
    if (!proc)
        return false;
    const std::string self = std::to_string(::getpid());
    bool held = false;
    while (const dirent* process = ::readdir(proc.get())) {
        if (!isNumber(process->d_name) || self == process->d_name)
            continue;
        const std::string folder = std::string("/proc/") + process->d_name;
        const FolderListing fds(::opendir((folder + "/fd").c_str()));
        if (!fds)
            continue;  // another user's process, or gone
        bool holdsDevice = false;
        std::vector<std::string> masters;
        while (const dirent* fd = ::readdir(fds.get())) {
            if (!isNumber(fd->d_name))
                continue;
            const std::string link = folder + "/fd/" + fd->d_name;
            char buffer[256];
            const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
            if (n <= 0)
                continue;
            const std::string_view name(buffer, static_cast<std::size_t>(n));
            if (name == "/dev/ptmx" || name == "/dev/pts/ptmx") {
                masters.emplace_back(fd->d_name);
                continue;
            }
            // Only files under /dev are compared: no other descriptor (socket, pipe, file) needs a stat.
            if (!name.starts_with("/dev/"))
                continue;
            struct stat open {};
            if (::stat(link.c_str(), &open) == 0 && S_ISCHR(open.st_mode) && open.st_rdev == target.st_rdev)
                holdsDevice = true;
        }
        if (holdsDevice && !(pseudoTerminal && masterIndexes(folder, masters).count(slaveIndex))) {
            held = true;
            break;
        }
    }
    return held;
}

LockResult take(const std::string& lockFile) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        Descriptor file(::open(lockFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (file.valid()) {
            char text[16];
            const int length = std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(::getpid()));
            const bool written =
                ::write(file.get(), text, static_cast<std::size_t>(length)) == length && file.close();
            if (written)
                return LockResult::Taken;
            ::unlink(lockFile.c_str());
            return LockResult::Skipped;
        }
        if (errno != EEXIST)
            return LockResult::Skipped;  // no lock folder, or not ours to write
        if (liveHolder(lockFile) != 0)
            return LockResult::Busy;
        // A stale lock file of a program that ended without removing it (or one we cannot parse).
        if (::unlink(lockFile.c_str()) != 0 && errno != ENOENT)
            return LockResult::Busy;
    }
    return LockResult::Busy;
}

void release(const std::string& lockFile) {
    bool ok = false;
    const std::string content = readSmallFile(lockFile, &ok);
    if (ok && pidOf(content) == static_cast<long>(::getpid()))
        ::unlink(lockFile.c_str());
}

bool flockHeldElsewhere(const std::string& device) {
    const Descriptor line(::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!line.valid())
        return errno == EBUSY;
    return ::flock(line.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;  // closing drops our lock
}

}  // namespace pnl::serial_lock
