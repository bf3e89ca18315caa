#include "app/installation_folder.h"

namespace pnl {

bool holdsInstallation(const FileSystem& fs, const std::string& folder) {
    return !folder.empty() && fs.fileExists(folder + "/ANLAGE99.INI");
}

std::string noInstallationText(const FileSystem& fs, const std::string& folder) {
    if (!fs.folderExists(folder))
        return "Der Ordner " + folder + " fehlt.";
    return "Im Ordner " + folder +
           " liegt keine ANLAGE99.INI. Wählen Sie den Ordner, in dem ANLAGE99.INI und QBXDATA.MDB liegen.";
}

FoundFolder findInstallationFolder(const FolderSearch& search, const FileSystem& fs,
                                   const UserSettings& settings) {
    FoundFolder found;
    // A folder named on the command line is taken as it is: the start-up says what it lacks.
    if (search.given) {
        found.folder = *search.given;
        return found;
    }
    for (const std::string& folder : {search.executableFolder, settings.lastFolder()}) {
        if (folder.empty())
            continue;
        if (holdsInstallation(fs, folder)) {
            found.folder = folder;
            return found;
        }
        found.lookedIn.push_back(folder);
    }
    return found;
}

std::string noInstallationFolderMessage(const FoundFolder& found, const UserSettings& settings) {
    std::string text = "Kein Installationsordner gefunden: keine ANLAGE99.INI in ";
    for (std::size_t i = 0; i < found.lookedIn.size(); ++i)
        text += (i == 0 ? "" : i + 1 == found.lookedIn.size() ? " und " : ", ") + found.lookedIn[i];
    if (settings.lastFolder().empty())
        text += "; in " + settings.location() + " ist kein zuletzt gewählter Ordner vermerkt";
    return text + ". Geben Sie den Ordner mit --folder ORDNER an.";
}

}  // namespace pnl
