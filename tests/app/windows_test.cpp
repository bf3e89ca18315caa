// The password dialog, the level editor and the main window, driven through their controls as the user does.
#include <gtest/gtest.h>

#include <tuple>

#include "app/access_codes.h"
#include "app/event_log.h"
#include "app/level_editor.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app_fixture.h"
#include "forms/info_dialog.h"
#include "forms/interface_window.h"
#include "forms/levels_page.h"
#include "forms/main_window.h"
#include "forms/password_dialog.h"
#include "platform/cipher.h"

namespace pnl {
namespace {

using Strings = std::vector<std::string>;

struct PasswordFixture : ::testing::Test {
    PasswordFixture() : dialog(program(), form) {
        dialog.seams.startUp = [this] {
            startedAt.push_back(program().userLevel);
            return startUpRuns;
        };
        dialog.seams.endProgram = [this] { ++ends; };
    }
    void SetUp() override {
        // Level 3 is not released, level 5 has kind "N", level 6 an empty kind; levels 2 and 4 share a code.
        test::writeLevels(inst.fs, inst.path("ANLAGE99.INI"),
                          {{1, "TRUE,111111,B"},
                           {2, "TRUE,222222,A"},
                           {3, "FALSE,333333,P"},
                           {4, "TRUE,222222,P"},
                           {5, "TRUE,555555,N"},
                           {6, "TRUE,666666,"}});
        dialog.load();
    }
    Program& program() { return *inst.program; }
    // Types the entry and presses Enter, as the user does.
    void enter(const std::string& code) {
        form.code.setText(code);
        for (char c : code)
            dialog.keyPressed(static_cast<unsigned char>(c));
        dialog.keyPressed(13);
    }

