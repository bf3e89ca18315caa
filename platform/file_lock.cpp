#include "platform/file_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pnl {

FileLock::~FileLock() {
    release();
}

FileLock::Result FileLock::tryLock(const std::string& path, const std::string& note,
                                   std::string* holderNote) {
    release();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        if (busy && holderNote) {
            holderNote->clear();
            char buffer[256];
            const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
            if (n > 0)
                holderNote->assign(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return busy ? Result::HeldElsewhere : Result::Failed;
    }
    // The note is only a hint for the user; the lock itself is what counts, so a failed write is of no harm.
    const bool noted = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, note.data(), note.size(), 0) >= 0;
    static_cast<void>(noted);
    fd_ = fd;
    return Result::Locked;
}

void FileLock::release() {
    if (fd_ < 0)
        return;
    const bool emptied = ::ftruncate(fd_, 0) == 0;
    static_cast<void>(emptied);
    ::close(fd_);  // closing the descriptor gives the lock up
    fd_ = -1;
}

std::string currentProcessId() {
    return std::to_string(::getpid());
}

}  // namespace pnl
