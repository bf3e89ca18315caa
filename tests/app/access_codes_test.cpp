#include "app/access_codes.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "app_fixture.h"
#include "forms/frm_pwd.h"
#include "forms/frm_setup.h"

namespace pnl {
namespace {

struct PasswordFixture : ::testing::Test {
    PasswordFixture() : dialog(program(), form) {
        dialog.seams.startUp = [this] {
            startedAt.push_back(program().UserLevel);
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

TEST_F(PasswordFixture, WrongCodesSaySoAndTheThirdEndsTheProgramAfterABoxThatClosesItself) {
    EXPECT_EQ(form.LblPwd.caption(), "Bitte geben Sie Ihren\n\rZugangscode ein!");
    for (int i = 0; i < 5; ++i)  // an empty entry is no try
        dialog.Form_KeyPress(13);
    dialog.CmdPwdOk_Click();
    EXPECT_EQ(program().UserLevel, 0);
    enter("123456");
    EXPECT_EQ(form.LblPwd.caption(), "Zugangscode falsch – noch 2 Versuche");
    enter("123456");
    EXPECT_EQ(form.LblPwd.caption(), "Zugangscode falsch – noch 1 Versuch");
    EXPECT_EQ(program().UserLevel, 2);
    EXPECT_TRUE(dialog.open());
    EXPECT_EQ(form.TxtPwd.text(), "");  // cleared for the next try
    inst.dialogs.whileShown = [this](const Message&) { EXPECT_EQ(ends, 0); };
    enter("654321");
    EXPECT_FALSE(dialog.open());
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(startedAt.empty());
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().text,
              "Der Zugangscode wurde dreimal falsch eingegeben. Das Programm wird beendet.");
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
    dialog.CmdPwdCancel_Click();
    EXPECT_EQ(ends, 1);
    dialog.Form_Unload();  // already closed: no second end
    EXPECT_EQ(ends, 1);

    dialog.Form_Load();
    startUpRuns = false;
    enter("222222");
    EXPECT_EQ(form.LblPwd.caption(), "Code Ok!\n\rProgramm wird geladen!");
    EXPECT_EQ(startedAt, std::vector<int>{2});
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(inst.loop.pendingTimers(), 0);

    dialog.Form_Load();
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
    program().InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
    EXPECT_EQ(MatchAccessCode(program(), "999999").kind, CodeMatch::Kind::Wrong);
    test::writeLevels(inst.fs, inst.path("ANLAGE99.INI"), {{6, "TRUE,666666,P"}});
    EXPECT_EQ(MatchAccessCode(program(), "666666").level, 6);
    // A kind written in lower case: "n" has no rights, exactly as "N".
    test::writeLevels(inst.fs, inst.path("ANLAGE99.INI"), {{6, "TRUE,666666,n"}});
    EXPECT_EQ(MatchAccessCode(program(), "666666").kind, CodeMatch::Kind::Wrong);
    // A record in plain text, not sealed, does not match.
    ASSERT_TRUE(program().InitPwd.write("Berechtigungen", "LEVEL1", "TRUE,111111,B"));
    EXPECT_EQ(MatchAccessCode(program(), "111111").kind, CodeMatch::Kind::Wrong);
}

TEST(LevelRights, TheKindOfTheLevelAndACommandLineStartEnableExactlyTheirElements) {
    test::Installation inst;
    test::writeLevels(inst.fs, inst.path("ANLAGE99_COPY.INI"),
                      {{1, "TRUE,1,B"}, {2, "TRUE,2,A"}, {3, "TRUE,3,P"}, {4, "TRUE,4,b"}, {5, "TRUE,5,N"}});
    inst.program->InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
    struct Case {
        int level;
        bool fromCommandLine;
        // "1" for each element enabled: Schnittstelle, Datensätze, Berechtigungen, the second resident tab,
        // both serial number fields, "Löschen", "Neu".
        std::string enabled;
    };
    for (const Case& c : std::vector<Case>{{3, false, "11111111"},  // "P"
                                           {2, false, "11011111"},  // "A"
                                           {1, false, "01000000"},  // "B"
                                           {4, false, "01000000"},  // "b" gives no more than "B"
                                           {5, false, "11111111"},  // "N"
                                           {6, false, "11111111"},  // level 6 without a record
                                           {3, true, "01111111"},   // a level from the command line
                                           {6, true, "01111111"},
                                           {1, true, "01000000"}}) {
        FrmSetup form;
        inst.program->UserLevel = static_cast<std::uint8_t>(c.level);
        inst.program->StartedWithLevel = c.fromCommandLine;
        ApplyLevelRights(*inst.program, form);
        EXPECT_TRUE(form.Pnl.enabled() && form.Info.enabled() && form.Ende.enabled());
        std::string enabled;
        for (bool on : {form.PCCOM.enabled(), form.Bewo.enabled(), form.Passwords.enabled(),
                        form.SSTabBewo.tabs()[1].enabled, form.TxtBWSnr.enabled(), form.txtBwtSnr.enabled(),
                        form.CmdBWDel.enabled(), form.CmdBWNeu.enabled()})
            enabled += on ? '1' : '0';
        EXPECT_EQ(enabled, c.enabled)
            << "level " << c.level << (c.fromCommandLine ? " from the command line" : "");
    }
}

}  // namespace
}  // namespace pnl
