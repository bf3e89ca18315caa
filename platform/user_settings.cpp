#include "platform/user_settings.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace pnl {

namespace {

constexpr const char* kLastFolderFile = "/installationsordner";
constexpr const char* kInstallationsFile = "/anlagen";
// One line per chosen slot: "COM1", the device path and the adapter's name, separated by tabs.
constexpr const char* kPortChoicesFile = "/schnittstellen";
constexpr const char* kPortChoicesHeading =
    "# Geräte der Schnittstellen dieses PCs (pnl-setup, Fenster „Schnittstellen“)\n";

// One line: the inner rectangle "x y width height", the frame "left top right bottom", then "maximiert" or
// "normal".
constexpr const char* kMainWindowFile = "/hauptfenster";
constexpr const char* kMainWindowHeading = "# Lage und Größe des Hauptfensters (pnl-setup, beim Beenden)\n";
// Beyond any desktop: a value outside is a damaged file, not a place.
constexpr int kLargestCoordinate = 100000;

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

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
    return write(kLastFolderFile, folder + "\n");
}

std::map<int, ChosenDevice> XdgUserSettings::portChoices() const {
    std::map<int, ChosenDevice> choices;
    const auto content = fs_->readFile(folder_ + kPortChoicesFile);
    if (!content)
        return choices;
    // Written by hand it may hold anything: a line that is not a slot with an absolute path counts as none.
    for (std::string line : splitAt(*content, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> fields = splitAt(line, '\t');
        const auto slot = PortMap::parseMapping(fields[0] + "=" + (fields.size() > 1 ? fields[1] : ""));
        if (!slot || fields[0].size() != 4 || slot->second[0] != '/')
            continue;
        choices[slot->first] = ChosenDevice{slot->second, fields.size() > 2 ? fields[2] : ""};
    }
    return choices;
}

bool XdgUserSettings::setPortChoices(const std::map<int, ChosenDevice>& choices) {
    std::string content = kPortChoicesHeading;
    for (const auto& [slot, device] : choices) {
        if ((device.path + device.adapter).find_first_of("\t\r\n") != std::string::npos)
            return false;
        content += "COM" + std::to_string(slot) + "\t" + device.path + "\t" + device.adapter + "\n";
    }
    return write(kPortChoicesFile, content);
}

std::optional<WindowPlace> XdgUserSettings::mainWindowPlace() const {
    const auto content = fs_->readFile(folder_ + kMainWindowFile);
    if (!content)
        return std::nullopt;
    for (const std::string& line : splitAt(*content, '\n')) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        WindowPlace place;
        std::string state, rest;
        fields >> place.x >> place.y >> place.width >> place.height >> place.frameLeft >> place.frameTop >>
            place.frameRight >> place.frameBottom >> state;
        if (!fields || (fields >> rest) || (state != "maximiert" && state != "normal"))
            return std::nullopt;
        place.maximized = state == "maximiert";
        auto within = [](int value, int low) { return value >= low && value < kLargestCoordinate; };
        const bool sane = within(place.x, -kLargestCoordinate) && within(place.y, -kLargestCoordinate) &&
                          within(place.width, 1) && within(place.height, 1) && within(place.frameLeft, 0) &&
                          within(place.frameTop, 0) && within(place.frameRight, 0) &&
                          within(place.frameBottom, 0);
        return sane ? std::optional(place) : std::nullopt;
    }
    return std::nullopt;
}

bool XdgUserSettings::setMainWindowPlace(const WindowPlace& place) {
    std::string line;
    for (const int value : {place.x, place.y, place.width, place.height, place.frameLeft, place.frameTop,
                            place.frameRight, place.frameBottom})
        line += std::to_string(value) + " ";
    return write(kMainWindowFile,
                 std::string(kMainWindowHeading) + line + (place.maximized ? "maximiert" : "normal") + "\n");
}

bool XdgUserSettings::write(const char* name, const std::string& content) {
    return fs_->createFolder(configFolder_) && fs_->createFolder(folder_) &&
           fs_->writeFileAtomic(folder_ + name, content);
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
    std::vector<std::string> folders = installations();
    if (std::find(folders.begin(), folders.end(), folder) != folders.end())
        return true;
    folders.push_back(folder);
    return setInstallations(folders);
}

bool XdgUserSettings::setInstallations(const std::vector<std::string>& folders) {
    std::string text;
    for (const std::string& folder : folders) {
        if (folder.empty() || folder.find_first_of("\r\n") != std::string::npos)
            return false;
        text += folder + "\n";
    }
    return write(kInstallationsFile, text);
}

}  // namespace pnl
