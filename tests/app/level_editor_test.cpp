#include "app/level_editor.h"

#include <gtest/gtest.h>

#include <map>

#include "app/log_reader.h"
#include "app/program.h"
#include "app/records.h"
#include "forms/fr_levels.h"
#include "platform/cipher.h"
#include "support/installation.h"

namespace pnl {
namespace {

// The settings working copy; while `refusing`, no file can be replaced (a full disk, say).
class RefusingFileSystem : public PosixFileSystem {
  public:
    bool refusing = false;

  protected:
    bool replaceFile(const std::string& temp, const std::string& target) override {
        return !refusing && PosixFileSystem::replaceFile(temp, target);
    }
};

struct LevelEditorFixture : ::testing::Test {
    LevelEditorFixture()
        : program(Platform{fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path()),
          editor(program, form) {}

    void SetUp() override {
        program.InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
        for (const auto& [level, plain] : std::map<int, std::string>{{1, "FALSE,111111,B"},
                                                                     {2, "TRUE,222222,A"},
                                                                     {3, "TRUE,1000000,p"},
                                                                     {4, "TRUE,12ab,N"},
                                                                     {5, "TRUE,999999,P"}}) {
            program.InitX.setSection("Berechtigungen");
            program.InitX.setKey("LEVEL" + std::to_string(level));
            ASSERT_TRUE(writeEncrypted(program.InitX, plain));
        }
    }
    void choose(int index) {
        form.CboLVBez.setListIndex(index);
        editor.CboLVBez_Click();
    }
    // The stored record of a level, decrypted straight from the file.
    std::string stored(int level) {
        SettingsFile settings(fs);
        settings.setFileName(inst.path("ANLAGE99_COPY.INI"));
        const std::string sealed = settings.read("Berechtigungen", "LEVEL" + std::to_string(level));
        return cDecrypt(sealed, "07145226318").value_or("<undecryptable>");
    }
    std::vector<std::string> logEvents() const {
        std::vector<std::string> events;
        for (const auto& entry : readLog(inst.readFile("log/06122026.log"), "06122026"))
            events.push_back(entry.text.value_or("!!").substr(10));
        return events;
    }

    test::Installation inst;
    RefusingFileSystem fs;
    Program program;
    FrLevelsControls form;
    LevelEditor editor;
};

TEST_F(LevelEditorFixture, TheListHoldsTheFiveLevelsAndNothingIsChosenAfterAReset) {
    std::vector<std::string> texts;
    for (const auto& item : form.CboLVBez.items())
        texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Level 1 (Grund)", "Level 2", "Level 3", "Level 4",
                                               "Level 5 (Supervisor)"}));
    choose(1);
    editor.Reset();
    EXPECT_EQ(form.CboLVBez.text(), "");
    EXPECT_EQ(form.SSTabLV.tab(), 0);
    EXPECT_EQ(form.TxtLVCode.text(), "222222");  // the other controls keep what they showed
}

TEST_F(LevelEditorFixture, LevelOneIsAlwaysReleased) {
    choose(0);
    EXPECT_FALSE(form.ChkLVEn.enabled());
    EXPECT_TRUE(form.ChkLVEn.checked());
    EXPECT_EQ(form.TxtLVCode.text(), "111111");
    EXPECT_TRUE(form.OptLVBewo.checked());
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(1), "TRUE,111111,B");
    choose(1);
    EXPECT_TRUE(form.ChkLVEn.enabled());
}

TEST_F(LevelEditorFixture, UncheckingWritesFalseAndTheKindAndLosesTheCode) {
    choose(1);
    EXPECT_TRUE(form.OptLVAll.checked());
    form.ChkLVEn.setChecked(false);
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(2), "FALSE,,A");
    choose(4);
    choose(1);
    EXPECT_FALSE(form.ChkLVEn.checked());
    EXPECT_TRUE(form.TxtLVCode.empty());
    EXPECT_EQ(form.TxtLVCode.displayText(), "______");
}

TEST_F(LevelEditorFixture, CodesTheFieldCannotHoldShowAsTheEmptyMask) {
    choose(4);
    EXPECT_EQ(form.TxtLVCode.text(), "999999");
    choose(2);  // 1000000
    EXPECT_TRUE(form.TxtLVCode.empty());
    EXPECT_TRUE(form.OptLVPwd.checked());  // kind "p" read upper-cased
    choose(4);
    choose(3);  // "12ab": never the code of the level shown before
    EXPECT_TRUE(form.TxtLVCode.empty());
    EXPECT_TRUE(form.OptLVPwd.checked());  // kind "N" leaves the options as they were
}

