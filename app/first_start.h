#pragma once
// The first start without an installation folder: the user picks the folder of an existing installation,
// one of the installations opened before (the window "Anlagen"), or has a sample installation written into a
// folder. The folder chosen is kept as the user's last folder.

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
    // Nothing when the user cancelled.
    virtual std::optional<std::string> pickFolder(const std::string& title) = 0;
    // Shows the window "Anlagen"; the installation opened there, nothing when the user closed it.
    virtual std::optional<std::string> pickInstallation() = 0;
};

struct SampleWritten {
    bool ok = false;
    std::string message;  // the failure, or what the user needs to know about the new installation
};
using SampleWriter = std::function<SampleWritten(const std::string& folder)>;

struct FirstStartPorts {
    FileSystem& fs;
    Dialogs& dialogs;
    UserSettings& settings;
    FirstStartPrompt& prompt;
    SampleWriter writeSample;
};

// Asks until the user has a folder that holds an installation, or quits (then: empty).
std::string chooseInstallationFolder(const FirstStartPorts& ports);

}  // namespace pnl
