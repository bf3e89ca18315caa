// Small building blocks: value lists, text, command line, clock alarm, event log, folder lock and search, the
// main window's place.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/clock_alarm.h"
#include "app/command_line.h"
#include "app/event_log.h"
#include "app/first_start.h"
#include "app/installation_folder.h"
#include "app/instance_lock.h"
#include "app/log_reader.h"
#include "app/records.h"
#include "app/station_records.h"
#include "app/text.h"
#include "app/value_fields.h"
#include "app/window_place.h"
#include "platform/cipher.h"
#include "platform/database.h"
#include "support/installation.h"
#include "support/scripted_dialogs.h"
#include "support/virtual_event_loop.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

// Value lists and text helpers where the station and interface tests do not reach.
TEST(ValueListsAndText, SixteenFieldsUmlautsAndOverflow) {
    ValueFields fields;
    std::string twenty = "0";
    for (int i = 1; i < 20; ++i)
        twenty += "," + std::to_string(i);
    fields.split(twenty);
    EXPECT_EQ(fields[15], "15");  // fields 16 to 19 are dropped
    fields.split("Müller, Anna||12", '|');
    EXPECT_EQ(fields[0] + "/" + fields[1] + "/" + fields[2], "Müller, Anna//12");
    EXPECT_EQ(leadingNumber("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(leadingNumber("-1"), -1);
    EXPECT_EQ(upper("grün"), "GRÜN");
    EXPECT_EQ(characterCount("\xff\xfe"), 2u);  // invalid bytes count one each
    EXPECT_EQ(hexDigits(0x1234567, 6), "234567");
}

// Every entry after a split: at most 16 survive; the rest of the list after the 16th field is dropped whole,
// never put into an entry; missing fields read as empty, and blanks stay.
TEST(ValueLists, SixteenFieldsSurviveAndTheRestIsDropped) {
    const auto numbered = [](int from, int to) {
        std::vector<std::string> out;
        for (int i = from; i <= to; ++i)
            out.push_back(std::to_string(i));
        return out;
    };
    const auto joined = [](const std::vector<std::string>& fields) {
        std::string out;
        for (const std::string& field : fields)
            out += (out.empty() ? "" : ",") + field;
        return out;
    };
    const auto padded = [](std::vector<std::string> fields) {
        fields.resize(ValueFields::kSize);
        return fields;
    };
    struct Row {
        const char* name;
        std::string list;
        std::vector<std::string> entries;
    };
    const std::vector<Row> rows{
        {"sixteen fields", joined(numbered(0, 15)), numbered(0, 15)},
        {"a seventeenth field is dropped", joined(numbered(0, 16)), numbered(0, 15)},
        {"twenty fields", joined(numbered(0, 19)), numbered(0, 15)},
        {"a trailing comma after the sixteenth", joined(numbered(0, 15)) + ",", numbered(0, 15)},
        {"empty fields past the sixteenth", joined(numbered(0, 15)) + ",,,", numbered(0, 15)},
        {"an empty sixteenth field before more", joined(numbered(0, 14)) + ",,x,y", padded(numbered(0, 14))},
        {"a trailing comma gives one more empty field", "a,", padded({"a", ""})},
        {"empty fields and blanks stay as stored", " a,,b ", padded({" a", "", "b "})},
        {"no comma", "PNL-B Haupteingang", padded({"PNL-B Haupteingang"})},
        {"an empty list", "", padded({})},
    };
    for (const Row& row : rows) {
        ValueFields fields;
        fields.split(row.list);
        std::vector<std::string> entries;
        for (int i = 0; i < ValueFields::kSize; ++i)
            entries.push_back(fields[i]);
        EXPECT_EQ(entries, row.entries) << row.name;
    }
}

// Level and station records read every field as stored (no trimming, the rest past the fields dropped), and
// write back what the editors enter.
TEST(StoredRecords, LevelAndStationRecordsReadAsStoredAndWriteTheirValueList) {
    const LevelRecord lower = parseLevelRecord("true,012345,b,extra");
    EXPECT_EQ(lower.code, "012345");
    EXPECT_EQ(lower.kind, "B");
    EXPECT_FALSE(lower.enabledExactly());  // the password check wants "TRUE" exactly
    EXPECT_TRUE(lower.enabledAnyCase());   // the level editor shows it enabled
    EXPECT_EQ(formatLevelRecord({"TRUE", "123456", "P"}), "TRUE,123456,P");
    EXPECT_EQ(formatLevelRecord({"FALSE", "123456", "B"}), "FALSE,,B");  // a disabled level keeps no code

    const StationRecord odd = parseStationRecord(7, " PNL-B ,Haupt eingang , 012345,,true,x");
    EXPECT_EQ(odd.type + "|" + odd.label + "|" + odd.serial + "|" + odd.phone,
              " PNL-B |Haupt eingang | 012345|");
    EXPECT_TRUE(odd.olderFirmware);
    EXPECT_TRUE(odd.listed());
    EXPECT_FALSE(parseStationRecord(8, "PNL-B,,1,,FALSE").listed());  // in use, but without a label
    for (const std::string value : {"PNL-B,Haupteingang,012345,,FALSE", "PNL-A,Nord,000001,0301234,TRUE"})
        EXPECT_EQ(formatStationRecord(parseStationRecord(0, value)), value);
}

TEST(CommandLine, OptionsThenTheLevelTextAndGarbageReported) {
    const auto line = CommandLine::parse({"--folder", "/srv/anlage/", "--port", "COM3=/dev/ttyUSB0",
                                          "--port=COM1=/tmp/pty", "--transfer=0,1", "--check", "3"},
                                         "/opt/pnl");
    EXPECT_TRUE(line.errors.empty());
    EXPECT_EQ(line.folder, "/srv/anlage");
    EXPECT_TRUE(line.folderGiven);
    EXPECT_EQ(line.ports.pathOf(3), "/dev/ttyUSB0");
    EXPECT_EQ(line.ports.pathOf(1), "/tmp/pty");
    EXPECT_EQ(line.ports.pathOf(2), "/dev/ttyS1");
    EXPECT_EQ(line.levelText, "3");
    EXPECT_EQ(line.transfer, "0,1");
    EXPECT_TRUE(line.checkPresence);
    EXPECT_EQ(CommandLine::parse({"--probe", "02"}, "/p").probe, "02");

    // Garbage is reported in German and never taken as a value or a level.
    const auto garbage =
        CommandLine::parse({"--folder", "--bogus", "--port", "COM9=/dev/x", "--port", "ttyS0"}, "/p");
    EXPECT_EQ(garbage.folder, "/p");
    EXPECT_EQ(garbage.errors,
              (std::vector<std::string>{
                  "Option --folder ohne Wert", "Unbekannte Option: --bogus",
                  "Ungültige Portzuordnung \"COM9=/dev/x\" (erwartet: COMn=PFAD, n = 1 bis 8)",
                  "Ungültige Portzuordnung \"ttyS0\" (erwartet: COMn=PFAD, n = 1 bis 8)"}));
    EXPECT_EQ(CommandLine::parse({"--port"}, "/p").errors,
              std::vector<std::string>{"Option --port ohne Wert"});
    const auto unknown = CommandLine::parse({"--level=3", "-1"}, "/p");
    EXPECT_EQ(unknown.errors.size(), 1u);
    EXPECT_EQ(unknown.levelText, "-1");

    const std::pair<const char*, int> levels[] = {
        {"3", 3}, {"6", 6}, {" 2 zwei", 2}, {"6.6", 6}, {"", 0},
        {"0", 0}, {"7", 0}, {"-1", 0},      {"abc", 0}, {"99999999999999999999999", 0}};
    for (const auto& [text, level] : levels)
        EXPECT_EQ(levelFromCommandLine(text), level) << text;
}

TEST(ClockAlarm, FiresOnceInEachMatchingSecondWithItsNumber) {
    EXPECT_TRUE(matchesTimePattern("07:0?:00", DateTime{2026, 1, 1, 7, 5, 0}));
    EXPECT_FALSE(matchesTimePattern("07:0?:00", DateTime{2026, 1, 1, 17, 5, 0}));
    test::VirtualEventLoop loop(DateTime{2026, 12, 6, 9, 30, 3});
    ClockAlarm alarm(loop);
    using Fired = std::vector<std::pair<std::int64_t, int>>;
    Fired fired;
    alarm.setHandler([&](int number) { fired.emplace_back(loop.now(), number); });
    EXPECT_FALSE(alarm.addAlarm("??:??:?", 0));
    EXPECT_FALSE(alarm.addAlarm("12.34.?0", 0));
    ASSERT_TRUE(alarm.addAlarm("??:??:?0", 0));
    ASSERT_TRUE(alarm.addAlarm("??:31:00", 7));
    loop.advance(60000);
    // 09:30:10 ... 09:31:00 and, at 09:31:00, alarm 7 too; each second fires only once.
    EXPECT_EQ(fired,
              (Fired{{7000, 0}, {17000, 0}, {27000, 0}, {37000, 0}, {47000, 0}, {57000, 0}, {57000, 7}}));
    alarm.clear();
    loop.advance(60000);
    EXPECT_EQ(fired.size(), 7u);
    EXPECT_EQ(loop.pendingTimers(), 0);
}

TEST(EventLog, DailyFilesOfEncryptedCrLfLinesChainedOnLinesOfTheEarlierForm) {
    test::Installation inst;
    inst.loop.setStart(DateTime{2026, 3, 1, 23, 59, 58});
    EventLog(*inst.program, "Schnittstelle PNLXX Abgleich geaendert");  // the log folder is made on demand
    inst.loop.advance(1000);
    EventLog(*inst.program, "Bewohnerdatensatz: Müller, Anna: 12 wurde geaendert.");
    // The next day's file begins with two lines of the earlier form, not chained.
    inst.writeFile("log/02032026.log", cEncrypt("00:00:00  alt eins", kCipherKey) + "\r\n" +
                                           cEncrypt("00:00:00  alt zwei", kCipherKey) + "\r\n");
    inst.loop.advance(1000);
    EventLog(*inst.program, "Setupprogramm beendet");  // the next day
    // Another run writes in between: this run's next line still follows that line in the chain.
    test::Installation other;
    Program second(Platform{other.fs, inst.loop, other.dialogs, other.serial, other.ports},
                   inst.folder.path());
    EventLog(second, "Setup gestartet - Userlevel 3");
    EventLog(*inst.program, "Setupprogramm beendet");

    const std::string first = inst.readFile("log/01032026.log");
    std::vector<std::string> texts;
    for (const auto& entry : readLog(first, "01032026"))
        texts.push_back(entry.text.value_or("!!"));
    EXPECT_EQ(texts,
              (std::vector<std::string>{"23:59:58  Schnittstelle PNLXX Abgleich geaendert",
                                        "23:59:59  Bewohnerdatensatz: Müller, Anna: 12 wurde geaendert."}));
    EXPECT_EQ(first.find("geaendert"), std::string::npos);  // nothing readable in the file
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 2);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
    const auto entries = readLog(inst.readFile("log/02032026.log"), "02032026");
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_TRUE(entries[0].unbound && entries[1].unbound && !entries[2].unbound);
    EXPECT_EQ(entries[1].text, "00:00:00  alt zwei");
    EXPECT_EQ(entries[2].text, "00:00:00  Setupprogramm beendet");
    EXPECT_EQ(entries[4].text, "00:00:00  Setupprogramm beendet");
    for (const auto& entry : entries)
        EXPECT_EQ(entry.problem, "");
}

// A power cut or a full disk in the middle of a line: the next run closes the cut line first, and the reader
// names it once while the lines after it read as intact.
TEST(EventLog, ACutLastLineIsClosedBeforeTheNextRunsLinesAndReportedOnce) {
    const std::string torn = "!! abgerissen (unvollständig geschrieben, etwa bei einem Stromausfall)";
    test::Installation first;
    EventLog(*first.program, "eins");
    EventLog(*first.program, "zwei");
    const auto lines = splitLogLines(first.readFile("log/06122026.log"));
    ASSERT_EQ(lines.size(), 2u);
    const std::string zeros(512, '\0');
    struct Case {
        const char* what;
        std::string content;
        std::vector<std::string> read;
    };
    const Case cases[] = {
        {"cut in the middle of a line",
         lines[0] + "\r\n" + lines[1].substr(0, 41),
         {"eins", torn, "drei", "vier"}},
        {"cut, then zero bytes",
         lines[0] + "\r\n" + lines[1].substr(0, 30) + zeros,
         {"eins", torn, "drei", "vier"}},
        {"zero bytes after the last line end",
         lines[0] + "\r\n" + lines[1] + "\r\n" + zeros,
         {"eins", "zwei", torn, "drei", "vier"}},
        {"only the line feed lost", lines[0] + "\r\n" + lines[1] + "\r", {"eins", "zwei", "drei", "vier"}},
    };
    for (const Case& c : cases) {
        test::Installation next;
        std::filesystem::create_directory(next.path("log"));
        next.writeFile("log/06122026.log", c.content);
        EventLog(*next.program, "drei");
        EventLog(*next.program, "vier");
        const std::string content = next.readFile("log/06122026.log");
        std::vector<std::string> read;
        for (const auto& entry : readLog(content, "06122026"))
            read.push_back(entry.problem.empty() && entry.text ? entry.text->substr(10)
                                                               : "!! " + entry.problem);
        EXPECT_EQ(read, c.read) << c.what;
        EXPECT_EQ(next.program->logProblem, "") << c.what;
    }
}

TEST(InstanceLock, SecondRunInTheSameFolderIsRefusedUntilTheFirstEnds) {
    test::Installation first, other;
    ASSERT_TRUE(writeSampleInstallation(first.folder.path(), nullptr));
    auto held = lockInstallation(*first.program);
    ASSERT_TRUE(held && held->held());

    Program second(Platform{other.fs, other.loop, other.dialogs, other.serial, other.ports},
                   first.folder.path());
    EXPECT_FALSE(lockInstallation(second));
    ASSERT_EQ(other.dialogs.shown.size(), 1u);
    EXPECT_NE(other.dialogs.last().text.find("läuft bereits"), std::string::npos);
    EXPECT_NE(other.dialogs.last().text.find(first.folder.path()), std::string::npos);
    held.reset();  // once the first run has ended, the folder is free again
    auto next = lockInstallation(second);
    EXPECT_TRUE(next && next->held());
}

// The lock is held or the run refused: a lock file that cannot be opened is named with its owner; one left by
// an ended run (of another user, in the mode of earlier versions) is no lock and is opened up for every user.
TEST(InstanceLock, ALockFileThatCannotBeOpenedIsARefusalAndOneLeftBehindIsNoLock) {
    struct Case {
        const char* what;
        std::function<void(test::Installation&)> prepare;
        std::string says;  // empty: the lock is taken
    };
    const Case cases[] = {
        {"another user's lock file, not writable for this one",
         [](test::Installation& inst) { inst.fs.lockFilesOf = "hausmeister"; },
         "(Besitzer: hausmeister) kann nicht geöffnet werden: Keine Zugriffsrechte."},
        {"a folder in its place",
         [](test::Installation& inst) { std::filesystem::create_directory(inst.path(kLockFile)); },
         "kann nicht geöffnet werden: An dieser Stelle liegt ein Ordner statt einer Datei."},
        {"a symbolic link",
         [](test::Installation& inst) {
             std::filesystem::create_symlink(inst.path("anderswo.txt"), inst.path(kLockFile));
         },
         "kann nicht geöffnet werden: Sie ist ein symbolischer Verweis."},
        {"left by an ended run",
         [](test::Installation& inst) {
             inst.writeFile(kLockFile, "4242");
             std::filesystem::permissions(inst.path(kLockFile), std::filesystem::perms(0644));
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::Installation inst;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), nullptr));
        c.prepare(inst);
        const auto lock = lockInstallation(*inst.program);
        EXPECT_EQ(lock != nullptr, c.says.empty());
        if (c.says.empty()) {
            EXPECT_TRUE(inst.dialogs.shown.empty());
            EXPECT_EQ(std::filesystem::status(inst.path(kLockFile)).permissions(),
                      std::filesystem::perms(0666));
            continue;
        }
        ASSERT_EQ(inst.dialogs.shown.size(), 1u);
        EXPECT_NE(inst.dialogs.last().text.find("Die Sperrdatei " + inst.path(kLockFile)), std::string::npos);
        EXPECT_NE(inst.dialogs.last().text.find(c.says), std::string::npos) << inst.dialogs.last().text;
        EXPECT_FALSE(inst.exists("anderswo.txt"));
    }
}

