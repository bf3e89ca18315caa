#include "app/access_codes.h"

#include <gtest/gtest.h>

#include <map>

#include "app/program.h"
#include "app/records.h"
#include "forms/frm_pwd.h"
#include "forms/frm_setup.h"
#include "support/installation.h"

namespace pnl {
namespace {

// Writes plain level records, encrypted, into a settings file of the installation.
void writeLevels(test::Installation& inst, const std::string& file,
                 const std::map<int, std::string>& records) {
    SettingsFile settings(inst.fs);
    settings.setFileName(inst.path(file));
    for (const auto& [level, plain] : records) {
        settings.setSection("Berechtigungen");
        settings.setKey("LEVEL" + std::to_string(level));
        ASSERT_TRUE(writeEncrypted(settings, plain));
    }
}

struct PasswordFixture : ::testing::Test {
    PasswordFixture() : dialog(program(), form) {
        dialog.seams.startUp = [this] {
            startedAt.push_back(program().UserLevel);
            return startUpRuns;
        };
        dialog.seams.endProgram = [this] { ++ends; };
    }
    void SetUp() override {
        writeLevels(inst, "ANLAGE99.INI",
                    {{1, "TRUE,111111,B"},
                     {2, "TRUE,222222,A"},
                     {3, "FALSE,333333,P"},
                     {4, "TRUE,222222,P"},
                     {5, "TRUE,555555,N"},
                     {6, "TRUE,666666,"}});
        dialog.Form_Load();
    }
    Program& program() { return *inst.program; }
    // Types the entry and presses Enter, as the user does.
    void enter(const std::string& code) {
        form.TxtPwd.setText(code);
        for (char c : code)
            dialog.Form_KeyPress(static_cast<unsigned char>(c));
        dialog.Form_KeyPress(13);
    }

    test::Installation inst;
    FrmPwd form;
    PasswordDialog dialog;
    std::vector<int> startedAt;
    bool startUpRuns = true;
    int ends = 0;
};

TEST_F(PasswordFixture, OpeningShowsThePromptAndClearsTheCount) {
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(form.LblPwd.caption(), "Bitte geben Sie Ihren\n\rZugangscode ein!");
    EXPECT_EQ(program().UserLevel, 0);
}

TEST_F(PasswordFixture, ThreeWrongCodesEndTheProgramSilently) {
    enter("123456");
    enter("123456");
    EXPECT_EQ(program().UserLevel, 2);
    EXPECT_TRUE(dialog.open());
    EXPECT_EQ(form.TxtPwd.text(), "123456");  // the entry stays for another try
    enter("654321");
    EXPECT_FALSE(dialog.open());
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(startedAt.empty());
    EXPECT_TRUE(inst.dialogs.shown.empty());
}

TEST_F(PasswordFixture, TwoWrongCodesThenARightOneAdmit) {
    enter("1");
    form.TxtPwd.setText("2");
    dialog.CmdPwdOk_Click();
    enter("111111");
    EXPECT_EQ(startedAt, std::vector<int>{1});
    EXPECT_EQ(program().UserLevel, 1);
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(form.LblPwd.caption(), "Code Ok!\n\rProgramm wird geladen!");
}

TEST_F(PasswordFixture, AnEmptyEntryIsNoTry) {
    for (int i = 0; i < 5; ++i)
        dialog.Form_KeyPress(13);
    dialog.CmdPwdOk_Click();
    EXPECT_EQ(program().UserLevel, 0);
    EXPECT_TRUE(dialog.open());
    enter("1");
    enter("2");
    EXPECT_TRUE(dialog.open());
}

TEST_F(PasswordFixture, TheMasterCodeInLowerCaseGivesLevelSixAfterItsBox) {
    inst.dialogs.whileShown = [this](const Message&) {
        EXPECT_TRUE(startedAt.empty());  // the box comes before the start
        inst.loop.advance(60000);        // a user who leaves the box open is not thrown out
    };
    enter("orion nebel");
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    const Message& box = inst.dialogs.last();
    EXPECT_EQ(box.text, "Möge die Macht mit Euch sein");
    EXPECT_EQ(box.title, "PNL Fernwartung");
    EXPECT_EQ(box.icon, MsgIcon::None);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(startedAt, std::vector<int>{6});
    EXPECT_EQ(ends, 0);
}

TEST_F(PasswordFixture, TwentySecondsWithoutAKeyEndTheProgram) {
    inst.loop.advance(15000);
    dialog.Form_KeyPress('4');  // any key restarts the countdown
    inst.loop.advance(19999);
    EXPECT_TRUE(dialog.open());
    inst.loop.advance(1);
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.loop.pendingTimers(), 0);
}

TEST_F(PasswordFixture, CancelAndTheCloseBoxEndTheProgram) {
    dialog.CmdPwdCancel_Click();
    EXPECT_EQ(ends, 1);
    dialog.Form_Unload();  // already closed: no second end
    EXPECT_EQ(ends, 1);
}

TEST_F(PasswordFixture, AFailedStartUpEndsTheProgram) {
    startUpRuns = false;
    enter("222222");
    EXPECT_EQ(startedAt, std::vector<int>{2});
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.loop.pendingTimers(), 0);
}

