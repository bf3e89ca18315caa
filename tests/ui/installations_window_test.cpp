// The window "Anlagen" over a sample installation, on virtual time with scripted boxes: the user's three
// installations (this one, a second, one whose folder vanished) read one after the other without writing;
// entries added and removed by hand; opening the second with each answer to the exit question, and what each
// answer leaves in the files.

#include <gtest/gtest.h>

#include <QAction>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/program.h"
#include "forms/installations_window.h"
#include "platform/database.h"
#include "stations/installations_window.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/main_window_view.h"
#include "ui/setup_application.h"

namespace pnl::test {
namespace {

using Strings = std::vector<std::string>;
constexpr int kInstallationsMenu = 5;

// Every file below a folder with its content. The lock file is left out: asking whether another run holds
// an installation takes its lock for a moment, as every start does.
std::map<std::string, std::string> filesOf(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename() == "PNLSETUP.LCK")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        files[entry.path().string()] = content.str();
    }
    return files;
}

struct InstallationsWindow : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        ASSERT_TRUE(writeSampleInstallation(second, &error)) << error;
        // The second building has a name of its own in its settings file.
        std::string settings = inst.readFile("ANLAGE99.INI");
        settings.replace(settings.find("Titel=Lindenhof"), 15, "Titel=Birkenhof");
        std::ofstream(second + "/ANLAGE99.INI", std::ios::binary) << settings;
        ASSERT_TRUE(userSettings().setInstallations({here(), second, vanished}));

        setup = std::make_unique<ui::SetupApplication>(
            Platform{inst.fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.devices.services,
            here());
        setup->onEnd = [this] { ++ends; };
        setup->start(5);
    }
    void TearDown() override { setup.reset(); }

    const std::string& here() const { return inst.folder.path(); }
    UserSettings& userSettings() { return inst.devices.settings; }
    InstallationsWindowForm& form() { return setup->installationsForm(); }
    InstallationsWindowController& window() { return setup->installations(); }

    // "Anlagen" in the main window's menu; `read` waits until every installation has been read.
    void openWindow(bool read = true) {
        setup->mainWindowView()->menuCommand(kInstallationsMenu)->trigger();
        if (read)
            inst.loop.processEventsUntil([this] { return !window().reading(); });
    }
    Strings cells(int line) {
        Strings cells;
        std::istringstream text(form().installationList.line(line));
        for (std::string cell; std::getline(text, cell, '\t');)
            cells.push_back(cell);
        return cells;
    }
    // The user clicks the line of this folder.
    void choose(const std::string& folder) {
        for (int line = 0; line < form().installationList.count(); ++line)
            if (cells(line).back() == folder) {
                form().installationList.setListIndex(line);
                window().entryChosen();
                return;
            }
        ADD_FAILURE() << "nicht in der Liste: " << folder;
    }

    Installation inst;
    TempFolder others;
    const std::string second = others.path() + "/Birkenhof";
    const std::string vanished = others.path() + "/Eichenweg";
    std::unique_ptr<ui::SetupApplication> setup;
    int ends = 0;
};

TEST_F(InstallationsWindow, ListsThreeWithTheMissingOneReadsWithoutWritingAndKeepsTheListByHand) {
    const auto secondBefore = filesOf(second);
    openWindow(false);
    ASSERT_TRUE(form().visible());
    ASSERT_EQ(form().installationList.count(), 3);
    EXPECT_EQ(cells(1).at(4), "wird gelesen …");  // the window is shown before any folder is read
    inst.loop.processEventsUntil([this] { return !window().reading(); });
    EXPECT_EQ(cells(0), (Strings{"Lindenhof (geöffnet)", "41", "3", "nie", "nie übertragen", here()}));
    EXPECT_EQ(cells(1), (Strings{"Birkenhof", "41", "3", "nie", "nie übertragen", second}));
    EXPECT_EQ(cells(2), (Strings{"Eichenweg", "", "", "", "fehlt", vanished}));
    EXPECT_EQ(form().status.caption(), "3 Anlagen, davon 1 fehlt");
    EXPECT_EQ(filesOf(second), secondBefore);

    choose(here());
    EXPECT_FALSE(form().remove.enabled());  // the installation the program runs on stays listed
    choose(vanished);
    EXPECT_FALSE(form().open.enabled());
    EXPECT_NE(form().details.caption().find("fehlt"), std::string::npos);
    inst.dialogs.answer(MsgAnswer::No);
    window().remove();
    EXPECT_EQ(inst.dialogs.last().text, "Die Anlage Eichenweg (" + vanished +
                                            ") aus der Liste der Anlagen entfernen?\n\nDer Ordner und seine "
                                            "Dateien bleiben unverändert.");
    EXPECT_EQ(inst.dialogs.last().defaultAnswer, MsgAnswer::No);
    EXPECT_EQ(userSettings().installations(), (Strings{here(), second, vanished}));
    inst.dialogs.answer(MsgAnswer::Yes);
    window().remove();
    EXPECT_EQ(userSettings().installations(), (Strings{here(), second}));
    EXPECT_EQ(form().installationList.count(), 2);

    // Adding: a folder without an installation and one that is gone are refused; a listed one is chosen.
    window().addFolder(others.path());
    EXPECT_EQ(inst.dialogs.last().text, "Der Ordner wird nicht aufgenommen.\n\nIm Ordner " + others.path() +
                                            " liegt keine ANLAGE99.INI. Wählen Sie den Ordner, in dem "
                                            "ANLAGE99.INI und QBXDATA.MDB liegen.");
    window().addFolder(vanished);
    EXPECT_EQ(inst.dialogs.last().text,
              "Der Ordner wird nicht aufgenommen.\n\nDer Ordner " + vanished + " fehlt.");
    window().addFolder(second + "/");
    EXPECT_EQ(form().installationList.listIndex(), 1);
    EXPECT_EQ(userSettings().installations(), (Strings{here(), second}));
    const std::string third = others.path() + "/Ahornweg";
    std::string error;
    ASSERT_TRUE(writeSampleInstallation(third, &error)) << error;
    window().addFolder(third);
    EXPECT_EQ(userSettings().installations(), (Strings{here(), second, third}));
    EXPECT_EQ(form().installationList.listIndex(), 2);
    inst.loop.processEventsUntil([this] { return !window().reading(); });
    EXPECT_EQ(cells(2).at(1), "41");

    // Another run holds the second installation: refused before any question.
    FileLock otherRun;
    ASSERT_EQ(otherRun.tryLock(second + "/PNLSETUP.LCK", "4711"), FileLock::Result::Locked);
    const std::size_t boxes = inst.dialogs.shown.size();
    choose(second);
    window().open();
    ASSERT_EQ(inst.dialogs.shown.size(), boxes + 1);
    EXPECT_EQ(inst.dialogs.last().text,
              "Die Anlage Birkenhof kann nicht geöffnet werden.\n\nDas Setupprogramm "
              "läuft bereits für die Anlage in " +
                  second + " (Prozess 4711). Beenden Sie zuerst das andere Programm.");
    EXPECT_TRUE(form().visible());

    // Opening the installation the program runs on only closes the window.
    choose(here());
    window().open();
    EXPECT_FALSE(form().visible());
    EXPECT_EQ(inst.dialogs.shown.size(), boxes + 1);
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(setup->mainForm().visible());
}

