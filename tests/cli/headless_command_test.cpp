// The headless commands on the sample installation (PNL00 "Haupteingang", serial 012345, link on COM1).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "app/instance_lock.h"
#include "app/records.h"
#include "cli/probe_command.h"
#include "cli/resident_file_command.h"
#include "cli/transfer_command.h"
#include "platform/database.h"
#include "support/installation.h"
#include "support/sim_line.h"
#include "tools/sample/sample_installation.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {
namespace {

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

struct Headless : Installation {
    explicit Headless(std::vector<sim::StationSetup> stations = {}, sim::AnswerSetup answer = {}) {
        std::string error;
        EXPECT_TRUE(writeSampleInstallation(folder.path(), &error, SampleOptions{true, true})) << error;
        database = readFile(kDatabaseFile);
        settings = readFile(kSettingsFile);
        before = filesIn(folder.path());
        simulator =
            std::make_unique<sim::Simulator>(loop, sim::SimulatorSetup{stations, answer, std::nullopt});
        attachSimulator(serial, *simulator, loop);
    }
    // Each prompt is answered with the next of `codes`; with none left the input has ended.
    CodePrompt prompt() {
        return [this](const std::string&) {
            ++prompts;
            if (codes.empty())
                return std::optional<std::string>();
            const std::string next = codes.front();
            codes.pop_front();
            return std::optional<std::string>(next);
        };
    }
    int transfer(const std::string& list, const std::string& level = "5",
                 const TransferCommandFlags& flags = {}) {
        out.str("");
        return RunTransferCommand(*program, list, level, out, prompt(), flags);
    }
    int exportTo(const std::string& name, const std::string& level = "1") {
        return RunExportCommand(*program, path(name), level, out, prompt());
    }
    int import(const std::string& name, bool dryRun = false, const std::string& level = "5") {
        return RunImportCommand(*program, path(name), dryRun, level, out, prompt());
    }
    SettingsFile settingsFile() {
        SettingsFile file(fs);
        file.setFileName(path(kSettingsFile));
        return file;
    }
    bool says(const std::string& text) const { return out.str().find(text) != std::string::npos; }
    std::size_t frames(std::uint32_t station) const { return simulator->framesOf(station).size(); }
    // Only the working copies, the run's lock file and the station records may appear; the originals stay.
    void expectOnlyWorkingCopiesWritten() const {
        EXPECT_EQ(readFile(kDatabaseFile), database);
        EXPECT_EQ(readFile(kSettingsFile), settings);
        std::set<std::string> allowed = before;
        allowed.insert({kDatabaseCopy, kSettingsCopy, kLockFile});
        for (const auto& name : filesIn(folder.path()))
            EXPECT_TRUE(allowed.count(name) || name.ends_with("_STAND.TXT")) << name;
    }