    test::Installation inst;
    PasswordDialogForm form;
    PasswordDialog dialog;
    std::vector<int> startedAt;
    bool startUpRuns = true;
    int ends = 0;
};

TEST_F(PasswordFixture, WrongCodesSaySoAndTheThirdEndsTheProgramAfterABoxThatClosesItself) {
    EXPECT_EQ(form.prompt.caption(), "Bitte geben Sie Ihren\n\rZugangscode ein!");
    for (int i = 0; i < 5; ++i)  // an empty entry is no try
        dialog.keyPressed(13);
    dialog.confirm();
    EXPECT_EQ(program().userLevel, 0);
    enter("123456");
    EXPECT_EQ(form.prompt.caption(), "Zugangscode falsch – noch 2 Versuche");
    enter("123456");
    EXPECT_EQ(form.prompt.caption(), "Zugangscode falsch – noch 1 Versuch");
    EXPECT_EQ(program().userLevel, 2);
    EXPECT_TRUE(dialog.open());
    EXPECT_EQ(form.code.text(), "");  // cleared for the next try
    inst.dialogs.whileShown = [this](const Message&) { EXPECT_EQ(ends, 0); };
    enter("654321");
    EXPECT_FALSE(dialog.open());
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(startedAt.empty());
    ASSERT_EQ(inst.dialogs.texts(),
              Strings{"Der Zugangscode wurde dreimal falsch eingegeben. Das Programm wird beendet."});
    EXPECT_GT(inst.dialogs.last().closesAfterSeconds, 0);
}

TEST_F(PasswordFixture, TheMasterCodeInLowerCaseGivesLevelSixAfterItsBox) {
    inst.dialogs.whileShown = [this](const Message&) {
        EXPECT_TRUE(startedAt.empty());  // the box comes before the start
        inst.loop.advance(60000);        // a user who leaves the box open is not thrown out
    };
    enter("orion nebel");
    EXPECT_EQ(inst.dialogs.texts(), std::vector<std::string>{"Möge die Macht mit Euch sein"});
    EXPECT_EQ(startedAt, std::vector<int>{6});
    EXPECT_EQ(ends, 0);
}

TEST_F(PasswordFixture, CancelTheCloseBoxTwentyIdleSecondsAndAFailedStartUpEndTheProgramOnce) {
    dialog.cancel();
    EXPECT_EQ(ends, 1);
    dialog.closed();  // already closed: no second end
    EXPECT_EQ(ends, 1);

    dialog.load();
    startUpRuns = false;
    enter("222222");
    EXPECT_EQ(form.prompt.caption(), "Code Ok!\n\rProgramm wird geladen!");
    EXPECT_EQ(startedAt, std::vector<int>{2});
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(inst.loop.pendingTimers(), 0);

    dialog.load();
    inst.loop.advance(20000);
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(ends, 3);
    EXPECT_EQ(inst.loop.pendingTimers(), 0);
    ASSERT_EQ(inst.dialogs.texts(), std::vector<std::string>{"Es wurde 20 Sekunden lang kein Zugangscode "
                                                             "eingegeben. Das Programm wird beendet."});
    EXPECT_GT(inst.dialogs.last().closesAfterSeconds, 0);
}

TEST_F(PasswordFixture, OnlyEnabledLevelsWithRightsMatchTheCodeAsText) {
    for (const char* wrong : {"333333", "555555", "666666", "0111111", "111111 ", "ORION  NEBEL"})
        EXPECT_EQ(MatchAccessCode(program(), wrong).kind, CodeMatch::Kind::Wrong) << wrong;
    EXPECT_EQ(MatchAccessCode(program(), "222222").level, 2);  // the lower level wins
    EXPECT_EQ(MatchAccessCode(program(), "Orion Nebel").kind, CodeMatch::Kind::Master);
    // The dialog reads the original settings file, never the working copy.
    test::writeLevels(inst.fs, inst.path("ANLAGE99_COPY.INI"), {{1, "TRUE,999999,P"}});
    program().settings.setFileName(inst.path("ANLAGE99_COPY.INI"));
    EXPECT_EQ(MatchAccessCode(program(), "999999").kind, CodeMatch::Kind::Wrong);
    test::writeLevels(inst.fs, inst.path("ANLAGE99.INI"), {{6, "TRUE,666666,P"}});
    EXPECT_EQ(MatchAccessCode(program(), "666666").level, 6);
    // A kind written in lower case: "n" has no rights, exactly as "N".
    test::writeLevels(inst.fs, inst.path("ANLAGE99.INI"), {{6, "TRUE,666666,n"}});
    EXPECT_EQ(MatchAccessCode(program(), "666666").kind, CodeMatch::Kind::Wrong);
    // A record in plain text, not sealed, does not match.
    ASSERT_TRUE(program().originalSettings.write("Berechtigungen", "LEVEL1", "TRUE,111111,B"));
    EXPECT_EQ(MatchAccessCode(program(), "111111").kind, CodeMatch::Kind::Wrong);
}

TEST(LevelRights, TheKindOfTheLevelAndACommandLineStartEnableExactlyTheirElements) {
    test::Installation inst;
    test::writeLevels(inst.fs, inst.path("ANLAGE99_COPY.INI"),
                      {{1, "TRUE,1,B"}, {2, "TRUE,2,A"}, {3, "TRUE,3,P"}, {4, "TRUE,4,b"}, {5, "TRUE,5,N"}});
    inst.program->settings.setFileName(inst.path("ANLAGE99_COPY.INI"));
    // Level, started from the command line, "1" for each element enabled: Schnittstelle, Datensätze,
    // Berechtigungen, the second resident tab, both serial number fields, "Löschen", "Neu".
    const std::tuple<int, bool, std::string> cases[] = {{3, false, "11111111"},  // "P"
                                                        {2, false, "11011111"},  // "A"
                                                        {1, false, "01000000"},  // "B"
                                                        {4, false, "01000000"},  // "b" gives no more than "B"
                                                        {5, false, "11111111"},  // "N"
                                                        {6, false, "11111111"},  // level 6 without a record
                                                        {3, true, "01111111"},  {6, true, "01111111"},
                                                        {1, true, "01000000"}};
    for (const auto& [level, fromCommandLine, expected] : cases) {
        MainWindowForm form;
        inst.program->userLevel = static_cast<std::uint8_t>(level);
        inst.program->startedWithLevel = fromCommandLine;
        ApplyLevelRights(*inst.program, form);
        EXPECT_TRUE(form.transferMenu.enabled() && form.infoMenu.enabled() && form.exitMenu.enabled());
        std::string enabled;
        for (bool on :
             {form.interfacesMenu.enabled(), form.recordsMenu.enabled(), form.levelsMenu.enabled(),
              form.residentTabs.tabs()[1].enabled, form.serial.enabled(), form.secondSerial.enabled(),
              form.deleteResident.enabled(), form.newResident.enabled()})
            enabled += on ? '1' : '0';
        EXPECT_EQ(enabled, expected) << "level " << level
                                     << (fromCommandLine ? " from the command line" : "");
    }
}

struct LevelEditorFixture : ::testing::Test {
    LevelEditorFixture()
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()),
          editor(program, form) {
        program.settings.setFileName(inst.path("ANLAGE99_COPY.INI"));
        test::writeLevels(fs, inst.path("ANLAGE99_COPY.INI"),
                          {{1, "FALSE,111111,B"},
                           {2, "TRUE,222222,A"},
                           {3, "TRUE,1000000,p"},
                           {4, "TRUE,12ab,N"},
                           {5, "TRUE,999999,P"}});
        program.statusNotice = [this](const std::string& text) { notices.push_back(text); };
    }
    void choose(int index) {
        form.levelChoice.setListIndex(index);
        editor.levelChosen();
    }
    void save(const std::string& code) {
        form.levelCode.setText(code);
        editor.save();
    }
    // The stored record of a level, decrypted straight from the file.
    std::string stored(int level) {
        SettingsFile settings(fs);
        settings.setFileName(inst.path("ANLAGE99_COPY.INI"));
        const std::string sealed = settings.read("Berechtigungen", "LEVEL" + std::to_string(level));
        return cDecrypt(sealed, kCipherKey).value_or("<undecryptable>");
    }

