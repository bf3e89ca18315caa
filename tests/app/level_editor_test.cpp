#include "app/level_editor.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "app_fixture.h"
#include "forms/fr_levels.h"
#include "platform/cipher.h"

namespace pnl {
namespace {

using Strings = std::vector<std::string>;

struct LevelEditorFixture : ::testing::Test {
    LevelEditorFixture()
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()),
          editor(program, form) {
        program.InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
        test::writeLevels(fs, inst.path("ANLAGE99_COPY.INI"),
                          {{1, "FALSE,111111,B"},
                           {2, "TRUE,222222,A"},
                           {3, "TRUE,1000000,p"},
                           {4, "TRUE,12ab,N"},
                           {5, "TRUE,999999,P"}});
        program.statusNotice = [this](const std::string& text) { notices.push_back(text); };
    }
    void choose(int index) {
        form.CboLVBez.setListIndex(index);
        editor.CboLVBez_Click();
    }
    void save(const std::string& code) {
        form.TxtLVCode.setText(code);
        editor.CmdLVSave_Click();
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
    FrLevelsControls form;
    LevelEditor editor;
    Strings notices;
};

TEST_F(LevelEditorFixture, ChoosingALevelShowsItsRecord) {
    choose(0);  // level 1 is always released
    EXPECT_FALSE(form.ChkLVEn.enabled());
    EXPECT_TRUE(form.ChkLVEn.checked());
    EXPECT_EQ(form.TxtLVCode.text(), "111111");
    EXPECT_TRUE(form.OptLVBewo.checked());
    choose(1);
    EXPECT_TRUE(form.ChkLVEn.enabled());
    EXPECT_TRUE(form.OptLVAll.checked());
    choose(2);  // a code the six-digit field cannot hold shows as the empty mask
    EXPECT_TRUE(form.TxtLVCode.empty());
    EXPECT_TRUE(form.OptLVPwd.checked());  // kind "p" read upper-cased
    choose(4);
    EXPECT_EQ(form.TxtLVCode.text(), "999999");
    choose(3);  // "12ab": never the code of the level shown before
    EXPECT_TRUE(form.TxtLVCode.empty());
    EXPECT_TRUE(form.OptLVPwd.checked());  // kind "N" leaves the options as they were

    form.TxtLVCode.setSelStart(4);
    editor.TxtLVCode_GotFocus();  // entering the code field puts the caret first
    EXPECT_EQ(form.TxtLVCode.selStart(), 0);
    choose(1);
    form.SSTabLV.setTab(1);
    editor.Reset();
    EXPECT_EQ(form.CboLVBez.text(), "");
    EXPECT_EQ(form.SSTabLV.tab(), 0);
    EXPECT_EQ(form.TxtLVCode.text(), "222222");  // the other controls keep what they showed
}

TEST_F(LevelEditorFixture, EachSaveWritesItsSealedRecordAndLogLine) {
    choose(3);  // kind "N": no option chosen on a fresh page saves kind "B"
    EXPECT_FALSE(form.OptLVBewo.checked() || form.OptLVAll.checked() || form.OptLVPwd.checked());
    save("471100");
    EXPECT_EQ(stored(4), "TRUE,471100,B");
    choose(2);  // the code of a level that is not released is free
    save("111111");
    EXPECT_EQ(stored(3), "TRUE,111111,P");
    choose(0);
    save("101010");
    EXPECT_EQ(stored(1), "TRUE,101010,B");
    choose(4);
    form.OptLVAll.setChecked(true);
    save("000042");
    EXPECT_EQ(stored(5), "TRUE,000042,A");
    // A level keeps its own code, saved to it even after another editor used the settings access.
    choose(1);
    program.InitX.read("Schnittstellen", "COM1");
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(2), "TRUE,222222,A");
    EXPECT_EQ(program.InitX.read("Schnittstellen", "COM1"), "");
    form.ChkLVEn.setChecked(false);  // unchecked: "FALSE", the kind, and the code is lost
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(2), "FALSE,,A");
    choose(4);
    choose(1);
    EXPECT_FALSE(form.ChkLVEn.checked());
    EXPECT_EQ(form.TxtLVCode.displayText(), "______");

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
    editor.CmdLVSave_Click();  // nothing chosen yet: nothing happens
    EXPECT_TRUE(inst.dialogs.shown.empty());
    choose(3);
    for (const char* code : {"", "222222", "999999", "12222"})
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
            "Der Code muss sechs Ziffern haben. Bitte füllen Sie alle sechs Stellen aus.",
            "Die Berechtigungsstufe konnte nicht gespeichert werden!"}));
    EXPECT_EQ(inst.dialogs.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), before);
    EXPECT_FALSE(inst.exists("log/06122026.log"));
    EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace pnl
