// Every command line the README and the programs' --help show, run against the built programs on sample
// installations (pnl-station-sim on a pseudo-terminal where a station must answer): the exit status and the
// lines each must print. A further test makes sure no documented option is left without a row.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "app/instance_lock.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "platform/database.h"
#include "platform/file_lock.h"
#include "platform/version.h"
#include "stations/station_directory.h"
#include "stations/station_state.h"
#include "support/installation.h"
#include "support/shell_command.h"
#include "tools/sample/sample_installation.h"

namespace pnl::test {
namespace {

enum class Setup {
    Empty,             // an empty folder
    Sample,            // pnl-sample DIR: the table in its base form, no station assigned
    WithStations,      // pnl-sample --with-stations DIR
    MainEntranceSent,  // with stations; PNL00 recorded as sent what it would receive now
    InUse,             // with stations; another run holds the folder
};

struct Row {
    std::string name;
    // {DIR}: the installation folder; {LINK}: the line of the simulated stations.
    std::string command;
    Setup installation = Setup::WithStations;
    std::string stations = {};  // pnl-station-sim's options for the stations on {LINK}; none: no line
    int status = 0;
    // Lines it must print on standard output and standard error, each whole; "…" stands for any text.
    std::vector<std::string> out = {};
    std::vector<std::string> err = {};
};

const std::string kEllipsis = "…";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A line matches a pattern when it equals it, where each "…" of the pattern stands for any text.
bool matches(const std::string& line, const std::string& pattern) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (auto at = pattern.find(kEllipsis); at != std::string::npos; at = pattern.find(kEllipsis, start)) {
        pieces.push_back(pattern.substr(start, at - start));
        start = at + kEllipsis.size();
    }
    pieces.push_back(pattern.substr(start));
    if (pieces.size() == 1)
        return line == pattern;
    if (!line.starts_with(pieces.front()) || !line.ends_with(pieces.back()) ||
        line.size() < pieces.front().size() + pieces.back().size())
        return false;
    std::size_t at = pieces.front().size();
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
        at = line.find(pieces[i], at);
        if (at == std::string::npos)
            return false;
        at += pieces[i].size();
    }
    return at <= line.size() - pieces.back().size();
}

bool printed(const std::vector<std::string>& lines, const std::string& pattern) {
    for (const std::string& line : lines)
        if (matches(line, pattern))
            return true;
    return false;
}

void prepare(Setup setup, Installation& inst, FileLock& lock) {
    if (setup == Setup::Empty)
        return;
    std::string error;
    ASSERT_TRUE(
        writeSampleInstallation(inst.folder.path(), &error, SampleOptions{setup != Setup::Sample, true}))
        << error;
    inst.writeFile("neu.csv", "Nachname;Vorname;Wohnung;Seriennummer\r\nNeumann;Nina;Z99;777777\r\n");
    if (setup == Setup::MainEntranceSent) {
        Program& program = *inst.program;
        ASSERT_TRUE(program.useDatabase(Database::open(inst.path(kDatabaseFile))));
        const std::vector<std::string> lines = transferLines(StationDirectoryOf(*program.residents(), 0));
        ASSERT_TRUE(writeStationState(
            program, 0, StationState{true, DateTime{2026, 12, 6, 9, 30, 0}, 12345, Firmware::V3, lines}));
        program.closeDatabase();
    }
    if (setup == Setup::InUse) {
        ASSERT_EQ(lock.tryLock(inst.path(kLockFile), "4242"), FileLock::Result::Locked);
    }
}

// The shell line that runs the row in its folder, with a home of its own, the simulator started first.
std::string shellLine(const Row& row, const Installation& inst) {
    const std::string bin = PNL_BINARY_DIR "/";
    const std::string link = inst.path("COM1");
    std::string command = replaced(replaced(row.command, "{DIR}", inst.folder.path()), "{LINK}", link);
    std::string line = "cd '" + inst.folder.path() + "' && mkdir -p home && export HOME='" +
                       inst.path("home") + "' XDG_CONFIG_HOME=; ";
    if (!row.stations.empty())
        line += bin + "pnl-station-sim " + row.stations + " --link '" + link +
                "' >station.txt 2>&1 & station=$!; n=0; while [ ! -e '" + link +
                "' ] && [ $n -lt 200 ]; do sleep 0.05; n=$((n+1)); done; ";
    line += "timeout 120 " + bin + command + " 2>'" + inst.path("stderr.txt") + "' </dev/null; status=$?; ";
    if (!row.stations.empty())
        line += "kill $station; wait $station; ";
    return line + "exit $status";
}

