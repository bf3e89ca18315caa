#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "setup_fixture.h"
#include "ui/fr_bewo_view.h"
#include "ui/fr_levels_view.h"
#include "ui/frm_copyright_window.h"
#include "ui/masked_line_edit.h"

namespace pnl::test {
namespace {

using SetupWindow = SetupFixture;

struct Rights {
    bool interfaces, residents, levels, stationTab, serials, newAndDelete;
    bool operator==(const Rights&) const = default;
};

// Starts a fresh program with the code (or the command-line level) and reads what the user may use.
Rights rightsOf(const QString& code, int commandLineLevel = 0) {
    FreshRun<SetupFixture> run;
    run.setup->start(commandLineLevel);
    if (commandLineLevel == 0)
        run.enterCode(code);
    EXPECT_TRUE(run.mainWindow()->isVisible());
    const FrmSetup& form = run.setup->setupForm();
    EXPECT_TRUE(run.menuEnabled(kPnlxxx) && run.menuEnabled(kInfo) && run.menuEnabled(kBeenden));
    return Rights{run.menuEnabled(kSchnittstelle),
                  run.menuEnabled(kDatensaetze),
                  run.menuEnabled(kBerechtigungen),
                  form.SSTabBewo.tabs()[1].enabled,
                  form.TxtBWSnr.enabled() && form.txtBwtSnr.enabled(),
                  form.CmdBWNeu.enabled() && form.CmdBWDel.enabled()};
}

TEST(SetupWindowRights, EachKindEnablesExactlyItsElements) {
    EXPECT_EQ(rightsOf("555555"), (Rights{true, true, true, true, true, true}));       // "P"
    EXPECT_EQ(rightsOf("333333"), (Rights{true, true, false, true, true, true}));      // "A"
    EXPECT_EQ(rightsOf("111111"), (Rights{false, true, false, false, false, false}));  // "B"
    EXPECT_EQ(rightsOf("", 5), (Rights{false, true, true, true, true, true}));  // command line: no interfaces
    EXPECT_EQ(rightsOf("", 6), (Rights{false, true, true, true, true, true}));
}

TEST_F(SetupWindow, MenuCommandsShowTheirPagesAndTheStatusBarFollowsTheClock) {
    setup->start(6);
    EXPECT_FALSE(password()->isVisible());  // not shown on a command-line start
    EXPECT_EQ(panel(1), "Level 6");
    EXPECT_EQ(panel(4), "Bewohner: 41");
    EXPECT_EQ(panel(5), "09:30");
    EXPECT_EQ(mainWindow()->statusPanels()->panel(4)->toolTip(), "Anzahl der verfügbaren Bewohnerdatensätze");
    inst.loop.advance(1000);
    ASSERT_TRUE(program().DataBewo->exec("INSERT INTO BEWOHNER (Name, Vorname, Wnr) VALUES (?, ?, ?)",
                                         {std::string("Neumann"), std::string("Nina"), std::string("A099")}));
    inst.loop.advance(9000);  // 09:30:10
    EXPECT_EQ(panel(4), "Bewohner: 42");
    inst.loop.advance(50000);
    EXPECT_EQ(panel(5), "09:31");

    auto* residents = mainWindow()->findChild<ui::FrBewoView*>();
    residents->tabs()->setCurrentIndex(1);
    choose(kBerechtigungen);
    EXPECT_FALSE(residents->isVisible());
    choose(kDatensaetze);  // opens on the first tab
    EXPECT_TRUE(residents->isVisible());
    EXPECT_EQ(residents->tabs()->currentIndex(), 0);

    choose(kBerechtigungen);
    EXPECT_TRUE(setup->levelsView()->isVisible());
    choose(kPnlxxx);  // the transfer dialog leaves the page as it is
    EXPECT_TRUE(setup->levelsView()->isVisible());
    EXPECT_TRUE(setup->transferForm().visible());

    choose(kInfo);
    EXPECT_EQ(infoShown, 1);
    EXPECT_EQ(setup->infoWindow()->versionLabel()->text(), "Version: 2.014");
    // The real dialog is modal and closes with its button.
    QTimer::singleShot(0, [this] { QTest::mouseClick(setup->infoWindow()->okButton(), Qt::LeftButton); });
    EXPECT_EQ(setup->infoWindow()->exec(), QDialog::Accepted);
}

TEST_F(SetupWindow, ClosingTheWindowAsksTheShutdownQuestion) {
    setup->start(5);
    const std::string settingsBefore = inst.readFile("ANLAGE99.INI");
    inst.dialogs.answer(MsgAnswer::Cancel);
    mainWindow()->close();
    EXPECT_EQ(inst.dialogs.last().title, "Änderungen speichern");
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_FALSE(setup->ended());

    inst.dialogs.answer(MsgAnswer::No);
    choose(kBeenden);
    EXPECT_FALSE(mainWindow()->isVisible());
    EXPECT_TRUE(setup->ended());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
}

TEST_F(SetupWindow, TheLevelEditorSavesWhatTheUserSets) {
    setup->start(5);
    choose(kBerechtigungen);
    ui::FrLevelsView* page = setup->levelsView();
    ASSERT_TRUE(page->isVisible());
    EXPECT_EQ(page->title(), "Berechtigungen");

    page->levelList()->setCurrentIndex(2);
    emit page->levelList()->activated(2);  // the user chooses "Level 3"
    EXPECT_EQ(page->codeField()->text(), "333333");
    EXPECT_TRUE(page->allOption()->isChecked());
    EXPECT_TRUE(page->releasedBox()->isEnabled());

    QTest::mouseClick(page->residentsOption(), Qt::LeftButton);
    EXPECT_FALSE(page->allOption()->isChecked());
    QTest::mouseClick(page->releasedBox(), Qt::LeftButton);
    QTest::mouseClick(page->saveButton(), Qt::LeftButton);
    EXPECT_EQ(storedLevel(3), "FALSE,,B");

    QTest::mouseClick(page->releasedBox(), Qt::LeftButton);
    page->codeField()->selectAll();
    QTest::keyClicks(page->codeField(), "12ab34");  // the mask takes digits only
    EXPECT_EQ(page->codeField()->displayText(), "1234__");
    EXPECT_EQ(setup->setupForm().TxtLVCode.text(), "1234");
    QTest::keyClicks(page->codeField(), "56");
    QTest::mouseClick(page->saveButton(), Qt::LeftButton);
    EXPECT_EQ(storedLevel(3), "TRUE,123456,B");

    page->levelList()->setCurrentIndex(0);
    emit page->levelList()->activated(0);
    EXPECT_FALSE(page->releasedBox()->isEnabled());
    EXPECT_TRUE(page->releasedBox()->isChecked());
}

}  // namespace
}  // namespace pnl::test
