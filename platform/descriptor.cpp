#include "platform/descriptor.h"

#include <errno.h>
#include <unistd.h>

namespace pnl {

Descriptor::~Descriptor() {
    close();
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.release();
    }
    return *this;
}

bool Descriptor::close() {
    if (fd_ < 0)
        return true;
    return ::close(release()) == 0;
}

void FolderListingCloser::operator()(DIR* listing) const {
    ::closedir(listing);
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

bool readPieces(int fd, const std::function<bool(const char* data, std::size_t size)>& take) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!take(buffer, static_cast<std::size_t>(n)))
            return false;
    }
}

std::optional<std::string> readAll(int fd) {
    std::string content;
    if (!readPieces(fd, [&content](const char* data, std::size_t size) {
            content.append(data, size);
            return true;
        }))
        return std::nullopt;
    return content;
}

}  // namespace pnl
