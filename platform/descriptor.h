#pragma once
// One owner per open file or folder: the descriptor (or the folder listing) is closed when its owner goes,
// and the reads and writes that every file operation needs, retried where the system was interrupted.

#include <dirent.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pnl {

class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes now: false (errno set) when the system reports that written data did not reach the file.
    bool close();

  private:
    int fd_ = -1;
};

struct FolderListingCloser {
    void operator()(DIR* listing) const;
};
// An open folder listing (opendir, fdopendir), closed when it goes.
using FolderListing = std::unique_ptr<DIR, FolderListingCloser>;

bool writeAll(int fd, const char* data, std::size_t size);
// Hands the rest of the file from the descriptor's position to `take`, one piece after the other; false on a
// read error (errno set) or when `take` refuses a piece.
bool readPieces(int fd, const std::function<bool(const char* data, std::size_t size)>& take);
// The rest of the file from the descriptor's position; nothing on a read error.
std::optional<std::string> readAll(int fd);

}  // namespace pnl