    std::ostringstream out;
    std::deque<std::string> codes;
    int prompts = 0;
    std::unique_ptr<sim::Simulator> simulator;
    std::string database, settings;
    std::set<std::string> before;
};

const std::string kStation = "COM1, PNL00 \"Haupteingang\":\nDie PNLXXX mit der Seriennr. 012345\n";
const std::string kFound = kStation + "wurde am ausgewählten Port gefunden!\n";
const std::string kNotFound = kStation + "wurde nicht am ausgewählten Port gefunden!\n";
const std::string kMaster = "Möge die Macht mit Euch sein\n" + kFound;
const std::string kProbeSent = "0:\x01(00303901\x04 600:\x01*0000\x04 2600:\x01(00303900\x04 ";

// Every outcome: exit status, exact text, codes asked for, frames sent (when and what); no file is written.
TEST(HeadlessProbe, EachOutcomeSaysWhyWithItsExactText) {
    using Length = sim::AnswerSetup::Length;
    const auto set = [](std::string section, std::string key, std::string value) {
        return [=](Headless& inst) { ASSERT_TRUE(inst.settingsFile().write(section, key, value)); };
    };
    const std::string noSerial = "Die PNL PNL00 hat keine gültige Seriennummer.";
    const std::string noRights = " hat keine Rechte an den Schnittstellen.";
    // Text: the whole output, " Kein Test möglich!" and a line break added when the probe could not run.
    struct Case {
        std::string station = "0", level = "";  // level "3" unless codes are typed
        std::string typed = "";                 // the access codes typed, separated by "|"
        sim::AnswerSetup answer = {};
        std::uint32_t onTheLine = 12345;
        std::function<void(Headless&)> setup = [](Headless&) {};
        int exit = kProbeCouldNotRun, asked = 0, gives = 0;
        std::string text;
    };
    const std::vector<Case> cases{
        {.exit = kProbeFound, .text = kFound},
        {.answer = {.length = Length::Short}, .exit = kProbeNotFound, .text = kNotFound},
        {.answer = {.length = Length::Long}, .exit = kProbeNotFound, .text = kNotFound},
        {.answer = {.wrongStar = true}, .exit = kProbeNotFound, .text = kNotFound},
        {.answer = {.lateMs = 2100}, .exit = kProbeNotFound, .text = kNotFound},
        {.answer = {.silent = true}, .exit = kProbeNotFound, .text = kNotFound},
        // Another station on the line does not answer for ours.
        {.station = "00", .onTheLine = 654321, .exit = kProbeNotFound, .text = kNotFound},
        {.station = "64", .text = "\"64\" ist keine PNL Nummer (0 bis 63)."},
        {.station = "x", .text = "\"x\" ist keine PNL Nummer (0 bis 63)."},
        {.station = "5", .text = "Die PNL PNL05 ist nicht angelegt."},
        {.setup = set("PNLXXX", "PNL00", "PNL-B,Haupteingang,12AB,,FALSE"), .text = noSerial},
        {.setup = set("PNLXXX", "PNL00", "PNL-B,Haupteingang,000000,,FALSE"), .text = noSerial},
        {.setup = set("Schnittstellen", "COM1", "030,FALSE"),
         .text = "Es ist keine Schnittstelle für den PNL Datenabgleich konfiguriert."},
        {.setup = set("Schnittstellen", "COM1", "30,TRUE,ATZ,,0,"),
         .text = "Die Schnittstelle COM1 arbeitet über ein Modem."},
        {.setup = [](Headless& inst) { inst.ports.inUse = {1}; },
         .text = "Schnittstelle wird gegenwärtig genutzt."},
        {.setup = [](Headless& inst) { inst.serial.failOpen = true; }, .text = "cannot open"},
        {.setup = [](Headless& inst) { std::filesystem::remove(inst.path(kSettingsFile)); },
         .text = "ANLAGE99.INI nicht gefunden!"},
        // Two wrong codes and an empty entry (no try), then a level-3 code.
        {.typed = "123||0333333|333333", .exit = kProbeFound, .asked = 4, .gives = 3, .text = kFound},
        {.typed = "1|2|3|333333", .asked = 3, .text = "Kein gültiger Zugangscode."},
        {.level = "0", .asked = 1, .text = "Kein gültiger Zugangscode."},
        {.level = "x", .typed = "orion nebel", .exit = kProbeFound, .asked = 1, .gives = 6, .text = kMaster},
        // Levels 1 and 2 of the sample are of kind "B": no rights on the interfaces, typed or given.
        {.typed = "111111", .asked = 1, .text = "Level 1" + noRights},
        {.level = "2", .text = "Level 2" + noRights},
        // A kind written in lower case gives no more rights than its letter says.
        {.level = "4",
         .setup =
             [](Headless& inst) {
                 SettingsFile file = inst.settingsFile();
                 selectLevelRecord(file, 4);
                 ASSERT_TRUE(writeEncrypted(file, "TRUE,444444,b"));
             },
         .text = "Level 4" + noRights},
    };
    for (const Case& c : cases) {
        Headless inst({{c.onTheLine}}, c.answer);
        std::istringstream typed(c.typed);
        for (std::string code; std::getline(typed, code, '|');)
            inst.codes.push_back(code);
        c.setup(inst);
        const std::set<std::string> files = filesIn(inst.folder.path());
        const std::string settings = inst.readFile(kSettingsFile);
        const bool ran = c.exit != kProbeCouldNotRun;
        const std::string level = c.level.empty() && c.typed.empty() ? "3" : c.level;
        EXPECT_EQ(RunProbeCommand(*inst.program, c.station, level, inst.out, inst.prompt()), c.exit)
            << c.text;
        EXPECT_EQ(inst.out.str(), ran ? c.text : c.text + " Kein Test möglich!\n");
        EXPECT_EQ(inst.prompts, c.asked) << c.text;
        EXPECT_TRUE(c.gives == 0 || inst.program->userLevel == c.gives) << c.text;
        std::string sent;
        for (const auto& s : inst.serial.sent)
            sent += std::to_string(s.atMs) + ":" + s.bytes + " ";
        EXPECT_EQ(sent, ran ? kProbeSent : "") << c.text;
        // Nothing refused touches the port, except the one that failed to open.
        EXPECT_EQ(inst.serial.calls.empty(), !ran && !inst.serial.failOpen) << c.text;
        EXPECT_FALSE(inst.serial.isOpen() || inst.program->serialLinkBusy);
        EXPECT_EQ(filesIn(inst.folder.path()), files);
        EXPECT_EQ(inst.readFile(kSettingsFile), settings);
    }
}

// One station with its progress, then all, then after one resident is renamed exactly the stations that carry
// him: listed with --dry-run, then sent their whole directory again.
TEST(HeadlessTransfer, SendsTheChosenStationsThenOnlyTheChangedOnes) {
    Headless inst({{12345, sim::Firmware::V3}, {23456, sim::Firmware::V27}, {34567, sim::Firmware::V3}});
    EXPECT_EQ(inst.transfer(" 0 "), kTransferAllSent) << inst.out.str();
    const std::size_t mainEntrance = inst.frames(12345);
    EXPECT_EQ(mainEntrance, 1u + 21 * 7 + 1 + 1);  // open, 7 frames a resident, the count, close
    for (const std::string line :
         {"COM1 geöffnet, Wartezeit 22 s.\n", "PNL00 \"Haupteingang\": 21 Bewohner, Restzeit 0:14\n",
          "PNL00 \"Haupteingang\": 100 % (21 von 21), Restzeit 0:06\n",
          "PNL00 \"Haupteingang\": übertragen.\n", "1 von 1 PNL übertragen."})
        EXPECT_TRUE(inst.says(line)) << inst.out.str();
    for (int tenth = 1; tenth <= 10; ++tenth)
        EXPECT_TRUE(inst.says("\": " + std::to_string(tenth * 10) + " % (")) << tenth;
    EXPECT_FALSE(inst.serial.isOpen());

    inst.codes = {"999999", "333333"};  // one wrong try, then level 3
    ASSERT_EQ(inst.transfer("all", ""), kTransferAllSent) << inst.out.str();
    EXPECT_EQ(inst.prompts, 2);
    EXPECT_EQ(inst.simulator->directories().size(), 3u);
    EXPECT_TRUE(inst.says("3 von 3 PNL übertragen."));
    const std::size_t sideEntrance = inst.frames(23456), garage = inst.frames(34567),
                      sent = inst.serial.sent.size();
    {
        auto db = Database::open(inst.path(kDatabaseFile));
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->exec("UPDATE BEWOHNER SET Name = ? WHERE Name = ?",
                             {std::string("Fuchs-Berg"), std::string("Fuchs")}));
    }
    inst.database = inst.readFile(kDatabaseFile);
    EXPECT_EQ(inst.transfer("changed", "5", TransferCommandFlags{true, false}), kTransferAllSent);
    const std::string fuchs =
        ": geändert (0 neu, 0 entfernt, 1 geändert)\n"
        "  geändert: Fuchs, Thomas|A013|100113|200113|0 -> Fuchs-Berg, Thomas|A013|100113|200113|0\n";
    EXPECT_EQ(inst.out.str(), "PNL00 \"Haupteingang\"" + fuchs + "PNL02 \"Tiefgarage\"" + fuchs +
                                  "2 PNL gewählt, nichts gesendet (--dry-run).\n");
    EXPECT_EQ(inst.serial.sent.size(), sent);  // nothing sent

