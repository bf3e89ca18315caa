#pragma once
// The settings-file component. Shared with another program, so every write keeps the file byte for byte
// except the one value written: comments, blank lines, order, unknown sections and keys, duplicate keys, CRLF
// or LF line ends and a missing final line break all survive. Section and key names match without regard to
// case. The other program reads the file as Windows-1252, so a file is UTF-8 only when it holds at least one
// multi-byte UTF-8 sequence and nothing that is not UTF-8; any other file (all ASCII, new, or with a byte
// that is not UTF-8) is read and written as Windows-1252.

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace pnl {

class IniDocument {
  public:
    enum class Encoding { Utf8, Windows1252 };

    static IniDocument parse(const std::string& bytes);

    // Values come back as UTF-8. Missing section or key: nothing.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Sets the value (UTF-8), creating section and key when missing. Refuses (false, nothing changed) a value
    // holding a line break, and a value that the file's encoding cannot carry.
    bool setValue(const std::string& section, const std::string& key, const std::string& value);
    // The first character of the UTF-8 text that the file's encoding cannot carry ("?" for text that is not
    // UTF-8), nothing when all of it can be stored.
    std::optional<std::string> firstUnstorable(const std::string& text) const;
    std::string bytes() const;
    Encoding encoding() const { return encoding_; }

  private:
    struct Line {
        std::string text;  // as stored (in the file's encoding), without its line end
        std::string end;   // "\r\n", "\n" or "" for a last line without a line break
    };
    std::vector<Line> lines_;
    Encoding encoding_ = Encoding::Windows1252;
    friend struct IniDocumentAccess;
};

// One settings file on disk. Reads the file anew for every read; every write replaces it atomically.
class IniFile {
  public:
    IniFile(FileSystem& fs, std::string path) : fs_(&fs), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // Empty when the file, the section or the key is missing.
    std::string read(const std::string& section, const std::string& key) const;
    // See IniDocument::firstUnstorable; a missing file is a new, Windows-1252 one.
    std::optional<std::string> firstUnstorable(const std::string& text) const;
    // False when the value was refused or the file could not be replaced; then the file is unchanged.
    bool write(const std::string& section, const std::string& key, const std::string& value);

  private:
    FileSystem* fs_;
    std::string path_;
};

}  // namespace pnl