// A fixture set up by hand: a fresh program for each row of a table.
struct FreshInstallations : InstallationsWindow {
    FreshInstallations() { SetUp(); }
    ~FreshInstallations() override { TearDown(); }
    void TestBody() override {}
};

TEST(InstallationsWindowSwitch, OpeningAnotherAsksTheExitQuestionAndTheFilesKeepWhatTheAnswerSays) {
    struct Row {
        const char* name;
        MsgAnswer answer;
    };
    for (const Row& row : {Row{"Abbrechen stays", MsgAnswer::Cancel}, Row{"Nein discards", MsgAnswer::No},
                           Row{"Ja keeps", MsgAnswer::Yes}}) {
        SCOPED_TRACE(row.name);
        FreshInstallations scene;
        const std::string settingsBefore = scene.inst.readFile("ANLAGE99.INI");
        const std::string databaseBefore = scene.inst.readFile("QBXDATA.MDB");
        const auto secondBefore = filesOf(scene.second);
        const std::string lastBefore = scene.userSettings().lastFolder();
        Program& program = scene.setup->program();
        ASSERT_TRUE(program.settings.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"));
        ASSERT_TRUE(program.database()->exec("UPDATE BEWOHNER SET Wnr = 'C001' WHERE Name = 'O''Neill'"));

        scene.openWindow();
        scene.choose(scene.second);
        scene.inst.dialogs.answer(row.answer);
        scene.window().open();
        EXPECT_EQ(scene.inst.dialogs.last().title, "Änderungen speichern");
        EXPECT_EQ(scene.inst.dialogs.last().buttons, MsgButtons::YesNoCancel);
        // The chosen installation is only started after this run has ended, so nothing of it is written here.
        EXPECT_EQ(filesOf(scene.second), secondBefore);

        if (row.answer == MsgAnswer::Cancel) {
            EXPECT_EQ(scene.ends, 0);
            EXPECT_EQ(scene.setup->nextFolder(), "");
            EXPECT_TRUE(scene.form().visible() && scene.setup->mainForm().visible());
            EXPECT_EQ(scene.userSettings().installations(),
                      (Strings{scene.here(), scene.second, scene.vanished}));
            EXPECT_EQ(scene.userSettings().lastFolder(), lastBefore);
            EXPECT_TRUE(program.database() && program.database()->exec("SELECT 1"));  // the run goes on
        } else {
            EXPECT_EQ(scene.ends, 1);
            EXPECT_EQ(scene.setup->nextFolder(), scene.second);
            EXPECT_FALSE(scene.form().visible() || scene.setup->mainForm().visible());
            EXPECT_EQ(scene.userSettings().installations(),
                      (Strings{scene.second, scene.here(), scene.vanished}));
            EXPECT_EQ(scene.userSettings().lastFolder(), scene.second);
        }
        const bool kept = row.answer == MsgAnswer::Yes;
        EXPECT_EQ(scene.inst.readFile("ANLAGE99.INI") == settingsBefore, !kept);
        EXPECT_EQ(scene.inst.readFile("QBXDATA.MDB") == databaseBefore, !kept);
        if (kept) {
            auto original = Database::open(scene.inst.path("QBXDATA.MDB"));
            const auto found = original->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'", {});
            ASSERT_TRUE(found && found->size() == 1);
            EXPECT_EQ(dbText(found->front().at(0)), "C001");
            EXPECT_NE(scene.inst.readFile("ANLAGE99.INI").find("Haupteingang Nord"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace pnl::test
