#include "platform/user_settings.h"

#include <algorithm>
#include <cstdlib>

namespace pnl {

namespace {

constexpr const char* kLastFolderFile = "/installationsordner";
constexpr const char* kInstallationsFile = "/anlagen";

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

std::string XdgUserSettings::installationsFile() const {
    return folder_ + kInstallationsFile;
}

std::vector<std::string> XdgUserSettings::installations() const {
    std::vector<std::string> folders;
    const auto content = fs_->readFile(installationsFile());
    if (!content)
        return folders;
    // A hand-edited list may hold blank lines or CR LF line ends.
    std::size_t start = 0;
    while (start < content->size()) {
        std::size_t end = content->find('\n', start);
        if (end == std::string::npos)
            end = content->size();
        std::string line = content->substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && std::find(folders.begin(), folders.end(), line) == folders.end())
            folders.push_back(line);
        start = end + 1;
    }
    return folders;
}

bool XdgUserSettings::rememberInstallation(const std::string& folder) {
    if (folder.empty() || folder.find_first_of("\r\n") != std::string::npos)
        return false;
    std::vector<std::string> folders = installations();
    if (std::find(folders.begin(), folders.end(), folder) != folders.end())
        return true;
    folders.push_back(folder);
    std::string text;
    for (const std::string& f : folders)
        text += f + "\n";
    return fs_->createFolder(configFolder_) && fs_->createFolder(folder_) &&
           fs_->writeFileAtomic(installationsFile(), text);
}

}  // namespace pnl
