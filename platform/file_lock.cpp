#include "platform/file_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/failure_text.h"

namespace pnl {
namespace {

constexpr mode_t kEveryUser = 0666;

// The name of a user, or their number where the system knows no name.
std::string userName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return "Benutzer-Nr. " + std::to_string(uid);
}

// Opens the lock file for reading and writing, creating it when missing. An existing file is opened without
// O_CREAT: in a shared folder with the sticky bit the system refuses O_CREAT on another user's file even
// where its mode allows writing.
Descriptor openLockFile(const std::string& path, int* error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        Descriptor file(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (file.valid() || errno != ENOENT) {
            *error = errno;
            return file;
        }
        file = Descriptor(::open(
            path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kEveryUser));
        if (file.valid() || errno != EEXIST) {
            *error = errno;
            return file;
        }
    }
    *error = EEXIST;
    return {};
}

FileLock::Result fail(const std::string& path, const Descriptor& file, const std::string& cause,
                      LockFailure* failure) {
    if (failure) {
        struct stat st {};
        const bool exists = file.valid() ? ::fstat(file.get(), &st) == 0 : ::lstat(path.c_str(), &st) == 0;
        *failure = LockFailure{cause, exists ? userName(st.st_uid) : std::string()};
    }
    return FileLock::Result::Failed;
}

}  // namespace

FileLock::~FileLock() {
    release();
}

FileLock::Result FileLock::tryLock(const std::string& path, const std::string& note, std::string* holderNote,
                                   LockFailure* failure) {
    release();
    int error = 0;
    Descriptor file = openLockFile(path, &error);
    if (!file.valid())
        return fail(path, file,
                    error == ELOOP ? "Sie ist ein symbolischer Verweis." : systemFailureText(error), failure);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return fail(path, file, "An dieser Stelle liegt keine gewöhnliche Datei.", failure);
    // Every user of the folder must be able to take the lock after this one; a file that the system will not
    // give that mode (a file system without permissions) is still a lock for this run.
    if (st.st_uid == ::geteuid() && (st.st_mode & 0777) != kEveryUser) {
        const bool shared = ::fchmod(file.get(), kEveryUser) == 0;
        static_cast<void>(shared);
    }
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return fail(path, file, systemFailureText(errno), failure);
        if (holderNote) {
            holderNote->clear();
            char buffer[256];
            const ssize_t n = ::pread(file.get(), buffer, sizeof buffer, 0);
            if (n > 0)
                holderNote->assign(buffer, static_cast<std::size_t>(n));
        }
        return Result::HeldElsewhere;
    }
    // The note is only a hint for the user; the lock itself is what counts, so a failed write is of no harm.
    const bool noted =
        ::ftruncate(file.get(), 0) == 0 && ::pwrite(file.get(), note.data(), note.size(), 0) >= 0;
    static_cast<void>(noted);
    file_ = std::move(file);
    return Result::Locked;
}

void FileLock::release() {
    if (!file_.valid())
        return;
    const bool emptied = ::ftruncate(file_.get(), 0) == 0;
    static_cast<void>(emptied);
    file_.close();  // closing the descriptor gives the lock up
}

std::string currentProcessId() {
    return std::to_string(::getpid());
}

}  // namespace pnl