const std::string kSetupUsage = "Aufruf: pnl-setup [--folder ORDNER] [--port COMn=GERÄT]... [LEVEL]";
const std::string kNotSent = ": nie übertragen";

const std::vector<Row>& rows() {
    using enum Setup;
    static const std::vector<Row> table{
        // pnl-setup: the window's start is driven by the window tests; here its options and the headless
        // commands.
        {.name = "setup help",
         .command = "pnl-setup --help",
         .installation = Empty,
         .out =
             {kSetupUsage, "  oder: pnl-setup [--port COMn=GERÄT]... --list-ports",
              "  oder: pnl-setup [--folder ORDNER] [--port COMn=GERÄT]... --probe N [LEVEL]",
              "  oder: pnl-setup [--folder ORDNER] [--port COMn=GERÄT]... --transfer LISTE [--dry-run] "
              "[--check] [LEVEL]",
              "  oder: pnl-setup [--folder ORDNER] --export DATEI [LEVEL]",
              "  oder: pnl-setup [--folder ORDNER] --import DATEI [--dry-run] [LEVEL]",
              "                       oder changed (jede Station, deren Stand von dem abweicht, was sie "
              "jetzt",
              "  --check              mit --transfer: jede Station an direkter Leitung vor dem Senden "
              "fragen,",
              "  --dry-run            mit --transfer: Stand und Unterschiede jeder gewählten Station zeigen,",
              "Rückgabe: 0 fertig (--probe: Station gefunden; --transfer: jeder Station wurden ihre Bewohner",
              "nicht gespeichert; --import: die Datei hat Fehler oder eine Spalte einer nicht angelegten "
              "PNL,",
              "nichts geändert, oder das Protokoll war nicht schreibbar), 2 konnte nicht laufen (falsche",
              "Aufrufzeile, kein Installationsordner, das Programm läuft schon für den Ordner, keine "
              "Schnittstelle,",
              "der USB-Adapter ist nicht angeschlossen, kein Zugang).",
              "Abhilfe: sudo usermod -aG dialout $USER eingeben, danach ab- und wieder anmelden."}},
        {.name = "setup version",
         .command = "pnl-setup --version",
         .installation = Empty,
         .out = {versionLine("pnl-setup")}},
        {.name = "setup wrong option",
         .command = "pnl-setup --unbekannt",
         .installation = Empty,
         .status = 2,
         .err = {"pnl-setup: Unbekannte Option: --unbekannt", kSetupUsage}},
        {.name = "many installations, one missing, no line",
         .command =
             "pnl-setup --folders {DIR} {DIR}/Weg --port COM1=/nonexistent --transfer changed --report "
             "{DIR}/bericht.csv 5",
         .installation = MainEntranceSent,
         .status = 2,
         .out = {"Übersicht über 2 Anlagen:", "Lindenhof: nicht gelaufen: …",
                 "Weg: nicht gelaufen: Ordner fehlt"}},
        {.name = "installations of a new user",
         .command = "pnl-setup --list-installations",
         .installation = Empty,
         .out = {"Noch keine Anlage geöffnet."}},
        {.name = "dry run without a command",
         .command = "pnl-setup --folder {DIR} --dry-run 5",
         .status = 2,
         .err = {"pnl-setup: Option --dry-run nur zusammen mit --transfer oder --import"}},
        {.name = "check without a transfer",
         .command = "pnl-setup --folder {DIR} --import neu.csv --check 5",
         .status = 2,
         .err = {"pnl-setup: Option --check nur zusammen mit --transfer"}},
        {.name = "two commands at once",
         .command = "pnl-setup --folder {DIR} --probe 0 --transfer 0 5",
         .status = 2,
         .err =
             {"pnl-setup: Nur eine der Optionen --list-ports, --probe, --transfer, --export und --import"}},
        {.name = "list ports",
         .command = "pnl-setup --port COM3={DIR}/fehlt --list-ports",
         .installation = Empty,
         .out = {"Schnittstellen:", "COM1  …", "COM3  {DIR}/fehlt (--port, nur für diesen Lauf)",
                 "Gefundene Geräte (…):"}},
        {.name = "probe without a folder never asks",
         .command = "pnl-setup --probe 0 5",
         .installation = Empty,
         .status = 2,
         .err = {"pnl-setup: …keine ANLAGE99.INI in " PNL_BINARY_DIR "…"}},
        {.name = "transfer without a folder never asks",
         .command = "pnl-setup --transfer all",
         .installation = Empty,
         .status = 2,
         .err = {"pnl-setup: …keine ANLAGE99.INI in " PNL_BINARY_DIR "…"}},

        {.name = "probe finds the station",
         .command = "pnl-setup --folder {DIR} --port COM1={LINK} --probe 0 5",
         .stations = "--station 12345",
         .out = {"COM1, PNL00 \"Haupteingang\":", "Die PNLXXX mit der Seriennr. 012345",
                 "wurde am ausgewählten Port gefunden!"}},
        {.name = "probe of a silent station",
         .command = "pnl-setup --folder {DIR} --port COM1={LINK} --probe 0 5",
         .stations = "--station 12345 --silent",
         .status = 1,
         .out = {"wurde nicht am ausgewählten Port gefunden!"}},
        {.name = "probe of a station not set up",
         .command = "pnl-setup --folder {DIR} --probe 7 5",
         .status = 2,
         .out = {"Die PNL PNL07 ist nicht angelegt. Kein Test möglich!"}},
        {.name = "probe at a level of kind B",
         .command = "pnl-setup --folder {DIR} --probe 0 1",
         .status = 2,
         .out = {"Level 1 hat keine Rechte an den Schnittstellen. Kein Test möglich!"}},

        {.name = "changed stations, dry run",
         .command = "pnl-setup --folder {DIR} --transfer changed --dry-run 6",
         .out = {"PNL00 \"Haupteingang\"" + kNotSent, "PNL01 \"Nebeneingang\"" + kNotSent,
                 "PNL02 \"Tiefgarage\"" + kNotSent, "3 PNL gewählt, nichts gesendet (--dry-run)."}},
        {.name = "listed stations, dry run first",
         .command = "pnl-setup --dry-run --folder {DIR} --transfer 0,2 5",
         .out = {"PNL00 \"Haupteingang\"" + kNotSent, "PNL02 \"Tiefgarage\"" + kNotSent,
                 "2 PNL gewählt, nichts gesendet (--dry-run)."}},
        {.name = "all stations, check and dry run",
         .command = "pnl-setup --folder {DIR} --transfer all --check --dry-run 5",
         .installation = MainEntranceSent,
         .out = {"PNL00 \"Haupteingang\": gesendet am 06.12.2026 09:30, seitdem unverändert",
                 "3 PNL gewählt, nichts gesendet (--dry-run)."}},
        {.name = "changed stations, dry run and check, one sent",
         .command = "pnl-setup --folder {DIR} --transfer changed --dry-run --check 5",
         .installation = MainEntranceSent,
         .out = {"PNL01 \"Nebeneingang\"" + kNotSent, "PNL02 \"Tiefgarage\"" + kNotSent,
                 "2 PNL gewählt, nichts gesendet (--dry-run)."}},
        {.name = "transfer of a wrong list",
         .command = "pnl-setup --folder {DIR} --transfer 0,x 5",
         .status = 2,
         .out = {"\"x\" ist keine PNL Nummer (0 bis 63). Kein Transfer möglich!"}},
        {.name = "transfer while the program runs on the folder",
         .command = "pnl-setup --folder {DIR} --transfer all 5",
         .installation = InUse,
         .status = 2,
         .out = {"Das Setupprogramm läuft bereits für die Anlage in {DIR} (Prozess 4242)."}},
        {.name = "transfer on a port that cannot be opened",
         .command = "pnl-setup --folder {DIR} --port COM1={DIR}/fehlt --transfer all 5",
         .status = 2,
         .out = {"Die serielle Schnittstelle COM1 kann nicht geöffnet werden!",
                 "Die Schnittstelle COM1 ({DIR}/fehlt) ist nicht vorhanden."}},
        // The only runs on real time (22 s before the stations, 15 s after), at the same time as the others.
        {.name = "transfer with check to an answering station",
         .command = "pnl-setup --folder {DIR} --port COM1={LINK} --transfer 2 --check 5",
         .stations = "--station 34567",
         .out = {"COM1 geöffnet, Wartezeit 22 s.", "PNL02 \"Tiefgarage\": übertragen.",
                 "1 von 1 PNL übertragen.", "COM1 geschlossen, Wartezeit 15 s."}},
        {.name = "transfer with check to a station that does not answer",
         .command = "pnl-setup --folder {DIR} --port COM1={LINK} --transfer 0 --check 5",
         .stations = "--station 34567",
         .status = 1,
         .out = {"PNL00 \"Haupteingang\": antwortet nicht, nichts gesendet.", "0 von 1 PNL übertragen."}},

        {.name = "export",
         .command = "pnl-setup --folder {DIR} --export bewohner.csv 1",
         .out = {"Exportiert: 41 Bewohner…"}},
        {.name = "import, dry run",
         .command = "pnl-setup --folder {DIR} --import neu.csv --dry-run 5",
         .out = {"Zeile 2: neu: Neumann, Nina (Wohnung Z99, Seriennr. 777777)"}},
        {.name = "import",
         .command = "pnl-setup --folder {DIR} --import neu.csv 5",
         .out = {"1 neu, 0 geändert, 0 unverändert, 0 Fehler. 41 Bewohner stehen nicht in der Datei und "
                 "bleiben erhalten.",
                 "Importiert: 1 neu, 0 geändert; QBXDATA.MDB ist gesichert."}},
        {.name = "import of a missing file",
         .command = "pnl-setup --folder {DIR} --import fehlt.csv 5",
         .status = 2},

        {.name = "sample help",
         .command = "pnl-sample --help",
         .installation = Empty,
         .out = {"Aufruf: pnl-sample [--with-stations] [--force] ORDNER", "Rückgabe: 0 geschrieben, …"}},
        {.name = "sample version",
         .command = "pnl-sample --version",
         .installation = Empty,
         .out = {versionLine("pnl-sample")}},
        {.name = "sample wrong option",
         .command = "pnl-sample --unbekannt",
         .installation = Empty,
         .status = 2,
         .err = {"Aufruf: pnl-sample [--with-stations] [--force] ORDNER"}},
        {.name = "sample into a new folder", .command = "pnl-sample {DIR}/anlage", .installation = Empty},
        {.name = "sample over an installation",
         .command = "pnl-sample {DIR}",
         .installation = Sample,
         .status = 1},
        {.name = "sample with stations, forced",
         .command = "pnl-sample --with-stations --force {DIR}",
         .installation = Sample},

        {.name = "log help",
         .command = "pnl-log --help",
         .installation = Empty,
         .out = {"Aufruf: pnl-log DATEI   (z. B. pnl-log log/06122026.log)",
                 "Rückgabe: 0 alle Zeilen entschlüsselt, …"}},
        {.name = "log version",
         .command = "pnl-log --version",
         .installation = Empty,
         .out = {versionLine("pnl-log")}},
        {.name = "log wrong option",
         .command = "pnl-log --unbekannt",
         .installation = Empty,
         .status = 2,
         .err = {"Aufruf: pnl-log …"}},
        {.name = "log of a missing file",
         .command = "pnl-log {DIR}/log/06122026.log",
         .installation = Empty,
         .status = 2,
         .err = {"pnl-log: {DIR}/log/06122026.log kann nicht gelesen werden"}},

        {.name = "simulator help",
         .command = "pnl-station-sim --help",
         .installation = Empty,
         .out = {"Aufruf: pnl-station-sim --station SERIENNR [OPTION]...",
                 "Rückgabe: 0 alles in Ordnung, …"}},
        {.name = "simulator version",
         .command = "pnl-station-sim --version",
         .installation = Empty,
         .out = {versionLine("pnl-station-sim")}},
        {.name = "simulator wrong option",
         .command = "pnl-station-sim --unbekannt",
         .installation = Empty,
         .status = 2,
         .err = {"Aufruf: pnl-station-sim --station SERIENNR [OPTION]..."}},
        {.name = "simulator with a wrong station",
         .command = "pnl-station-sim --station 12x",
         .installation = Empty,
         .status = 2,
         .err = {"Ungültige Station \"12x\" (SERIENNR, SERIENNR:27 oder SERIENNR:3)."}},
    };
    return table;
}

