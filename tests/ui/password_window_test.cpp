#include <QLabel>

#include "setup_fixture.h"
#include "support/installation.h"

namespace pnl::test {
namespace {

struct PasswordWindow : SetupFixture {
    void SetUp() override {
        SetupFixture::SetUp();
        setup->start(0);
        ASSERT_TRUE(password()->isVisible());
    }
};

TEST_F(PasswordWindow, ShowsItsPromptAndCaption) {
    EXPECT_EQ(password()->windowTitle(), "QBX Setup");
    EXPECT_EQ(password()->prompt()->text(), "Bitte geben Sie Ihren\nZugangscode ein!");
    EXPECT_EQ(password()->okButton()->text(), "&Bestätigen");
    EXPECT_EQ(password()->cancelButton()->text(), "&Abbrechen");
    EXPECT_EQ(password()->codeEntry()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(mainWindow()->isVisible());
}

TEST_F(PasswordWindow, ThreeWrongCodesEndTheProgram) {
    enterCode("999999");
    EXPECT_EQ(password()->codeEntry()->text(), "");  // cleared for the next try
    enterCode("999999");
    EXPECT_TRUE(password()->isVisible());
    QTest::keyClicks(password()->codeEntry(), "999999");
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    EXPECT_FALSE(password()->isVisible());
    EXPECT_FALSE(mainWindow()->isVisible());
    EXPECT_TRUE(setup->ended());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.dialogs.texts(),
              std::vector<std::string>{
                  "Der Zugangscode wurde dreimal falsch eingegeben. Das Programm wird beendet."});
    EXPECT_FALSE(inst.exists("ANLAGE99_COPY.INI"));  // nothing was started
}

TEST_F(PasswordWindow, TwoWrongCodesThenTheRightOneAdmit) {
    enterCode("555");
    enterCode("0555555");
    enterCode("555555");
    EXPECT_FALSE(password()->isVisible());
    ASSERT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(mainWindow()->windowTitle(), "PNL Fernwartung");
    EXPECT_EQ(program().UserLevel, 5);
    EXPECT_EQ(panel(1), "Level 5");
    EXPECT_EQ(panel(4), "Bewohner: 41");
    EXPECT_EQ(panel(5), "09:30");
    EXPECT_FALSE(setup->ended());
}

TEST_F(PasswordWindow, TheMasterCodeInLowerCaseGivesLevelSixAfterItsBox) {
    typeCode("orion nebel");
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().text, "Möge die Macht mit Euch sein");
    EXPECT_EQ(program().UserLevel, 6);
    ASSERT_TRUE(mainWindow()->isVisible());
    EXPECT_TRUE(menuEnabled(kSchnittstelle));
    EXPECT_TRUE(menuEnabled(kBerechtigungen));
    EXPECT_EQ(panel(1), "Level 6");
}

TEST_F(PasswordWindow, AnEmptyEntryIsNoTry) {
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(password()->codeEntry(), Qt::Key_Return);
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    EXPECT_TRUE(password()->isVisible());
    EXPECT_EQ(program().UserLevel, 0);
    enterCode("1");
    enterCode("2");
    EXPECT_TRUE(password()->isVisible());
    QTest::keyClick(password()->codeEntry(), Qt::Key_Escape);  // Escape is "Abbrechen"
    EXPECT_TRUE(setup->ended());
}

TEST_F(PasswordWindow, TwentyIdleSecondsEndTheProgram) {
    inst.loop.advance(12000);
    QTest::keyClick(password()->codeEntry(), Qt::Key_7);
    inst.loop.advance(19999);
    EXPECT_TRUE(password()->isVisible());
    inst.loop.advance(1);
    EXPECT_FALSE(password()->isVisible());
    EXPECT_TRUE(setup->ended());
}

TEST_F(PasswordWindow, TheCloseBoxEndsTheProgram) {
    password()->close();
    EXPECT_TRUE(setup->ended());
    EXPECT_EQ(ends, 1);
}

}  // namespace
}  // namespace pnl::test
