#pragma once
// The first start without an installation folder: the user picks the folder of an existing installation,
// one of the installations opened before (the window "Anlagen"), or has a sample installation written into a
// new or empty folder (proposed: ~/PNL-Beispiel). The folder chosen is kept as the user's last folder.

#include <functional>
#include <optional>
#include <string>

#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/user_settings.h"

namespace pnl {

enum class FirstStartChoice { Existing, Installations, Sample, Quit };

// The first-start dialog and the platform's folder dialog.
class FirstStartPrompt {
  public:
    virtual ~FirstStartPrompt() = default;
    virtual FirstStartChoice ask() = 0;
    // The folder of an existing installation; nothing when the user cancelled.
    virtual std::optional<std::string> pickFolder(const std::string& title) = 0;
    // The folder for the sample, `proposed` filled in, a new one may be typed; nothing when the user
    // cancelled.
    virtual std::optional<std::string> pickSampleFolder(const std::string& proposed) = 0;
    // Shows the window "Anlagen"; the installation opened there, nothing when the user closed it.
    virtual std::optional<std::string> pickInstallation() = 0;
};

struct SampleWritten {
    bool ok = false;
    // The failure; after a success what the user needs to know about the new installation (its access
    // codes), shown while the password dialog asks.
    std::string message;
};
using SampleWriter = std::function<SampleWritten(const std::string& folder)>;

struct FirstStartPorts {
    FileSystem& fs;
    Dialogs& dialogs;
    UserSettings& settings;
    FirstStartPrompt& prompt;
    SampleWriter writeSample;
    // The user's home folder: the sample's proposed place, and where a typed relative folder lies.
    std::string home;
};

struct ChosenInstallation {
    std::string folder;  // empty when the user quit
    // For a sample written just now: its access codes, to be shown in the password dialog.
    std::string accessCodes;
};

inline constexpr const char* kSampleFolderName = "PNL-Beispiel";

// The first of place/PNL-Beispiel, place/PNL-Beispiel-2, ... that is missing or an empty folder.
std::string freeSampleFolder(FileSystem& fs, const std::string& place);

// Asks until the user has a folder that holds an installation, or quits.
ChosenInstallation chooseInstallationFolder(const FirstStartPorts& ports);

}  // namespace pnl