TEST_F(LevelEditorFixture, NoOptionChosenSavesKindB) {
    choose(3);  // kind "N": no option chosen on a fresh page
    EXPECT_FALSE(form.OptLVBewo.checked() || form.OptLVAll.checked() || form.OptLVPwd.checked());
    form.TxtLVCode.setText("471100");
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(4), "TRUE,471100,B");
}

TEST_F(LevelEditorFixture, EverySaveWritesItsLogLineAndTheRecordDecryptsExactly) {
    choose(4);
    form.OptLVAll.setChecked(true);
    form.TxtLVCode.setText("000042");
    editor.CmdLVSave_Click();
    choose(1);
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(5), "TRUE,000042,A");
    EXPECT_EQ(stored(2), "TRUE,222222,A");
    EXPECT_EQ(logEvents(), (std::vector<std::string>{"Berechtigungen Level 5 (Supervisor) geaendert.",
                                                     "Berechtigungen Level 2 geaendert."}));
    // Each save seals afresh: the stored texts are cipher text, never the plain list.
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI").find("222222"), std::string::npos);
}

TEST_F(LevelEditorFixture, AReleasedLevelWithoutCodeIsRefusedAndNothingIsWritten) {
    const std::string before = inst.readFile("ANLAGE99_COPY.INI");
    editor.CmdLVSave_Click();  // nothing chosen yet: nothing happens
    EXPECT_TRUE(inst.dialogs.shown.empty());
    choose(1);
    form.TxtLVCode.clear();
    editor.CmdLVSave_Click();
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().text, "Bitte geben Sie einen Code ein.");
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(inst.dialogs.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), before);
    EXPECT_FALSE(inst.exists("log/06122026.log"));
}

TEST_F(LevelEditorFixture, TheSaveGoesToTheChosenLevelEvenAfterAnotherEditorUsedTheSettings) {
    choose(1);
    program.InitX.read("Schnittstellen", "COM1");  // the interface editor in between
    form.TxtLVCode.setText("232323");
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(2), "TRUE,232323,A");
    EXPECT_EQ(program.InitX.read("Schnittstellen", "COM1"), "");
}

TEST_F(LevelEditorFixture, ASaveThatCannotBeWrittenSaysSoAndLogsNothing) {
    choose(1);
    fs.refusing = true;
    editor.CmdLVSave_Click();
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_FALSE(inst.exists("log/06122026.log"));
    fs.refusing = false;
    EXPECT_EQ(stored(2), "TRUE,222222,A");
}

TEST_F(LevelEditorFixture, EnteringTheCodeFieldPutsTheCaretFirst) {
    form.TxtLVCode.setSelStart(4);
    editor.TxtLVCode_GotFocus();
    EXPECT_EQ(form.TxtLVCode.selStart(), 0);
}

TEST_F(LevelEditorFixture, ACodeOfAnotherLevelOrWithFewerThanSixDigitsIsRefused) {
    std::vector<std::string> notices;
    program.statusNotice = [&notices](const std::string& text) { notices.push_back(text); };
    const std::string before = inst.readFile("ANLAGE99_COPY.INI");
    choose(3);
    for (const char* code : {"222222", "999999", "12222"}) {
        form.TxtLVCode.setText(code);
        editor.CmdLVSave_Click();
    }
    EXPECT_EQ(
        inst.dialogs.texts(),
        (std::vector<std::string>{
            "Dieser Code gehört bereits zu \"Level 2\". Jede Berechtigungsstufe braucht ihren eigenen Code.",
            "Dieser Code gehört bereits zu \"Level 5 (Supervisor)\". Jede Berechtigungsstufe braucht ihren "
            "eigenen Code.",
            "Der Code muss sechs Ziffern haben. Bitte füllen Sie alle sechs Stellen aus."}));
    EXPECT_EQ(inst.readFile("ANLAGE99_COPY.INI"), before);
    EXPECT_TRUE(notices.empty());

    // A level keeps its own code; the code of a level that is not released is free.
    choose(1);
    editor.CmdLVSave_Click();
    choose(3);
    form.TxtLVCode.setText("111111");
    editor.CmdLVSave_Click();
    EXPECT_EQ(stored(4), "TRUE,111111,A");  // kind "N" left the option of level 2 chosen
    EXPECT_EQ(notices, (std::vector<std::string>{"Gespeichert: Level 2", "Gespeichert: Level 4"}));
}

}  // namespace
}  // namespace pnl
