#include "cli/transfer_command.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <set>

#include "app/commit.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/text.h"
#include "cli/working_copies.h"
#include "platform/console_dialogs.h"
#include "stations/station_difference.h"
#include "stations/station_list.h"
#include "stations/transfer_report.h"
#include "stations/transfer_run.h"

namespace pnl {
namespace {

class ConsoleProgress : public TransferProgress {
  public:
    explicit ConsoleProgress(std::ostream& out) : out_(out) {}

    void portOpened(int port, Ms pause) override {
        out_ << "COM" << port << " geöffnet, Wartezeit " << pause.count() / 1000 << " s.\n" << std::flush;
    }
    void stationStarted(int station, const std::string& label, int records, Ms timeLeft) override {
        tenths_ = 0;
        out_ << name(station, label) << records << " Bewohner, Restzeit " << minutesAndSeconds(timeLeft)
             << "\n"
             << std::flush;
        label_ = label;
    }
    void recordWritten(int station, int record, int records, Ms timeLeft) override {
        const int tenths = record * 10 / records;
        if (tenths <= tenths_)
            return;
        tenths_ = tenths;
        out_ << name(station, label_) << tenths * 10 << " % (" << record << " von " << records
             << "), Restzeit " << minutesAndSeconds(timeLeft) << "\n"
             << std::flush;
    }
    void stationFailed(const std::string& text) override { out_ << text << "\n" << std::flush; }
    void stationEnded(int station, const std::string& label, StationOutcome outcome) override {
        // The count and the time follow in the summary at the end of the run.
        const std::string text = outcome == StationOutcome::Sent ? "übertragen"
                                 : outcome == StationOutcome::SentStateNotSaved
                                     ? "Stand nicht gespeichert (gilt als unvollständig), übertragen"
                                     : outcomeText(outcome, 0, {});
        out_ << name(station, label) << text << ".\n" << std::flush;
    }
    void portClosed(int port, Ms pause) override {
        out_ << "COM" << port << " geschlossen, Wartezeit " << pause.count() / 1000 << " s.\n" << std::flush;
    }

  private:
    static std::string name(int station, const std::string& label) {
        return stationKey(station) + " \"" + label + "\": ";
    }

    std::ostream& out_;
    std::string label_;
    int tenths_ = 0;
};

int couldNotRun(std::ostream& out, const std::string& why) {
    out << why << " Kein Transfer möglich!\n";
    return kTransferCouldNotRun;
}

// The chosen station numbers; nothing for "all". *error says what is wrong with the list.
std::optional<std::set<int>> parseStationList(const std::string& list, bool* all, bool* changed,
                                              std::string* error) {
    *all = upper(trim(list)) == "ALL";
    *changed = upper(trim(list)) == "CHANGED";
    if (*all || *changed)
        return std::set<int>{};
    std::set<int> numbers;
    std::string rest = list;
    while (true) {
        const auto comma = rest.find(',');
        const std::string item = trim(rest.substr(0, comma));
        if (!allDigits(item) || item.size() > 2 || leadingNumber(item) >= kStationSlots) {
            *error = "\"" + item + "\" ist keine PNL Nummer (0 bis 63).";
            return std::nullopt;
        }
        numbers.insert(static_cast<int>(leadingNumber(item)));
        if (comma == std::string::npos)
            break;
        rest = rest.substr(comma + 1);
    }
    return numbers;
}

// The transfer needs the station assignment: without it every station would receive an empty directory and
// lose its residents.
bool hasStationColumn(Program& program, std::string* why) {
    const auto columns = program.database()->columns(kResidentTable);
    if (std::any_of(columns.begin(), columns.end(), [](const std::string& c) { return upper(c) == "PNL"; }))
        return true;
    *why =
        "Die Tabelle BEWOHNER hat keine Spalte PNL: kein Bewohner ist einer PNL zugeordnet, es wird nichts "
        "gesendet.";
    return false;
}

// --dry-run: per chosen station its state and one line per new, removed or changed resident.
int printDifferences(Program& program, StationDirectories& directories,
                     const std::vector<StationRecord>& chosen, std::ostream& out) {
    for (const StationRecord& station : chosen) {
        const StationDifference difference =
            StationDifferenceOf(program, station.number, directories.of(station.number));
        out << stationKey(station.number) << " \"" << station.label << "\": " << statusText(difference)
            << "\n";
        for (const std::string& line : differenceLines(difference))
            out << "  " << line << "\n";
    }
    out << chosen.size() << " PNL gewählt, nichts gesendet (--dry-run).\n";
    return kTransferAllSent;
}

}  // namespace

int RunTransferCommand(Program& caller, const std::string& list, const std::string& levelText,
                       std::ostream& out, const CodePrompt& askCode, const TransferCommandFlags& flags,
                       TransferResult* resultOut) {
    // Every box of the run becomes a line of text, whatever message boxes the caller's program shows.
    ConsoleDialogs console(out);
    Program program(Platform{caller.fs, caller.loop, console, caller.serial, caller.ports}, caller.folder);

    bool all = false, changed = false;
    std::string error;
    const std::optional<std::set<int>> numbers = parseStationList(list, &all, &changed, &error);
    if (!numbers)
        return couldNotRun(out, error);

    const std::unique_ptr<FileLock> lock = openInstallation(program, levelText, out, askCode, &error);
    if (!lock)
        return error.empty() ? kTransferCouldNotRun : couldNotRun(out, error);
    if (!hasStationColumn(program, &error))
        return couldNotRun(out, error);

    // The stations with a label, in the order of their numbers; the chosen ones among them.
    const std::vector<StationRecord> listed = listedStations(program);
    std::vector<StationRecord> chosen;
    for (int number : *numbers) {
        const auto station = std::find_if(listed.begin(), listed.end(),
                                          [number](const StationRecord& s) { return s.number == number; });
        if (station == listed.end())
            return couldNotRun(out, "Die PNL " + stationKey(number) + " ist nicht angelegt.");
        chosen.push_back(*station);
    }
    StationDirectories directories(program);
    if (all)
        chosen = listed;
    if (changed) {
        const std::vector<int> differing = ChangedStations(program, directories, stationNumbers(listed));
        for (const StationRecord& station : listed)
            if (std::find(differing.begin(), differing.end(), station.number) != differing.end())
                chosen.push_back(station);
        if (!listed.empty() && chosen.empty()) {
            out << "Alle PNL sind seit dem letzten Senden unverändert, nichts zu senden.\n";
            return kTransferAllSent;
        }
    }
    if (listed.empty())
        return couldNotRun(out, "Es ist keine PNL angelegt.");
    if (flags.dryRun)
        return printDifferences(program, directories, chosen, out);

    ConsoleProgress progress(out);
    TransferOptions options;
    options.checkPresence = flags.checkPresence;
    const TransferResult result =
        TransferRun(program, directories, stationNumbers(chosen), &progress, options);
    if (resultOut)
        *resultOut = result;
    if (!result.started)
        return kTransferCouldNotRun;
    out << transferSummary(result) << "\n";
    return result.anyFailed() ? kTransferSomeFailed : kTransferAllSent;
}

}  // namespace pnl
