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

TEST(SetupWindowRights, TheKindOfTheLevelEnablesMenuCommandsAndResidentFields) {
    struct Case {
        QString code;
        int commandLineLevel;
        bool interfaces, levels, residents;
    };
    const Case cases[] = {{"555555", 0, true, true, true},     // kind "P"
                          {"333333", 0, true, false, true},    // kind "A"
                          {"111111", 0, false, false, false},  // kind "B"
                          {"", 5, false, true, true}};         // a command-line start: no interfaces
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString() + std::to_string(c.commandLineLevel));
        FreshRun<SetupFixture> run;
        run.setup->start(c.commandLineLevel);
        if (c.commandLineLevel == 0)
            run.enterCode(c.code);
        for (MenuCommand always : {kDatensaetze, kPnlxxx, kInfo, kBeenden})
            EXPECT_TRUE(run.menuEnabled(always));
        EXPECT_EQ(run.menuEnabled(kSchnittstelle), c.interfaces);
        EXPECT_EQ(run.menuEnabled(kBerechtigungen), c.levels);
        auto* page = run.mainWindow()->findChild<ui::FrBewoView*>();
        EXPECT_EQ(page->tabs()->isTabEnabled(1), c.residents);
        for (QWidget* field : std::initializer_list<QWidget*>{page->serialField(), page->secondSerialField(),
                                                              page->newButton(), page->deleteButton()})
            EXPECT_EQ(field->isEnabled(), c.residents);
    }
}

TEST_F(SetupWindow, MenuCommandsShowTheirPagesTheStatusBarFollowsTheClockAndClosingAsks) {
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

    // Closing the window asks the shutdown question; "Nein" leaves the settings as they were.
    const std::string settingsBefore = inst.readFile("ANLAGE99.INI");
    inst.dialogs.answer(MsgAnswer::Cancel);
    mainWindow()->close();
    EXPECT_EQ(inst.dialogs.last().title, "Änderungen speichern");
    EXPECT_TRUE(mainWindow()->isVisible());
    inst.dialogs.answer(MsgAnswer::No);
    choose(kBeenden);
    EXPECT_FALSE(mainWindow()->isVisible());
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

    QTest::mouseClick(page->residentsOption(), Qt::LeftButton);
    EXPECT_FALSE(page->allOption()->isChecked());
    QTest::mouseClick(page->releasedBox(), Qt::LeftButton);
    QTest::mouseClick(page->saveButton(), Qt::LeftButton);
    EXPECT_EQ(storedLevel(3), "FALSE,,B");

    QTest::mouseClick(page->releasedBox(), Qt::LeftButton);
    page->codeField()->selectAll();
    QTest::keyClicks(page->codeField(), "12ab34");  // the mask takes digits only
    EXPECT_EQ(page->codeField()->displayText(), "1234__");
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
