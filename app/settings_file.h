#pragma once
// Access to one settings file with a current file, section and key, as the program's two settings instances
// (settings on the working copy, originalSettings on the original) use it.

#include <string>

#include "platform/ini_file.h"

namespace pnl {

class SettingsFile {
  public:
    explicit SettingsFile(FileSystem& fs) : fs_(&fs) {}

    void setFileName(std::string path) { path_ = std::move(path); }
    const std::string& fileName() const { return path_; }
    void setSection(std::string section) { section_ = std::move(section); }
    const std::string& section() const { return section_; }
    void setKey(std::string key) { key_ = std::move(key); }
    const std::string& key() const { return key_; }

    // The value of the current key; empty when the file, section or key is missing.
    std::string read() const;
    // Writes the value of the current key into the file at once. False when the value was refused (a line
    // break, a character the file's encoding cannot carry) or the file could not be replaced; the file is
    // then unchanged.
    bool write(const std::string& value);

    // The first character of the text that the file's encoding cannot carry, nothing when all can be stored.
    std::optional<std::string> firstUnstorable(const std::string& text) const {
        return IniFile(*fs_, path_).firstUnstorable(text);
    }

    // Shorthands that select section and key first.
    std::string read(const std::string& section, const std::string& key);
    bool write(const std::string& section, const std::string& key, const std::string& value);

  private:
    FileSystem* fs_;
    std::string path_, section_, key_;
};

}  // namespace pnl