// All rows start at once, so the whole table takes as long as its slowest row (a transfer, about 45 s).
TEST(CommandLines, EachDocumentedCommandLineRunsWithItsExitStatusAndLines) {
    struct Running {
        Installation inst;
        FileLock lock;
        std::unique_ptr<StartedCommand> command;
    };
    std::vector<std::unique_ptr<Running>> running;
    for (const Row& row : rows()) {
        auto run = std::make_unique<Running>();
        prepare(row.installation, run->inst, run->lock);
        run->command = std::make_unique<StartedCommand>(shellLine(row, run->inst));
        running.push_back(std::move(run));
    }
    for (std::size_t i = 0; i < rows().size(); ++i) {
        const Row& row = rows()[i];
        SCOPED_TRACE(row.name + ": " + row.command);
        Running& run = *running[i];
        const CommandRun result = run.command->finish();
        const std::string err = run.inst.exists("stderr.txt") ? run.inst.readFile("stderr.txt") : "";
        const std::string folder = run.inst.folder.path();
        EXPECT_EQ(result.status, row.status) << result.output << err;
        for (const std::string& line : row.out)
            EXPECT_TRUE(printed(linesOf(result.output), replaced(line, "{DIR}", folder)))
                << "missing: " << line << "\nprinted:\n"
                << result.output;
        for (const std::string& line : row.err)
            EXPECT_TRUE(printed(linesOf(err), replaced(line, "{DIR}", folder)))
                << "missing: " << line << "\nprinted:\n"
                << err;
    }
}

