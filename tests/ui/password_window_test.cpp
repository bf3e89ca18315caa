#include <QLabel>

#include "setup_fixture.h"

namespace pnl::test {
namespace {

struct PasswordWindow : SetupFixture {
    void SetUp() override {
        SetupFixture::SetUp();
        setup->start(0);
        ASSERT_TRUE(password()->isVisible());
    }
};

TEST_F(PasswordWindow, EmptyEntriesAreNoTryAndTheMasterCodeAdmitsAfterTwoWrongOnes) {
    EXPECT_EQ(password()->windowTitle(), "QBX Setup");
    EXPECT_EQ(password()->prompt()->text(), "Bitte geben Sie Ihren\nZugangscode ein!");
    EXPECT_EQ(password()->okButton()->text(), "&Bestätigen");
    EXPECT_EQ(password()->cancelButton()->text(), "&Abbrechen");
    EXPECT_EQ(password()->codeEntry()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(mainWindow()->isVisible());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(password()->codeEntry(), Qt::Key_Return);
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    EXPECT_EQ(program().UserLevel, 0);
    enterCode("555");
    EXPECT_EQ(password()->codeEntry()->text(), "");  // cleared for the next try
    enterCode("0555555");
    EXPECT_TRUE(password()->isVisible());

    typeCode("orion nebel");  // the master code, in lower case
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    EXPECT_EQ(inst.dialogs.texts(), std::vector<std::string>{"Möge die Macht mit Euch sein"});
    EXPECT_FALSE(password()->isVisible());
    ASSERT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(mainWindow()->windowTitle(), "PNL Fernwartung");
    EXPECT_EQ(program().UserLevel, 6);
    EXPECT_EQ(panel(1), "Level 6");
    EXPECT_TRUE(menuEnabled(kSchnittstelle) && menuEnabled(kBerechtigungen));
    EXPECT_FALSE(setup->ended());
}

TEST_F(PasswordWindow, ThreeWrongCodesEndTheProgram) {
    for (int i = 0; i < 3; ++i)
        enterCode("999999");
    EXPECT_FALSE(password()->isVisible());
    EXPECT_FALSE(mainWindow()->isVisible());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.dialogs.texts(),
              std::vector<std::string>{
                  "Der Zugangscode wurde dreimal falsch eingegeben. Das Programm wird beendet."});
    EXPECT_FALSE(inst.exists("ANLAGE99_COPY.INI"));  // nothing was started
}

TEST(PasswordWindowEnd, EscapeTheCloseBoxAndTwentyIdleSecondsEachEndTheProgram) {
    const std::vector<std::function<void(SetupFixture&)>> ways = {
        [](SetupFixture& f) { QTest::keyClick(f.password()->codeEntry(), Qt::Key_Escape); },
        [](SetupFixture& f) { f.password()->close(); },
        [](SetupFixture& f) {
            f.inst.loop.advance(12000);
            QTest::keyClick(f.password()->codeEntry(), Qt::Key_7);  // a key press starts the 20 s again
            f.inst.loop.advance(19999);
            EXPECT_FALSE(f.setup->ended());
            f.inst.loop.advance(1);
        }};
    for (std::size_t way = 0; way < ways.size(); ++way) {
        SCOPED_TRACE(way);
        FreshRun<PasswordWindow> run;
        ways[way](run);
        EXPECT_FALSE(run.password()->isVisible());
        EXPECT_EQ(run.ends, 1);
    }
}

}  // namespace
}  // namespace pnl::test
