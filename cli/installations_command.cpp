#include "cli/installations_command.h"

#include <algorithm>
#include <iostream>
#include <streambuf>

#include "app/command_line.h"
#include "app/installation_folder.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "platform/console_dialogs.h"
#include "platform/csv_file.h"
#include "platform/file_system.h"
#include "platform/poll_event_loop.h"
#include "platform/terminal_prompt.h"
#include "platform/user_settings.h"
#include "stations/installation_summary.h"
#include "stations/transfer_report.h"
#include "stations/transfer_run.h"

namespace pnl {
namespace {

// The platform of one installation's run: each gets its own, as a separate start of the program would.
struct HeadlessPlatform {
    explicit HeadlessPlatform(std::ostream& out, const PortMap& portMap)
        : dialogs(out), serial(makePosixSerialPort(loop, portMap)), ports(makePosixPortQueries(portMap)) {}
    Platform platform() { return Platform{fs, loop, dialogs, *serial, *ports}; }

    PosixFileSystem fs;
    PollEventLoop loop;
    ConsoleDialogs dialogs;
    std::unique_ptr<SerialPort> serial;
    std::unique_ptr<PortQueries> ports;
};

// Passes everything on to the terminal and keeps the last line that is not empty: why an installation could
// not run, for the summary.
class LastLineTee : public std::streambuf {
  public:
    explicit LastLineTee(std::ostream& out) : out_(out) {}
    const std::string& lastLine() const { return last_; }

  protected:
    int overflow(int c) override {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        out_.put(static_cast<char>(c));
        if (c == '\n') {
            if (!trim(current_).empty())
                last_ = trim(current_);
            current_.clear();
        } else {
            current_ += static_cast<char>(c);
        }
        return c;
    }
    int sync() override {
        out_.flush();
        return 0;
    }

  private:
    std::ostream& out_;
    std::string current_, last_;
};

struct ReportRow {
    std::string building, station, outcome, residents, took, folder;
};

constexpr int kAllSent = 0, kSomeFailed = 1, kCouldNotRun = 2;

// The folders named: a folder as it is, a file as its lines (blank lines and lines starting with "#" left
// out; a relative line is relative to the file's folder). A name that is neither stays, and fails as a
// folder without an installation.
std::vector<std::string> expandFolders(const FileSystem& fs, const std::vector<std::string>& names) {
    std::vector<std::string> folders;
    for (const std::string& name : names) {
        if (fs.folderExists(name) || !fs.fileExists(name)) {
            folders.push_back(name);
            continue;
        }
        const std::string base = name.substr(0, name.find_last_of('/') + 1);
        const std::string text = fs.readFile(name).value_or("");
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = trim(text.substr(start, end - start));
            while (line.size() > 1 && line.back() == '/')
                line.pop_back();
            if (!line.empty() && line[0] != '#')
                folders.push_back(line[0] == '/' ? line : base + line);
            start = end + 1;
        }
    }
    return folders;
}

int runOne(const ManyTransferRequest& request, const std::string& folder, UserSettings& settings,
           std::ostream& out, const CodePrompt& askCode, std::vector<ReportRow>& rows) {
    HeadlessPlatform platform(out, request.ports);
    Program program(platform.platform(), folder);
    const std::string building = buildingName(program);
    out << "=== " << building << " (" << folder << ") ===\n" << std::flush;
    auto notRun = [&](const std::string& why) {
        out << why << "\n";
        rows.push_back({building, "", why, "", "", folder});
        return kCouldNotRun;
    };
    if (!holdsInstallation(program.fs, folder))
        return notRun(program.fs.folderExists(folder) ? "nicht gelaufen: ANLAGE99.INI fehlt"
                                                      : "nicht gelaufen: Ordner fehlt");
    if (std::string holder; heldByAnotherRun(program, &holder)) {
        std::string why = "übersprungen: das Setupprogramm läuft für diesen Ordner";
        if (leadingNumber(holder) > 0)
            why += " (Prozess " + std::to_string(leadingNumber(holder)) + ")";
        return notRun(why);
    }
    settings.rememberInstallation(folder);

    LastLineTee tee(out);
    std::ostream teeOut(&tee);
    TransferResult result;
    const int status =
        RunTransferCommand(program, request.list, request.levelText, teeOut, askCode, request.flags, &result);
    teeOut.flush();
    if (status == kTransferCouldNotRun)
        return notRun("nicht gelaufen: " + tee.lastLine());
    if (result.stations.empty())
        rows.push_back({building, "", request.flags.dryRun ? "nichts gesendet (--dry-run)" : tee.lastLine(),
                        "", "", folder});
    for (const TransferResult::Station& s : result.stations)
        rows.push_back({building, stationKey(s.number) + " " + s.label,
                        outcomeText(s.outcome, s.records, s.took), std::to_string(s.records),
                        minutesAndSeconds(s.took), folder});
    return status == kTransferSomeFailed ? kSomeFailed : kAllSent;
}

std::string reportCsv(const std::vector<ReportRow>& rows) {
    // With a byte order mark, as the resident export: German spreadsheet programs then read it as UTF-8.
    std::string text =
        "\xEF\xBB\xBF" + csvLine({"Anlage", "PNL", "Ergebnis", "Bewohner", "Dauer", "Ordner"}, ';');
    for (const ReportRow& r : rows)
        text += csvLine({r.building, r.station, r.outcome, r.residents, r.took, r.folder}, ';');
    return text;
}

}  // namespace

int RunListInstallations(const std::vector<std::string>& folders, std::ostream& out) {
    if (folders.empty())
        out << "Noch keine Anlage geöffnet.\n";
    for (const std::string& folder : folders) {
        HeadlessPlatform platform(out, PortMap{});
        Program program(platform.platform(), folder);
        for (const std::string& line : summaryLines(SummarizeInstallation(program)))
            out << line << "\n";
    }
    return 0;
}

int RunTransferOverFolders(const ManyTransferRequest& request, UserSettings& settings, std::ostream& out,
                           const CodePrompt& askCode) {
    PosixFileSystem fs;
    const std::vector<std::string> folders = expandFolders(fs, request.folders);
    if (folders.empty()) {
        out << "Keine Installationsordner angegeben. Kein Transfer möglich!\n";
        return kCouldNotRun;
    }
    std::vector<ReportRow> rows;
    int status = kAllSent;
    for (const std::string& folder : folders)
        status = std::max(status, runOne(request, folder, settings, out, askCode, rows));

    out << "\nÜbersicht über " << folders.size() << (folders.size() == 1 ? " Anlage" : " Anlagen") << ":\n";
    for (const ReportRow& r : rows) {
        out << r.building << (r.station.empty() ? "" : ", " + r.station) << ": " << r.outcome << "\n";
    }
    if (!request.reportFile.empty() && !fs.writeFileAtomic(request.reportFile, reportCsv(rows))) {
        out << "Der Bericht " << request.reportFile << " kann nicht geschrieben werden.\n";
        return kCouldNotRun;
    }
    return status;
}

std::optional<int> RunInstallationsCommand(const CommandLine& line, UserSettings& settings) {
    if (line.listInstallations)
        return RunListInstallations(settings.installations(), std::cout);
    if (line.folders.empty() || !line.transfer)
        return std::nullopt;
    const ManyTransferRequest request{line.folders,   *line.transfer,
                                      line.levelText, TransferCommandFlags{line.dryRun, line.checkPresence},
                                      line.ports,     line.reportFile.value_or("")};
    return RunTransferOverFolders(request, settings, std::cout, readHiddenLine);
}

}  // namespace pnl