    test::Installation inst;
    test::FailingFileSystem fs;
    Program program;
    LevelsPageForm form;
    LevelEditor editor;
    Strings notices;
};

TEST_F(LevelEditorFixture, ChoosingALevelShowsItsRecord) {
    choose(0);  // level 1 is always released
    EXPECT_FALSE(form.levelEnabled.enabled());
    EXPECT_TRUE(form.levelEnabled.checked());
    EXPECT_EQ(form.levelCode.text(), "111111");
    EXPECT_TRUE(form.kindResidents.checked());
    choose(1);
    EXPECT_TRUE(form.levelEnabled.enabled());
    EXPECT_TRUE(form.kindAll.checked());
    choose(2);  // a code the six-digit field cannot hold shows as the empty mask
    EXPECT_TRUE(form.levelCode.empty());
    EXPECT_TRUE(form.kindAllWithLevels.checked());  // kind "p" read upper-cased
    choose(4);
    EXPECT_EQ(form.levelCode.text(), "999999");
    choose(3);  // "12ab": never the code of the level shown before
    EXPECT_TRUE(form.levelCode.empty());
    EXPECT_TRUE(form.kindAllWithLevels.checked());  // kind "N" leaves the options as they were

    form.levelCode.setSelStart(4);
    editor.levelCodeFocused();  // entering the code field puts the caret first
    EXPECT_EQ(form.levelCode.selStart(), 0);
    choose(1);
    form.levelTabs.setTab(1);
    editor.Reset();
    EXPECT_EQ(form.levelChoice.text(), "");
    EXPECT_EQ(form.levelTabs.tab(), 0);
    EXPECT_EQ(form.levelCode.text(), "222222");  // the other controls keep what they showed
}

TEST_F(LevelEditorFixture, EachSaveWritesItsSealedRecordAndLogLine) {
    choose(3);  // kind "N": no option chosen on a fresh page saves kind "B"
    EXPECT_FALSE(form.kindResidents.checked() || form.kindAll.checked() || form.kindAllWithLevels.checked());
    save("__1234");  // a code of four digits leaves two places of the mask empty
    EXPECT_EQ(stored(4), "TRUE,1234,B");
    // Kept at exit, the password dialog, which compares the code as text as the visualisation program does,
    // admits it.
    inst.writeFile("ANLAGE99.INI", inst.readFile("ANLAGE99_COPY.INI"));
    EXPECT_EQ(MatchAccessCode(program, "1234").level, 4);
    EXPECT_EQ(MatchAccessCode(program, "001234").kind, CodeMatch::Kind::Wrong);
    choose(0);
    choose(3);
    EXPECT_EQ(form.levelCode.text(), "1234");
    choose(2);  // the code of a level that is not released is free
    save("111111");
    EXPECT_EQ(stored(3), "TRUE,111111,P");
    choose(0);
    save("101010");
    EXPECT_EQ(stored(1), "TRUE,101010,B");
    choose(4);
    form.kindAll.setChecked(true);
    save("000042");
    EXPECT_EQ(stored(5), "TRUE,000042,A");
    // A level keeps its own code, saved to it even after another editor used the settings access.
    choose(1);
    program.settings.read("Schnittstellen", "COM1");
    editor.save();
    EXPECT_EQ(stored(2), "TRUE,222222,A");
    EXPECT_EQ(program.settings.read("Schnittstellen", "COM1"), "");
    form.levelEnabled.setChecked(false);  // unchecked: "FALSE", the kind, and the code is lost
    editor.save();
    EXPECT_EQ(stored(2), "FALSE,,A");
    choose(4);
    choose(1);
    EXPECT_FALSE(form.levelEnabled.checked());
    EXPECT_EQ(form.levelCode.displayText(), "______");

    EXPECT_EQ(inst.logTexts(),
              (Strings{"Berechtigungen Level 4 geaendert.", "Berechtigungen Level 3 geaendert.",
                       "Berechtigungen Level 1 (Grund) geaendert.",
                       "Berechtigungen Level 5 (Supervisor) geaendert.", "Berechtigungen Level 2 geaendert.",
                       "Berechtigungen Level 2 geaendert."}));
    ASSERT_EQ(notices.size(), 6u);  // one a save, named as in the log
    EXPECT_EQ(notices[3], "Gespeichert: Level 5 (Supervisor)");
    // Each save seals afresh: the file holds cipher text, never the plain list.
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI").find("TRUE,"), std::string::npos);
}

TEST_F(LevelEditorFixture, ARefusedSaveSaysWhyAndWritesNothing) {
    const std::string before = inst.readFile("ANLAGE99_COPY.INI");
    editor.save();  // nothing chosen yet: nothing happens
    EXPECT_TRUE(inst.dialogs.shown.empty());
    choose(3);
    for (const char* code : {"", "222222", "999999"})
        save(code);
    fs.failAt = fs.calls + 1;  // the file cannot be replaced (a full disk, say)
    save("444444");
    EXPECT_EQ(
        inst.dialogs.texts(),
        (Strings{
            "Bitte geben Sie einen Code ein.",
            "Dieser Code gehört bereits zu \"Level 2\". Jede Berechtigungsstufe braucht ihren eigenen Code.",
            "Dieser Code gehört bereits zu \"Level 5 (Supervisor)\". Jede Berechtigungsstufe braucht ihren "
            "eigenen Code.",
            "Die Berechtigungsstufe konnte nicht gespeichert werden!"}));
    EXPECT_EQ(inst.dialogs.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), before);
    EXPECT_FALSE(inst.exists("log/06122026.log"));
    EXPECT_TRUE(notices.empty());
}