// The options a command line names, for the program it calls: "pnl-setup --folder DIR …" gives pnl-setup's
// --folder.
void collectOptions(const std::string& text, std::map<std::string, std::set<std::string>>& options) {
    static const std::regex program("pnl-[a-z-]+");
    static const std::regex option("--[a-z][a-z-]*");
    std::smatch called;
    if (!std::regex_search(text, called, program))
        return;
    const std::string rest = called.suffix();
    for (std::sregex_iterator it(rest.begin(), rest.end(), option), end; it != end; ++it)
        options[called.str()].insert(it->str());
}

// Every option that a command line of the README or a program's usage lines names is run by a row, and so
// is --help and --version of every program.
TEST(CommandLines, EveryDocumentedOptionHasARow) {
    std::map<std::string, std::set<std::string>> documented;
    std::ostringstream readme;
    readme << std::ifstream(PNL_SOURCE_DIR "/README.md").rdbuf();
    static const std::regex codeSpan("`(pnl-[^`]*)`");
    const std::string text = readme.str();
    for (std::sregex_iterator it(text.begin(), text.end(), codeSpan), end; it != end; ++it)
        collectOptions((*it)[1], documented);
    ASSERT_GE(documented["pnl-setup"].size(), 8u);
    for (const std::string program : {"pnl-setup", "pnl-sample", "pnl-log", "pnl-station-sim"}) {
        documented[program].insert({"--help", "--version"});
        const CommandRun help = runShellCommand(PNL_BINARY_DIR "/" + program + " --help");
        for (const std::string& line : linesOf(help.output))
            if (line.starts_with("Aufruf: ") || line.starts_with("  oder: "))
                collectOptions(line, documented);
    }

    std::map<std::string, std::set<std::string>> run;
    for (const Row& row : rows()) {
        collectOptions(row.command, run);
        if (!row.stations.empty())
            collectOptions("pnl-station-sim " + row.stations + " --link {LINK}", run);
    }
    for (const auto& [program, options] : documented)
        for (const std::string& option : options)
            EXPECT_TRUE(run[program].count(option)) << program << " " << option << " has no row";
}

}  // namespace
}  // namespace pnl::test
