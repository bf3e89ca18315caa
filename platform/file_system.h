#pragma once
// File operations of the program. Every file it replaces is written beside the target, flushed and renamed
// over it, so no file is ever left half-written.

#include <optional>
#include <string>
#include <vector>

namespace pnl {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual bool fileExists(const std::string& path) const = 0;
    virtual bool folderExists(const std::string& path) const = 0;
    virtual bool createFolder(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    virtual std::optional<std::string> readFile(const std::string& path) const = 0;
    // Replaces the file's whole content atomically (temporary file, flush, rename).
    virtual bool writeFileAtomic(const std::string& path, const std::string& content) = 0;
    // Copies over the target atomically.
    virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    // Copies several files over their targets as one step: either every target is replaced or none is.
    // On failure *error says why.
    virtual bool copyFilesAtomic(const std::vector<std::pair<std::string, std::string>>& fromTo,
                                 std::string* error) = 0;
    // Appends text and a CR LF line end; creates the file when missing, never the folder.
    virtual bool appendLine(const std::string& path, const std::string& line) = 0;
};

// The real file system (POSIX).
class PosixFileSystem : public FileSystem {
  public:
    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    bool createFolder(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) const override;
    bool writeFileAtomic(const std::string& path, const std::string& content) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool copyFilesAtomic(const std::vector<std::pair<std::string, std::string>>& fromTo,
                         std::string* error) override;
    bool appendLine(const std::string& path, const std::string& line) override;

  protected:
    // Moves a finished temporary file over its target (rename); tests override it to make one step fail.
    virtual bool replaceFile(const std::string& temp, const std::string& target);
    // Gives an existing file a second name (a hard link); tests override it to stand for a file system that
    // has no hard links.
    virtual bool linkFile(const std::string& existing, const std::string& secondName);
};

}  // namespace pnl
