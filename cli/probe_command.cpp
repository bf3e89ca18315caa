#include "cli/probe_command.h"

#include <ostream>

#include "app/program.h"
#include "app/text.h"
#include "cli/probe_access.h"
#include "link/interface_record.h"
#include "link/serial_link_claim.h"
#include "link/station_probe.h"
#include "stations/station_list.h"

namespace pnl {

namespace {

constexpr const char* kNoTest = " Kein Test möglich!";

int couldNotRun(std::ostream& out, const std::string& why) {
    out << why << kNoTest << "\n";
    return kProbeCouldNotRun;
}

// The station number of the argument: one or two digits, 0 to 63.
std::optional<int> stationNumberOf(const std::string& text) {
    if (!allDigits(text) || text.size() > 2)
        return std::nullopt;
    const int number = static_cast<int>(leadingNumber(text));
    if (number >= kStationSlots)
        return std::nullopt;
    return number;
}

}  // namespace

int RunProbeCommand(Program& program, const std::string& stationArg, const std::string& levelText,
                    std::ostream& out, const CodePrompt& askCode) {
    const std::optional<int> number = stationNumberOf(trim(stationArg));
    if (!number)
        return couldNotRun(out, "\"" + stationArg + "\" ist keine PNL Nummer (0 bis 63).");

    const std::string settings = program.path(kSettingsFile);
    if (!program.fs.fileExists(settings))
        return couldNotRun(out, "ANLAGE99.INI nicht gefunden!");
    program.settings.setFileName(settings);
    program.originalSettings.setFileName(settings);

    const int level = TerminalAccessLevel(program, levelText, askCode, out);
    if (level == 0)
        return couldNotRun(out, "Kein gültiger Zugangscode.");
    program.userLevel = static_cast<std::uint8_t>(level);
    if (!MayUseInterfaces(program.originalSettings, level))
        return couldNotRun(out,
                           "Level " + std::to_string(level) + " hat keine Rechte an den Schnittstellen.");

    const StationRecord station = readStation(program, *number);
    if (!station.inUse())
        return couldNotRun(out, "Die PNL " + stationKey(*number) + " ist nicht angelegt.");
    const std::string serialText = trim(station.serial);
    const std::int64_t serial = leadingNumber(serialText);
    if (!allDigits(serialText) || serialText.size() > 6 || serial < 1 || serial > kHighestSerialNumber)
        return couldNotRun(out, "Die PNL " + stationKey(*number) + " hat keine gültige Seriennummer.");

    const std::optional<TransferLink> link = TransferPort(program);
    if (!link)
        return couldNotRun(out, "Es ist keine Schnittstelle für den PNL Datenabgleich konfiguriert.");
    // The probe talks to the station directly; through a modem it would only reach the modem.
    if (link->modem)
        return couldNotRun(out, "Die Schnittstelle " + portName(link->port) + " arbeitet über ein Modem.");
    if (SerialLinkInUse(program))
        return couldNotRun(out, LinkBusyMessage(program));
    if (program.ports.status(link->port) == kPortInUse) {
        out << PortInUseMessage(program, link->port) << "\n";
        return kProbeCouldNotRun;
    }

    SerialLinkClaim claim(program, SerialLinkUse::PortTest);
    std::string openError;
    if (!PreparePort(program, link->port, kProbeLineSettings, false, false, 0, &openError)) {
        if (openError.empty())
            openError = "Die Schnittstelle " + portName(link->port) + " lässt sich nicht öffnen.";
        return couldNotRun(out, openError);
    }
    const bool found = ProbeStationOnLine(program, static_cast<std::uint32_t>(serial), [&](bool answered) {
        std::string message = ProbeMessage(serialText, answered);
        // On a terminal the box's line feed + carriage return is one line break.
        if (const auto at = message.find("\n\r"); at != std::string::npos)
            message.replace(at, 2, "\n");
        out << portName(link->port) << ", " << stationKey(*number) << " \"" << station.label << "\":\n"
            << message << "\n";
    });
    if (program.serial.isOpen())
        program.serial.close();
    return found ? kProbeFound : kProbeNotFound;
}

}  // namespace pnl