// A code typed for a level is never dropped unsaid when another level is chosen: "Ja" saves it (a refused
// code is told and its level stays on show with it), "Nein" drops it, "Abbrechen" stays. Unchanged, no
// question.
TEST_F(LevelEditorFixture, ChoosingAnotherLevelAsksAboutATypedCodeAndTellsARefusal) {
    struct Row {
        const char* name;
        std::string typed;
        MsgAnswer answer;
        std::string storedAfter;  // level 4's record
        std::string refusal;      // the box after the question
        int showsAfter;           // the level chosen in the list
    };
    const std::string untouched = "TRUE,12ab,N";
    const Row rows[] = {
        {"Ja saves the code", "444444", MsgAnswer::Yes, "TRUE,444444,B", "", 1},
        {"Ja with a taken code tells it and stays", "222222", MsgAnswer::Yes, untouched,
         "Dieser Code gehört bereits zu \"Level 2\". Jede Berechtigungsstufe braucht ihren eigenen Code.", 3},
        {"Nein drops the code", "444444", MsgAnswer::No, untouched, "", 1},
        {"Abbrechen stays with the code", "444444", MsgAnswer::Cancel, untouched, "", 3},
    };
    const std::string file = inst.readFile("ANLAGE99_COPY.INI");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        inst.writeFile("ANLAGE99_COPY.INI", file);
        inst.dialogs.shown.clear();
        choose(3);
        form.levelCode.setText(row.typed);
        inst.dialogs.answer(row.answer);
        choose(1);
        ASSERT_GE(inst.dialogs.shown.size(), 1u);
        EXPECT_EQ(inst.dialogs.shown[0].text, "Sollen die Änderungen an \"Level 4\" gesichert werden?");
        EXPECT_EQ(inst.dialogs.shown[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(inst.dialogs.shown.size() == 2 ? inst.dialogs.last().text : "", row.refusal);
        EXPECT_EQ(stored(4), row.storedAfter);
        EXPECT_EQ(form.levelChoice.listIndex(), row.showsAfter);
        EXPECT_EQ(form.levelCode.text(), row.showsAfter == 3 ? row.typed : "222222");
        editor.Reset();
    }
    inst.dialogs.shown.clear();
    choose(3);
    choose(1);
    EXPECT_TRUE(inst.dialogs.shown.empty());
}

struct MainWindowFixture : ::testing::Test {
    MainWindowFixture() : levels(program(), form), main(program(), form, com, info, levels) {
        com.setVisible(false);
        main.seams.openResidentView = [this] { ++residentViewsOpened; };
        main.seams.showTransferDialog = [this] { ++transferDialogs; };
        main.seams.showProjectInfo = [this] { infoVersion = info.version.caption(); };
        main.seams.interfaceWindowOpened = [this] { ++interfaceOpenings; };
    }
    void SetUp() override {
        test::writeLevels(inst.fs, inst.path("ANLAGE99_COPY.INI"), {{3, "TRUE,333333,A"}});
        program().settings.setFileName(inst.path("ANLAGE99_COPY.INI"));
        program().userLevel = 3;
        form.setGeometry({100, 80, 800, 600});
        main.Open();
    }
    Program& program() { return *inst.program; }
    const std::string& panel(int number) const { return form.statusBar.panel(number).text; }

    test::Installation inst;  // the virtual clock starts at 06.12.2026 09:30:00
    MainWindowForm form;
    InterfaceWindowForm com;
    InfoDialogForm info;
    LevelEditor levels;
    MainWindowController main;
    int residentViewsOpened = 0, transferDialogs = 0, interfaceOpenings = 0;
    std::string infoVersion;
};

// The menus as the user clicks them; the Qt window's tests check the pages, the residents and the time.
TEST_F(MainWindowFixture, TheMenusSwitchPagesAndTheAlarmShowsTheLevelAndALogProblem) {
    EXPECT_TRUE(form.residentFrame.visible());
    EXPECT_EQ(residentViewsOpened, 1);
    main.openInterfaces();
    EXPECT_TRUE(com.visible());
    EXPECT_FALSE(form.residentFrame.visible());
    main.openInterfaces();  // already open: placed again, not loaded again
    EXPECT_EQ(interfaceOpenings, 1);
    form.residentTabs.setTab(1);
    main.openResidents();  // "Datensätze" shows the first tab
    EXPECT_FALSE(com.visible());
    EXPECT_EQ(form.residentTabs.tab(), 0);
    EXPECT_EQ(residentViewsOpened, 2);
    // "Berechtigungen" closes it too and resets the level editor.
    main.openInterfaces();
    form.levelChoice.setListIndex(2);
    main.openLevels();
    EXPECT_FALSE(com.visible());
    EXPECT_TRUE(form.levelsFrame.visible());
    EXPECT_FALSE(form.residentFrame.visible());
    EXPECT_EQ(form.levelChoice.listIndex(), -1);
    // "PNLXXX" and "Info" keep the page.
    main.openTransfer();
    main.openInfo();
    EXPECT_EQ(transferDialogs, 1);
    EXPECT_TRUE(form.levelsFrame.visible());
    EXPECT_EQ(infoVersion, "Version: 2.10");
    EXPECT_FALSE(info.title.caption().empty() || info.copyright.caption().empty());

    // The alarm writes the level and, once, a log line that could not be written.
    EXPECT_EQ(panel(1), "Level 3");
    EXPECT_EQ(panel(2), "");
    program().userLevel = 4;  // not how levels change, but it shows which panels the alarm writes
    inst.writeFile("log", "");
    EventLog(program(), "Bewohnerdatensatz: C001 wurde geaendert.");
    inst.loop.advance(10000);
    EXPECT_EQ(panel(1), "Level 4");
    EXPECT_EQ(panel(2), "Protokoll nicht schreibbar: " + inst.path("log/06122026.log"));
    inst.loop.advance(24 * 3600 * 1000);  // noted once: the next day's failure does not replace it
    EventLog(program(), "Bewohnerdatensatz: C002 wurde geaendert.");
    inst.loop.advance(10000);
    EXPECT_EQ(panel(2), "Protokoll nicht schreibbar: " + inst.path("log/06122026.log"));
}

// The Qt window's tests check "Beenden".
TEST_F(MainWindowFixture, ClosingWaitsForATransferAndAPageWithUnsavedWorkIsLeftOnlyWhenItsQuestionAllows) {
    program().serialLinkBusy = true;
    EXPECT_TRUE(main.closeRequested());  // refused before the exit question
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Exclamation);
    program().serialLinkBusy = false;
    inst.dialogs.shown.clear();

    bool stay = true;
    int asked = 0;
    main.seams.leavePage = [&] {
        ++asked;
        return !stay;
    };
    bool backupsShown = false;
    main.seams.showBackups = [&] { backupsShown = true; };
    main.openLevels();
    main.openInterfaces();
    main.openResidents();
    main.openOverview();
    main.openTransfer();  // the transfer would send the stored resident, not the typed one
    main.openBackups();
    EXPECT_TRUE(main.closeRequested());  // cancelled: the window stays
    EXPECT_EQ(asked, 7);
    EXPECT_TRUE(form.residentFrame.visible());
    EXPECT_FALSE(com.visible() || form.overviewFrame.visible() || backupsShown);
    EXPECT_EQ(transferDialogs, 0);
    EXPECT_TRUE(inst.dialogs.shown.empty());  // not even the exit question
    stay = false;
    main.openLevels();
    EXPECT_TRUE(form.levelsFrame.visible());
    // A code typed on the levels page holds the page and the program until its question allows.
    form.levelChoice.setListIndex(2);
    levels.levelChosen();
    form.levelCode.setText("343434");
    inst.dialogs.answer(MsgAnswer::Cancel);
    main.openResidents();
    EXPECT_TRUE(form.levelsFrame.visible());
    inst.dialogs.answer(MsgAnswer::No);
    inst.dialogs.answer(MsgAnswer::Cancel);
    EXPECT_TRUE(main.closeRequested());
    EXPECT_EQ(inst.dialogs.texts(),
              (std::vector<std::string>{"Sollen die Änderungen an \"Level 3\" gesichert werden?",
                                        "Sollen die Änderungen an \"Level 3\" gesichert werden?",
                                        "Sollen alle getätigten Änderungen übernommen werden?"}));

    program().notify("Gespeichert: Meier, Anna");  // a success shows a while in the status bar
    EXPECT_EQ(panel(MainWindowController::kNoticePanel), "Gespeichert: Meier, Anna");
    inst.loop.advance(MainWindowController::kNoticeSeconds * 1000);
    EXPECT_EQ(panel(MainWindowController::kNoticePanel), "");
}

}  // namespace
}  // namespace pnl
