#pragma once
// The user's own settings of the program, apart from any installation: the installation folder chosen last
// and every installation folder the user has opened (the list of "Anlagen"), the device each port slot
// stands for on this PC, and where the main window was. They live where the platform keeps a user's
// configuration ($XDG_CONFIG_HOME, by default ~/.config).

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/serial_port.h"

namespace pnl {

// A window's place on the desktop, in desktop pixels: its inner rectangle (what the program draws) when not
// maximized, the window system's frame around it (title bar and borders), and whether it was maximized.
struct WindowPlace {
    int x = 0, y = 0, width = 0, height = 0;
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

class UserSettings {
  public:
    virtual ~UserSettings() = default;
    // The installation folder chosen last; empty when none was chosen yet.
    virtual std::string lastFolder() const = 0;
    // False when it could not be kept.
    virtual bool setLastFolder(const std::string& folder) = 0;
    // The installation folders opened so far: a new one is added at the end, one opened from the window
    // "Anlagen" moves to the top. A folder that vanished stays listed.
    virtual std::vector<std::string> installations() const = 0;
    // Adds the folder to the list unless it is listed already; false when the list could not be kept.
    virtual bool rememberInstallation(const std::string& folder) = 0;
    // Replaces the whole list; false when it could not be kept (or a folder is empty or holds a line break),
    // and then nothing changed.
    virtual bool setInstallations(const std::vector<std::string>& folders) = 0;
    // The devices chosen for the port slots, by slot number (1 = COM1).
    virtual std::map<int, ChosenDevice> portChoices() const = 0;
    // False when they could not be kept (nothing changed then).
    virtual bool setPortChoices(const std::map<int, ChosenDevice>& choices) = 0;
    // The main window's place when the program last ended; nothing before that or when the file is
    // unreadable.
    virtual std::optional<WindowPlace> mainWindowPlace() const = 0;
    virtual bool setMainWindowPlace(const WindowPlace& place) = 0;
    // Where the settings are kept, for messages.
    virtual std::string location() const = 0;
};

// The settings as one file per value in <config folder>/pnl-fernwartung/.
class XdgUserSettings : public UserSettings {
  public:
    XdgUserSettings(FileSystem& fs, std::string configFolder);
    // $XDG_CONFIG_HOME when it is an absolute path, otherwise $HOME/.config.
    static std::string configFolderOfUser();

    std::string lastFolder() const override;
    bool setLastFolder(const std::string& folder) override;
    std::vector<std::string> installations() const override;
    bool rememberInstallation(const std::string& folder) override;
    bool setInstallations(const std::vector<std::string>& folders) override;
    // The file of the installations list, one folder per line.
    std::string installationsFile() const;
    std::map<int, ChosenDevice> portChoices() const override;
    bool setPortChoices(const std::map<int, ChosenDevice>& choices) override;
    std::optional<WindowPlace> mainWindowPlace() const override;
    bool setMainWindowPlace(const WindowPlace& place) override;
    std::string location() const override { return folder_; }

  private:
    bool write(const char* name, const std::string& content);

    FileSystem* fs_;
    std::string configFolder_;
    std::string folder_;
};

}  // namespace pnl
