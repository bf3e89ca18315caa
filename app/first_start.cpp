#include "app/first_start.h"

#include "app/installation_folder.h"
#include "app/program.h"
#include "app/text.h"

namespace pnl {

namespace {

enum class Place { Free, Taken, NoFolder };

// Free: missing, or an empty folder; a link is never followed, so it counts as no folder.
Place placeOf(FileSystem& fs, const std::string& path) {
    switch (fs.entryKind(path)) {
        case EntryKind::Missing:
            return Place::Free;
        case EntryKind::Folder: {
            std::string why;
            const auto folder = fs.openFolder(path, &why);
            return folder && folder->names().empty() ? Place::Free : Place::Taken;
        }
        default:
            return Place::NoFolder;
    }
}

// A typed folder as an absolute path: "~" stands for the home folder, a relative path lies in it.
std::string absoluteFolder(std::string typed, const std::string& home) {
    typed = trim(typed);
    if (typed == "~" || typed.starts_with("~/"))
        typed = home + typed.substr(1);
    else if (!typed.starts_with("/"))
        typed = home + "/" + typed;
    while (typed.size() > 1 && typed.ends_with("/"))
        typed.pop_back();
    return typed;
}

// Creates the folder's missing parents, so that a typed new folder can lie below a new one too.
bool createParents(FileSystem& fs, const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        if (!fs.createFolder(folder.substr(0, slash)))
            return false;
    return true;
}

std::optional<std::string> existingInstallation(const FirstStartPorts& ports) {
    auto folder = ports.prompt.pickFolder("Ordner der vorhandenen Installation wählen");
    if (!folder)
        return std::nullopt;
    if (holdsInstallation(ports.fs, *folder))
        return folder;
    ports.dialogs.show(
        {noInstallationText(ports.fs, *folder), kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok});
    return std::nullopt;
}

// The sample goes only into a new or empty folder: never into the home folder or beside other files.
std::optional<ChosenInstallation> sampleInstallation(const FirstStartPorts& ports) {
    std::string proposed = freeSampleFolder(ports.fs, ports.home);
    for (;;) {
        const auto typed = ports.prompt.pickSampleFolder(proposed);
        if (!typed)
            return std::nullopt;
        const std::string folder = absoluteFolder(*typed, ports.home);
        const Place place = folder == ports.home ? Place::Taken : placeOf(ports.fs, folder);
        if (place != Place::Free) {
            proposed = place == Place::Taken ? freeSampleFolder(ports.fs, folder) : proposed;
            ports.dialogs.show({(place == Place::Taken ? "Der Ordner " + folder + " ist nicht leer."
                                                       : "Unter " + folder + " liegt kein Ordner.") +
                                    " Die Beispielinstallation braucht einen neuen oder leeren Ordner, zum "
                                    "Beispiel " +
                                    proposed + ".",
                                kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok});
            continue;
        }
        const SampleWritten written =
            createParents(ports.fs, folder)
                ? ports.writeSample(folder)
                : SampleWritten{false, "Der Ordner " + folder + " kann nicht angelegt werden."};
        if (written.ok)
            return ChosenInstallation{folder, written.message};
        ports.dialogs.show({written.message, kProgramTitle, MsgIcon::Critical, MsgButtons::Ok});
        return std::nullopt;
    }
}

}  // namespace

std::string freeSampleFolder(FileSystem& fs, const std::string& place) {
    const std::string base = (place == "/" ? "" : place) + "/" + kSampleFolderName;
    std::string folder = base;
    for (int n = 2; placeOf(fs, folder) != Place::Free && n < 100; ++n)
        folder = base + "-" + std::to_string(n);
    return folder;
}

ChosenInstallation chooseInstallationFolder(const FirstStartPorts& ports) {
    for (;;) {
        std::optional<ChosenInstallation> chosen;
        switch (ports.prompt.ask()) {
            case FirstStartChoice::Quit:
                return {};
            case FirstStartChoice::Existing:
                if (auto folder = existingInstallation(ports))
                    chosen = ChosenInstallation{*folder, {}};
                break;
            case FirstStartChoice::Installations:
                if (auto folder = ports.prompt.pickInstallation())
                    chosen = ChosenInstallation{*folder, {}};
                break;
            case FirstStartChoice::Sample:
                chosen = sampleInstallation(ports);
                break;
        }
        if (!chosen)
            continue;
        if (!ports.settings.setLastFolder(chosen->folder))
            ports.dialogs.show({"Der Ordner " + chosen->folder + " konnte nicht in " +
                                    ports.settings.location() +
                                    " vermerkt werden; beim nächsten Start wird wieder gefragt.",
                                kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok});
        return *chosen;
    }
}

}  // namespace pnl