    EXPECT_EQ(inst.transfer("changed"), kTransferAllSent) << inst.out.str();
    EXPECT_EQ(inst.frames(12345), 3 * mainEntrance);  // its whole directory again
    EXPECT_EQ(inst.frames(23456), sideEntrance);      // current
    EXPECT_GT(inst.frames(34567), garage);
    EXPECT_TRUE(inst.says("PNL02 Tiefgarage: mit ")) << inst.out.str();
    EXPECT_EQ(inst.transfer("changed"), kTransferAllSent);
    EXPECT_EQ(inst.out.str(), "Alle PNL sind seit dem letzten Senden unverändert, nichts zu senden.\n");
    inst.expectOnlyWorkingCopiesWritten();
}

// A station whose state file cannot be written (a full disk) is a failed station: before its first frame it
// gets nothing, so that the file still tells what it holds; after its last frame the file says incomplete.
TEST(HeadlessTransfer, AStateFileThatCannotBeWrittenFailsTheStation) {
    struct Case {
        const char* what;
        const char* failingWrite;
        std::size_t frames;
        std::string says, summary, stateFile;
    };
    const Case cases[] = {
        {"before the first frame", "Stand=unvollständig", 0, "Zu dieser PNL wird nichts übertragen.",
         "PNL00 Haupteingang: Stand nicht gespeichert, nichts gesendet\n0 von 1 PNL übertragen.", ""},
        {"after the last frame", "Stand=vollständig", 1 + 21 * 7 + 1 + 1,
         "Die PNL hat alle Bewohner erhalten; ihr Stand gilt als unvollständig.",
         "PNL00 Haupteingang: Stand nicht gespeichert (gilt als unvollständig), mit 21 Bewohnern übertragen "
         "in "
         "0:13\n0 von 1 PNL übertragen.",
         "Stand=unvollständig\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Headless inst({{12345, sim::Firmware::V3}});
        inst.fs.diskFull = [&c](const std::string& path, const std::string& content) {
            return path.ends_with("PNL00_STAND.TXT") && content.find(c.failingWrite) != std::string::npos;
        };
        EXPECT_EQ(inst.transfer("0"), kTransferSomeFailed);
        EXPECT_TRUE(inst.says("Der Stand der PNL Haupteingang (PNL00) kann nicht gespeichert werden: " +
                              inst.path("PNL00_STAND.TXT") + ": Auf dem Datenträger ist kein Platz mehr.\n" +
                              c.says))
            << inst.out.str();
        EXPECT_TRUE(inst.says(c.summary)) << inst.out.str();
        EXPECT_EQ(inst.frames(12345), c.frames);
        EXPECT_NE(inst.readFile("PNL00_STAND.TXT").find(c.stateFile), std::string::npos);
        EXPECT_EQ(inst.exists("PNL00_STAND.TXT"), !c.stateFile.empty());
    }
}

// Exit status 2 when the run cannot start, 1 when a station fails.
TEST(HeadlessTransfer, BadInputStartsNothingAndAFailedStationGivesOne) {
    Headless inst;
    const std::vector<std::pair<std::string, std::string>> cases{
        {"0,x", "\"x\" ist keine PNL Nummer (0 bis 63). Kein Transfer möglich!\n"},
        {"64", "\"64\" ist keine PNL Nummer (0 bis 63). Kein Transfer möglich!\n"},
        {"", "\"\" ist keine PNL Nummer (0 bis 63). Kein Transfer möglich!\n"},
        {"0", "Kein gültiger Zugangscode. Kein Transfer möglich!\n"},  // three wrong codes typed
    };
    for (const auto& [list, says] : cases) {
        inst.codes = {"1", "2", "3", "4"};
        inst.prompts = 0;
        EXPECT_EQ(inst.transfer(list, list == "0" ? "" : "5"), kTransferCouldNotRun);
        EXPECT_EQ(inst.out.str(), says);
        EXPECT_EQ(inst.prompts, list == "0" ? 3 : 0);
        EXPECT_EQ(filesIn(inst.folder.path()), inst.before);  // not even working copies
    }
    EXPECT_EQ(inst.transfer("5"), kTransferCouldNotRun);
    EXPECT_EQ(inst.out.str(), "Die PNL PNL05 ist nicht angelegt. Kein Transfer möglich!\n");

    // A station whose line stops taking bytes fails the run.
    inst.serial.onOutput = [&inst](const std::string&) {
        if (inst.serial.sent.size() == 20)
            inst.serial.failOutput = true;
    };
    EXPECT_EQ(inst.transfer("0,2"), kTransferSomeFailed);
    EXPECT_TRUE(inst.says("COM1 nimmt keine Daten an.")) << inst.out.str();
    EXPECT_TRUE(inst.says("PNL00 \"Haupteingang\": Leitung gestört, die PNL ist unvollständig."))
        << inst.out.str();
    EXPECT_TRUE(inst.says("0 von 2 PNL übertragen.")) << inst.out.str();
    inst.serial.failOutput = false;
    inst.serial.sent.clear();

    inst.serial.failOpen = true;
    EXPECT_EQ(inst.transfer("0"), kTransferCouldNotRun);
    EXPECT_TRUE(inst.says("Die serielle Schnittstelle COM1 kann nicht geöffnet werden!"));
    EXPECT_TRUE(inst.serial.sent.empty());
    inst.expectOnlyWorkingCopiesWritten();

    // A database the window would refuse, or one without the station assignment (all would be emptied).
    std::string damagedPage = inst.database;
    damagedPage.replace(4096, 200, std::string(200, '\xFF'));  // the table's first page
    const std::vector<std::pair<std::string, std::string>> databases{
        {damagedPage, "Datenbank QBXDATA.MDB defekt!\nDie Datei ist beschädigt."},
        {"CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY, Name TEXT, Vorname TEXT)",
         "Datenbank QBXDATA.MDB defekt!\nDie Tabelle hat nicht den erwarteten Aufbau."},
        {"CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY, Name TEXT, Vorname TEXT, Wnr TEXT, sernr INTEGER, "
         "AUSLOESUNG TEXT, code INTEGER)",
         "Die Tabelle BEWOHNER hat keine Spalte PNL: kein Bewohner ist einer PNL zugeordnet, es wird nichts "
         "gesendet."}};
    inst.serial.calls.clear();
    for (const auto& [content, message] : databases) {
        std::filesystem::remove(inst.path(kDatabaseFile));
        if (content.rfind("CREATE", 0) == 0)
            ASSERT_TRUE(Database::create(inst.path(kDatabaseFile))->exec(content));
        else
            inst.writeFile(kDatabaseFile, content);
        EXPECT_EQ(inst.transfer("0"), kTransferCouldNotRun) << message;
        EXPECT_TRUE(inst.says(message)) << inst.out.str();
        EXPECT_FALSE(inst.says("übertragen")) << inst.out.str();
        EXPECT_TRUE(inst.serial.calls.empty());
    }

    // While the program runs on the folder its working copies are not made anew.
    FileLock running;
    ASSERT_EQ(running.tryLock(inst.path(kLockFile), "4242"), FileLock::Result::Locked);
    const std::string copyBefore = "die Arbeitskopie des laufenden Programms";
    inst.writeFile(kDatabaseCopy, copyBefore);
    EXPECT_EQ(inst.transfer("0"), kTransferCouldNotRun);
    EXPECT_TRUE(inst.says("läuft bereits")) << inst.out.str();
    EXPECT_EQ(inst.readFile(kDatabaseCopy), copyBefore);
    EXPECT_TRUE(inst.serial.calls.empty());
}

// Export, then import: an unchanged file changes nothing; a changed row is committed into QBXDATA.MDB with
// every other row as it was (exported again, the file is the same); --dry-run only previews a new row; bad
// files and blocked runs change nothing.
TEST(HeadlessResidentFile, ExportThenImportCommitsTheChangedRowsOnly) {
    Headless inst;
    ASSERT_EQ(inst.exportTo("bewohner.csv"), kFileCommandDone) << inst.out.str();
    EXPECT_TRUE(inst.says("Exportiert: 41 Bewohner")) << inst.out.str();
    std::string csv = inst.readFile("bewohner.csv");
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBFID;Name;Vorname;"));
    ASSERT_EQ(inst.import("bewohner.csv"), kFileCommandDone) << inst.out.str();
    EXPECT_TRUE(inst.says("0 neu, 0 geändert, 41 unverändert, 0 Fehler.")) << inst.out.str();
    EXPECT_TRUE(inst.says("Nichts zu ändern")) << inst.out.str();
    EXPECT_EQ(inst.readFile(kDatabaseFile), inst.database);
    inst.writeFile("bewohner.csv", csv.replace(csv.find(";Anna;"), 6, ";Anne;"));
    ASSERT_EQ(inst.import("bewohner.csv"), kFileCommandDone) << inst.out.str();
    EXPECT_TRUE(inst.says("1 geändert, 40 unverändert")) << inst.out.str();
    ASSERT_EQ(inst.exportTo("wieder.csv"), kFileCommandDone);
    EXPECT_EQ(inst.readFile("wieder.csv"), csv);

    inst.writeFile("neu.csv", "Nachname;Vorname;Wohnung;Seriennummer\r\nNeumann;Nina;Z99;777777\r\n");
    const std::string database = inst.readFile(kDatabaseFile);
    ASSERT_EQ(inst.import("neu.csv", true), kFileCommandDone) << inst.out.str();
    EXPECT_TRUE(inst.says("Zeile 2: neu: Neumann, Nina (Wohnung Z99, Seriennr. 777777)")) << inst.out.str();
    EXPECT_EQ(inst.readFile(kDatabaseFile), database);
    ASSERT_EQ(inst.import("neu.csv"), kFileCommandDone) << inst.out.str();
    ASSERT_EQ(inst.exportTo("neu-exportiert.csv"), kFileCommandDone);
    EXPECT_NE(inst.readFile("neu-exportiert.csv").find(";Neumann;Nina;Z99;777777;"), std::string::npos);

    const std::string imported = inst.readFile(kDatabaseFile);
    inst.writeFile("fehler.csv", "Name;Wohnung;Seriennummer\r\nGut;A1;5\r\nSchlecht;A2;1234567\r\n");
    EXPECT_EQ(inst.import("fehler.csv"), kFileCommandBadFile);
    EXPECT_TRUE(inst.says("Zeile 3: Fehler: Die Seriennummer 1")) << inst.out.str();
    EXPECT_EQ(inst.import("fehlt.csv"), kFileCommandCouldNotRun);
    inst.writeFile("gut.csv", "Name;Wohnung;Seriennummer\r\nGut;A1;5\r\n");
    EXPECT_EQ(inst.import("gut.csv", false, "1"), kFileCommandCouldNotRun);  // level 1 is of kind "B"
    FileLock running;
    ASSERT_EQ(running.tryLock(inst.path(kLockFile), "4242"), FileLock::Result::Locked);
    EXPECT_EQ(inst.import("gut.csv"), kFileCommandCouldNotRun);
    EXPECT_EQ(inst.exportTo("x.csv"), kFileCommandCouldNotRun);
    running.release();
    inst.fs.lockFilesOf = "hausmeister";  // another user's lock file that this one may not write
    EXPECT_EQ(inst.import("gut.csv"), kFileCommandCouldNotRun);
    EXPECT_TRUE(inst.says("(Besitzer: hausmeister) kann nicht geöffnet werden")) << inst.out.str();
    EXPECT_EQ(inst.readFile(kDatabaseFile), imported);
}

// The export writes only to a new name or a plain file of the user's, never onto the installation's own files
// however the path spells them; the import never waits on a FIFO.
TEST(HeadlessResidentFile, TheExportRefusesTheInstallationsOwnFilesAndWhatIsNoPlainFile) {
    Headless inst;
    for (const char* folder : {"sub", "log", "backup"})
        std::filesystem::create_directory(inst.path(folder));
    inst.writeFile("log/06122026.log", "Zeile");
    inst.writeFile("PNL00_STAND.TXT", "Stand=vollständig\n");
    ASSERT_EQ(::mkfifo(inst.path("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(inst.path("bewohner.csv"), inst.path("verweis.csv"));
    std::filesystem::create_directory_symlink(inst.folder.path(), inst.path("sub/anlage"));
    const std::pair<std::string, std::string> cases[] = {
        {"QBXDATA.MDB",
         "QBXDATA.MDB gehört zur Anlage in " + inst.folder.path() + " und bleibt unverändert."},
        {"sub/../ANLAGE99.INI", "ANLAGE99.INI gehört zur Anlage"},
        {"sub/anlage/qbxdata.mdb", "qbxdata.mdb gehört zur Anlage"},
        {"QBXDATA_COPY.MDB", "QBXDATA_COPY.MDB gehört zur Anlage"},
        {"QBXDATA.MDB.neu", "QBXDATA.MDB.neu gehört zur Anlage"},
        {"PNL00_STAND.TXT", "PNL00_STAND.TXT gehört zur Anlage"},
        {"PNLSETUP.LCK", "PNLSETUP.LCK gehört zur Anlage"},
        {"log/06122026.log", "log gehört zur Anlage"},
        {"backup/neu.csv", "backup gehört zur Anlage"},
        {"sub", "dort liegt ein Ordner."},
        {"pipe", "dort liegt keine gewöhnliche Datei (ein Gerät oder eine Pipe)."},
        {"verweis.csv", "dort liegt ein symbolischer Verweis."},
    };
    inst.before = filesIn(inst.folder.path());
    for (const auto& [target, says] : cases) {
        inst.out.str("");
        EXPECT_EQ(inst.exportTo(target), kFileCommandCouldNotRun) << target;
        EXPECT_TRUE(inst.says("Der Export kann nicht nach " + inst.path(target) + " schreiben: "))
            << inst.out.str();
        EXPECT_TRUE(inst.says(says)) << inst.out.str();
    }
    inst.expectOnlyWorkingCopiesWritten();
    EXPECT_EQ(inst.readFile("log/06122026.log"), "Zeile");
    EXPECT_EQ(inst.readFile("PNL00_STAND.TXT"), "Stand=vollständig\n");
    EXPECT_TRUE(std::filesystem::is_empty(inst.path("backup")));

    inst.out.str("");
    EXPECT_EQ(inst.import("pipe"), kFileCommandCouldNotRun);
    EXPECT_TRUE(inst.says("ist keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe)"))
        << inst.out.str();
    // A column of a station that is not set up needs a consent only the window can ask for.
    inst.writeFile("keller.csv", "Name;Wohnung;Seriennummer;PNL40 Keller\r\nNeu;Z1;777777;x\r\n");
    EXPECT_EQ(inst.import("keller.csv"), kFileCommandBadFile);
    EXPECT_TRUE(inst.says("Die Spalte \u201EPNL40 Keller\u201C gehört zu keiner angelegten PNL."))
        << inst.out.str();
    EXPECT_TRUE(inst.says("Es wurde nichts eingelesen")) << inst.out.str();
    EXPECT_EQ(inst.readFile(kDatabaseFile), inst.database);
}

}  // namespace
}  // namespace pnl::test
