#pragma once
// Where the installation folder is: the folder named on the command line; otherwise the executable's own
// folder when it holds ANLAGE99.INI (a portable installation); otherwise the folder the user chose last, when
// it still holds ANLAGE99.INI. Nothing found: the windowed program asks (first start), a headless command
// says where it looked and ends.

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/user_settings.h"

namespace pnl {

struct FolderSearch {
    std::optional<std::string> given;  // --folder
    std::string executableFolder;
};

struct FoundFolder {
    std::string folder;                 // empty: none found
    std::vector<std::string> lookedIn;  // the folders that held no installation, in the order searched
};

// True when the folder holds the settings file of an installation.
bool holdsInstallation(const FileSystem& fs, const std::string& folder);

// Why a folder that holds no installation is refused: it is gone, or it lacks ANLAGE99.INI (then the user is
// told which folder to choose).
std::string noInstallationText(const FileSystem& fs, const std::string& folder);

FoundFolder findInstallationFolder(const FolderSearch& search, const FileSystem& fs,
                                   const UserSettings& settings);

// The headless commands' message when no folder was found: where they looked and what to do.
std::string noInstallationFolderMessage(const FoundFolder& found, const UserSettings& settings);

}  // namespace pnl
