#include "platform/user_settings.h"

#include <cstdlib>

namespace pnl {

namespace {

constexpr const char* kLastFolderFile = "/installationsordner";

}  // namespace

XdgUserSettings::XdgUserSettings(FileSystem& fs, std::string configFolder)
    : fs_(&fs), configFolder_(std::move(configFolder)), folder_(configFolder_ + "/pnl-fernwartung") {}

std::string XdgUserSettings::configFolderOfUser() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

std::string XdgUserSettings::lastFolder() const {
    const auto content = fs_->readFile(folder_ + kLastFolderFile);
    if (!content)
        return {};
    // One line: the folder. A hand-edited file may end in a line break.
    std::string folder = content->substr(0, content->find_first_of("\r\n"));
    return folder;
}

bool XdgUserSettings::setLastFolder(const std::string& folder) {
    if (folder.find_first_of("\r\n") != std::string::npos)
        return false;
    return fs_->createFolder(configFolder_) && fs_->createFolder(folder_) &&
           fs_->writeFileAtomic(folder_ + kLastFolderFile, folder + "\n");
}

}  // namespace pnl