TEST_F(PasswordFixture, OnlyEnabledLevelsWithRightsMatchTheCodeAsText) {
    // Level 3 is not released, level 5 has kind "N", level 6 an empty kind.
    for (const char* wrong : {"333333", "555555", "666666", "0111111", "111111 ", "ORION  NEBEL"})
        EXPECT_EQ(MatchAccessCode(program(), wrong).kind, CodeMatch::Kind::Wrong) << wrong;
    // The same code in levels 2 and 4: the lower level wins.
    EXPECT_EQ(MatchAccessCode(program(), "222222").level, 2);
    EXPECT_EQ(MatchAccessCode(program(), "Orion Nebel").kind, CodeMatch::Kind::Master);
    // The dialog reads the original settings file, never the working copy.
    writeLevels(inst, "ANLAGE99_COPY.INI", {{1, "TRUE,999999,P"}});
    program().InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
    EXPECT_EQ(MatchAccessCode(program(), "999999").kind, CodeMatch::Kind::Wrong);
    writeLevels(inst, "ANLAGE99.INI", {{6, "TRUE,666666,P"}});
    EXPECT_EQ(MatchAccessCode(program(), "666666").level, 6);
    // A kind written in lower case: "n" has no rights, exactly as "N".
    writeLevels(inst, "ANLAGE99.INI", {{6, "TRUE,666666,n"}});
    EXPECT_EQ(MatchAccessCode(program(), "666666").kind, CodeMatch::Kind::Wrong);
}

TEST_F(PasswordFixture, AnUndecryptableRecordDoesNotMatch) {
    SettingsFile settings(inst.fs);
    settings.setFileName(inst.path("ANLAGE99.INI"));
    ASSERT_TRUE(settings.write("Berechtigungen", "LEVEL1", "TRUE,111111,B"));  // plain text, not sealed
    EXPECT_EQ(MatchAccessCode(program(), "111111").kind, CodeMatch::Kind::Wrong);
}

struct RightsFixture : ::testing::Test {
    void SetUp() override {
        writeLevels(inst, "ANLAGE99_COPY.INI",
                    {{1, "TRUE,1,B"}, {2, "TRUE,2,A"}, {3, "TRUE,3,P"}, {4, "TRUE,4,b"}, {5, "TRUE,5,N"}});
        inst.program->InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
    }
    // The enabled state of every element the rights decide, in the order of the rights table.
    std::vector<bool> rightsAt(int level, bool fromCommandLine) {
        FrmSetup form;
        inst.program->UserLevel = static_cast<std::uint8_t>(level);
        inst.program->StartedWithLevel = fromCommandLine;
        ApplyLevelRights(*inst.program, form);
        EXPECT_TRUE(form.Pnl.enabled() && form.Info.enabled() && form.Ende.enabled());
        return {form.PCCOM.enabled(),     form.Bewo.enabled(),
                form.Passwords.enabled(), form.SSTabBewo.tabs()[1].enabled,
                form.TxtBWSnr.enabled(),  form.txtBwtSnr.enabled(),
                form.CmdBWDel.enabled(),  form.CmdBWNeu.enabled()};
    }
    test::Installation inst;
};

TEST_F(RightsFixture, TheKindOfTheLevelEnablesExactlyItsElements) {
    const std::vector<bool> all(8, true);
    EXPECT_EQ(rightsAt(3, false), all);  // "P"
    EXPECT_EQ(rightsAt(2, false),
              (std::vector<bool>{true, true, false, true, true, true, true, true}));  // "A"
    const std::vector<bool> residentsOnly{false, true, false, false, false, false, false, false};
    EXPECT_EQ(rightsAt(1, false), residentsOnly);  // "B"
    EXPECT_EQ(rightsAt(4, false), residentsOnly);  // "b" gives no more than "B"
    EXPECT_EQ(rightsAt(5, false), all);            // "N"
    EXPECT_EQ(rightsAt(6, false), all);            // level 6 without a record
}

TEST_F(RightsFixture, ACommandLineStartAlsoDisablesTheInterfaceMenu) {
    EXPECT_EQ(rightsAt(3, true), (std::vector<bool>{false, true, true, true, true, true, true, true}));
    EXPECT_EQ(rightsAt(6, true), (std::vector<bool>{false, true, true, true, true, true, true, true}));
    EXPECT_EQ(rightsAt(1, true), (std::vector<bool>{false, true, false, false, false, false, false, false}));
}

}  // namespace
}  // namespace pnl