// A program folder, a user's configuration folder and two installations, on the real file system.
struct Scene {
    Scene() {
        fs.createFolder(program);
        fs.createFolder(first);
        fs.createFolder(second);
        fs.writeFileAtomic(first + "/ANLAGE99.INI", "");
        fs.writeFileAtomic(second + "/ANLAGE99.INI", "");
    }
    FoundFolder find(std::optional<std::string> given = std::nullopt) const {
        return findInstallationFolder({given, program}, fs, settings);
    }

    test::TempFolder root;
    PosixFileSystem fs;
    std::string program = root.path() + "/bin", first = root.path() + "/anlage1",
                second = root.path() + "/anlage2";
    XdgUserSettings settings{fs, root.path() + "/config"};
};

TEST(InstallationFolder, GivenThenPortableThenChosenLast) {
    Scene scene;
    // Nothing: the program folder was searched; no folder was chosen yet.
    FoundFolder found = scene.find();
    EXPECT_EQ(found.folder, "");
    EXPECT_EQ(found.lookedIn, std::vector<std::string>{scene.program});
    EXPECT_EQ(noInstallationFolderMessage(found, scene.settings),
              "Kein Installationsordner gefunden: keine ANLAGE99.INI in " + scene.program + "; in " +
                  scene.root.path() +
                  "/config/pnl-fernwartung ist kein zuletzt gewählter Ordner vermerkt. "
                  "Geben Sie den Ordner mit --folder ORDNER an.");

    // The folder chosen last, kept in the user's configuration; a line break is refused.
    ASSERT_TRUE(scene.settings.setLastFolder(scene.first));
    EXPECT_FALSE(scene.settings.setLastFolder("/a\n/b"));
    EXPECT_EQ(XdgUserSettings(scene.fs, scene.root.path() + "/config").lastFolder(), scene.first);
    EXPECT_EQ(scene.find().folder, scene.first);

    // A portable installation beside the executable wins over the folder chosen last.
    scene.fs.writeFileAtomic(scene.program + "/ANLAGE99.INI", "");
    EXPECT_EQ(scene.find().folder, scene.program);
    // --folder wins over both, and is taken even without a settings file (the start-up reports it).
    EXPECT_EQ(scene.find(scene.root.path() + "/leer").folder, scene.root.path() + "/leer");

    // A folder chosen last that lost its installation is not taken.
    scene.fs.deleteFile(scene.program + "/ANLAGE99.INI");
    scene.fs.deleteFile(scene.first + "/ANLAGE99.INI");
    found = scene.find();
    EXPECT_EQ(found.folder, "");
    EXPECT_EQ(found.lookedIn, (std::vector<std::string>{scene.program, scene.first}));
    EXPECT_EQ(noInstallationFolderMessage(found, scene.settings),
              "Kein Installationsordner gefunden: keine ANLAGE99.INI in " + scene.program + " und " +
                  scene.first + ". Geben Sie den Ordner mit --folder ORDNER an.");

    // A folder with spaces and umlauts, edited by hand with a Windows line end.
    scene.fs.writeFileAtomic(scene.settings.location() + "/installationsordner",
                             scene.root.path() + "/Anlage Müller\r\n");
    scene.fs.createFolder(scene.root.path() + "/Anlage Müller");
    scene.fs.writeFileAtomic(scene.root.path() + "/Anlage Müller/ANLAGE99.INI", "");
    EXPECT_EQ(scene.find().folder, scene.root.path() + "/Anlage Müller");
}

