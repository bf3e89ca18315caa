#include "app/settings_file.h"

namespace pnl {

std::string SettingsFile::read() const {
    return IniFile(*fs_, path_).read(section_, key_);
}

bool SettingsFile::write(const std::string& value) {
    return IniFile(*fs_, path_).write(section_, key_, value);
}

std::string SettingsFile::read(const std::string& section, const std::string& key) {
    setSection(section);
    setKey(key);
    return read();
}

bool SettingsFile::write(const std::string& section, const std::string& key, const std::string& value) {
    setSection(section);
    setKey(key);
    return write(value);
}

}  // namespace pnl
