#include "app/first_start.h"

#include "app/installation_folder.h"
#include "app/program.h"

namespace pnl {

namespace {

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

std::optional<std::string> sampleInstallation(const FirstStartPorts& ports) {
    const auto folder = ports.prompt.pickFolder("Ordner für die Beispielinstallation wählen");
    if (!folder)
        return std::nullopt;
    const SampleWritten written = ports.writeSample(*folder);
    ports.dialogs.show({written.message, kProgramTitle, written.ok ? MsgIcon::Information : MsgIcon::Critical,
                        MsgButtons::Ok});
    return written.ok ? folder : std::nullopt;
}

}  // namespace

std::string chooseInstallationFolder(const FirstStartPorts& ports) {
    for (;;) {
        std::optional<std::string> folder;
        switch (ports.prompt.ask()) {
            case FirstStartChoice::Quit:
                return {};
            case FirstStartChoice::Existing:
                folder = existingInstallation(ports);
                break;
            case FirstStartChoice::Installations:
                folder = ports.prompt.pickInstallation();
                break;
            case FirstStartChoice::Sample:
                folder = sampleInstallation(ports);
                break;
        }
        if (!folder)
            continue;
        if (!ports.settings.setLastFolder(*folder))
            ports.dialogs.show({"Der Ordner " + *folder + " konnte nicht in " + ports.settings.location() +
                                    " vermerkt werden; beim nächsten Start wird wieder gefragt.",
                                kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok});
        return *folder;
    }
}

}  // namespace pnl