// The first-start dialog answered by a script; an empty folder stands for a cancelled folder dialog or a
// window "Anlagen" closed without opening one. The sample's folder dialog records what it proposed.
struct ScriptedPrompt : FirstStartPrompt {
    FirstStartChoice ask() override {
        const auto next = choices.front();
        choices.pop_front();
        return next;
    }
    std::optional<std::string> pickFolder(const std::string&) override { return next(); }
    std::optional<std::string> pickSampleFolder(const std::string& proposed) override {
        proposals.push_back(proposed);
        // "=" takes the proposal as it stands, as Enter does.
        auto typed = next();
        return typed == "=" ? proposed : typed;
    }
    std::optional<std::string> next() {
        const auto next = folders.front();
        folders.pop_front();
        return next.empty() ? std::nullopt : std::optional(next);
    }
    std::optional<std::string> pickInstallation() override { return pickFolder(""); }
    std::deque<FirstStartChoice> choices;
    std::deque<std::string> folders;
    std::vector<std::string> proposals;
};

TEST(FirstStart, AnExistingInstallationOrASampleInANewFolderBecomesTheFolderChosenLast) {
    struct Case {
        const char* name;
        std::deque<FirstStartChoice> choices;
        // Typed in the folder dialogs: "" cancels, "=" takes the proposal, "~" is the home folder, a name
        // without "/" lies in the home folder; "@/x" is the scene's root followed by /x.
        std::vector<std::string> typed;
        std::string chosen;  // relative to the scene's root
        std::vector<std::string> proposals;
        std::vector<std::string> boxes;  // the beginnings of the boxes shown
    };
    using C = FirstStartChoice;
    const std::string notEmpty = "Der Ordner ";
    const std::vector<Case> cases = {
        {"quit", {C::Quit}, {}, "", {}, {}},
        {"existing", {C::Existing}, {"@/anlage1"}, "anlage1", {}, {}},
        {"existing cancelled", {C::Existing, C::Quit}, {""}, "", {}, {}},
        {"existing without settings",
         {C::Existing, C::Existing},
         {"@/bin", "@/anlage2"},
         "anlage2",
         {},
         {"Im Ordner "}},
        {"sample by Enter", {C::Sample}, {"="}, "home/PNL-Beispiel", {"home/PNL-Beispiel"}, {}},
        {"sample typed below new folders",
         {C::Sample},
         {"~/Anlagen/Lindenhof/"},
         "home/Anlagen/Lindenhof",
         {"home/PNL-Beispiel"},
         {}},
        {"sample typed relative", {C::Sample}, {"  Lindenhof "}, "home/Lindenhof", {"home/PNL-Beispiel"}, {}},
        {"sample never in the home folder",
         {C::Sample, C::Quit},
         {"~", ""},
         "",
         {"home/PNL-Beispiel", "home/PNL-Beispiel"},
         {notEmpty + "@/home ist nicht leer."}},
        {"sample not beside an installation",
         {C::Sample},
         {"@/anlage1", "="},
         "anlage1/PNL-Beispiel",
         {"home/PNL-Beispiel", "anlage1/PNL-Beispiel"},
         {notEmpty + "@/anlage1 ist nicht leer."}},
        {"sample not on a file",
         {C::Sample, C::Quit},
         {"~/notiz.txt", ""},
         "",
         {"home/PNL-Beispiel", "home/PNL-Beispiel"},
         {"Unter @/home/notiz.txt liegt kein Ordner."}},
        {"installations closed, then existing",
         {C::Installations, C::Existing},
         {"", "@/anlage2"},
         "anlage2",
         {},
         {}},
        {"installations", {C::Installations}, {"@/anlage1"}, "anlage1", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene;
        const std::string root = scene.root.path();
        const std::string home = root + "/home";
        scene.fs.createFolder(home);
        scene.fs.writeFileAtomic(home + "/notiz.txt", "Einkaufen");
        test::ScriptedDialogs dialogs;
        ScriptedPrompt prompt;
        prompt.choices = c.choices;
        for (std::string typed : c.typed) {
            if (typed.starts_with("@"))
                typed = root + typed.substr(1);
            prompt.folders.push_back(typed);
        }
        const std::string settingsBefore = scene.fs.readFile(scene.first + "/ANLAGE99.INI").value_or("?");

        const ChosenInstallation chosen = chooseInstallationFolder(
            {scene.fs, dialogs, scene.settings, prompt, writeFirstStartSample, home});

        const std::string expected = c.chosen.empty() ? "" : root + "/" + c.chosen;
        EXPECT_EQ(chosen.folder, expected);
        EXPECT_EQ(scene.settings.lastFolder(), expected);
        EXPECT_EQ(holdsInstallation(scene.fs, expected), !expected.empty());
        std::vector<std::string> proposals;
        for (const auto& proposal : c.proposals)
            proposals.push_back(root + "/" + proposal);
        EXPECT_EQ(prompt.proposals, proposals);
        ASSERT_EQ(dialogs.shown.size(), c.boxes.size());
        for (std::size_t i = 0; i < c.boxes.size(); ++i) {
            std::string box = c.boxes[i];
            if (const auto at = box.find('@'); at != std::string::npos)
                box.replace(at, 1, root);
            EXPECT_EQ(dialogs.shown[i].text.substr(0, box.size()), box);
        }
        EXPECT_TRUE(prompt.choices.empty());
        EXPECT_TRUE(prompt.folders.empty());
        // Nothing is written into the home folder itself, and an installation that was there is never
        // overwritten.
        EXPECT_FALSE(scene.fs.fileExists(home + "/ANLAGE99.INI"));
        EXPECT_EQ(scene.fs.readFile(scene.first + "/ANLAGE99.INI").value_or("?"), settingsBefore);
        // A sample written now has its residents on its stations and its access codes to show.
        const bool sample = c.chosen.find("/") != std::string::npos;
        EXPECT_EQ(chosen.accessCodes.find("Level 5: 555555") != std::string::npos, sample);
        if (sample) {
            const auto db = Database::open(expected + "/QBXDATA.MDB");
            ASSERT_TRUE(db);
            EXPECT_EQ(dbText(db->query("SELECT count(*) FROM BEWOHNER WHERE PNL LIKE '%1%'")->at(0).at(0)),
                      "41");
        }
    }
}

// The sample's proposed folder is the first PNL-Beispiel that is free, so a second first start does not
// meet the first sample.
TEST(FirstStart, TheProposedSampleFolderIsFree) {
    Scene scene;
    const std::string place = scene.root.path();
    EXPECT_EQ(freeSampleFolder(scene.fs, place), place + "/PNL-Beispiel");
    scene.fs.createFolder(place + "/PNL-Beispiel");
    EXPECT_EQ(freeSampleFolder(scene.fs, place), place + "/PNL-Beispiel");  // empty: free
    scene.fs.writeFileAtomic(place + "/PNL-Beispiel/ANLAGE99.INI", "");
    EXPECT_EQ(freeSampleFolder(scene.fs, place), place + "/PNL-Beispiel-2");
}

// The main window opens where it was left when that still lies on a screen, frame included; else its size
// centred on the primary screen, else the first size cut to that screen.
TEST(MainWindowPlace, RememberedWhereItFitsElseCentredOnThePrimaryScreen) {
    const ScreenArea laptop{0, 0, 1024, 768};
    const ScreenArea monitor{1024, -200, 1920, 1160};
    const WindowPlace guess{0, 0, 0, 0, 8, 36, 8, 8, false};
    struct Row {
        const char* name;
        std::optional<WindowPlace> remembered;
        std::vector<ScreenArea> screens;
        WindowPlace opens;
    };
    const Row rows[] = {
        {"first start on 1024x768: the first size cut to the screen, frame included",
         std::nullopt,
         {laptop},
         {8, 36, 1008, 724, 8, 36, 8, 8, false}},
        {"first start on a large screen: the first size, centred",
         std::nullopt,
         {monitor},
         {1024 + 370, -200 + 194, 1180, 800, 8, 36, 8, 8, false}},
        {"on the second screen",
         WindowPlace{1500, 0, 1200, 900, 4, 24, 4, 4, false},
         {laptop, monitor},
         {1500, 0, 1200, 900, 4, 24, 4, 4, false}},
        {"its title bar above the screen",
         WindowPlace{100, 10, 600, 400, 4, 24, 4, 4, false},
         {laptop},
         {212, 194, 600, 400, 4, 24, 4, 4, false}},
        {"the monitor is gone: the size kept, centred",
         WindowPlace{1500, 0, 900, 600, 4, 24, 4, 4, true},
         {laptop},
         {62, 94, 900, 600, 4, 24, 4, 4, true}},
        {"larger than the screen left: the first size",
         WindowPlace{1100, 0, 1800, 1000, 4, 24, 4, 4, false},
         {laptop},
         {4, 24, 1016, 740, 4, 24, 4, 4, false}},
        {"no screen known: as remembered",
         WindowPlace{-5000, 0, 700, 500, 0, 0, 0, 0, false},
         {},
         {-5000, 0, 700, 500, 0, 0, 0, 0, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WindowPlace opens = placeMainWindow(row.remembered, row.screens, guess);
        EXPECT_EQ(opens, row.opens) << opens.x << " " << opens.y << " " << opens.width << "x" << opens.height;
    }
}

// The place is kept in the user's settings as one readable line; a damaged or hand-broken line is no place.
TEST(MainWindowPlace, KeptPerUserAndADamagedLineIsNone) {
    test::TempFolder root;
    PosixFileSystem fs;
    XdgUserSettings settings{fs, root.path() + "/config"};
    EXPECT_FALSE(settings.mainWindowPlace());
    const WindowPlace place{-1200, 30, 1180, 800, 4, 24, 4, 4, true};
    ASSERT_TRUE(settings.setMainWindowPlace(place));
    EXPECT_EQ(XdgUserSettings(fs, root.path() + "/config").mainWindowPlace(), place);
    const std::string file = settings.location() + "/hauptfenster";
    EXPECT_EQ(*fs.readFile(file),
              "# Lage und Größe des Hauptfensters (pnl-setup, beim Beenden)\n-1200 30 1180 800 4 24 4 4 "
              "maximiert\n");
    for (const char* damaged :
         {"10 20 800 600 0 0 0 0 gross\n", "10 20 800 600 0 0 0 normal\n", "10 20 0 600 0 0 0 0 normal\n",
          "10 20 800 600 0 0 0 0 normal 7\n", "10 20 800 99999999999 0 0 0 0 normal\n",
          "10 20 800 600 -3 0 0 0 normal\n", ""}) {
        ASSERT_TRUE(fs.writeFileAtomic(file, damaged));
        EXPECT_FALSE(settings.mainWindowPlace()) << damaged;
    }
    ASSERT_TRUE(fs.writeFileAtomic(file, "10 20 800 600 0 0 0 0 normal\r\n"));
    EXPECT_EQ(settings.mainWindowPlace(), (WindowPlace{10, 20, 800, 600, 0, 0, 0, 0, false}));
}

}  // namespace
}  // namespace pnl
