// Keyboard use of the windows: the field that has the focus when a page or window opens, the order in which
// Tab walks the fields (top to bottom, left to right), and Enter in the transfer dialog.

#include <QComboBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <vector>

#include "setup_fixture.h"
#include "ui/fr_bewo_view.h"
#include "ui/fr_levels_view.h"
#include "ui/frm_com_view.h"
#include "ui/frm_pnl_view.h"

#include <QCheckBox>
#include "ui/masked_line_edit.h"

namespace pnl::test {
namespace {

using KeyboardOrder = SetupFixture;

// The widgets that Tab reaches after `start`, one per press.
std::vector<QWidget*> tabWalk(QWidget* start, std::size_t presses) {
    start->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> walk;
    while (walk.size() < presses) {
        QTest::keyClick(start->window()->focusWidget(), Qt::Key_Tab);
        walk.push_back(start->window()->focusWidget());
    }
    return walk;
}

TEST_F(KeyboardOrder, PagesOpenOnTheirFirstFieldAndTabFollowsTheLayout) {
    setup->start(0);
    enterCode("555555");

    choose(kDatensaetze);
    auto* residents = mainWindow()->findChild<ui::FrBewoView*>();
    ASSERT_TRUE(residents);
    EXPECT_EQ(mainWindow()->focusWidget(), residents->residentList());
    EXPECT_EQ(tabWalk(residents->residentList(), 8),
              (std::vector<QWidget*>{residents->tabs()->tabBar(), residents->nameField(),
                                     residents->firstNameField(), residents->serialField(),
                                     residents->secondSerialField(), residents->codeField(),
                                     residents->newButton(), residents->deleteButton()}));
    residents->tabs()->setCurrentIndex(1);
    EXPECT_EQ(tabWalk(residents->residentList(), 5),
              (std::vector<QWidget*>{residents->tabs()->tabBar(), residents->apartmentField(),
                                     residents->stationTree(), residents->allStationsButton(),
                                     residents->noStationsButton()}));

    // Opened while a field of another page had the focus.
    choose(kBerechtigungen);
    EXPECT_EQ(mainWindow()->focusWidget(), setup->levelsView()->levelList());
    choose(kDatensaetze);
    EXPECT_EQ(mainWindow()->focusWidget(), residents->residentList());

    choose(kSchnittstelle);
    auto* interfaces = mainWindow()->findChild<ui::FrmComView*>();
    ASSERT_TRUE(interfaces);
    EXPECT_EQ(interfaces->focusWidget(), interfaces->portList());
    interfaces->portList()->setCurrentIndex(0);
    emit interfaces->portList()->activated(0);
    EXPECT_EQ(
        tabWalk(interfaces->portList(), 5),
        (std::vector<QWidget*>{interfaces->deviceList(), interfaces->testButton(), interfaces->saveButton(),
                               interfaces->pages()->tabBar(), interfaces->stationList()}));
}

TEST_F(KeyboardOrder, TheTransferDialogHasNoDefaultButtonAndEnterInTheTreeStartsNothing) {
    setup->start(5);
    choose(kPnlxxx);
    ui::FrmPnlView* dialog = setup->transferWindow();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), dialog->stationTree());
    EXPECT_EQ(tabWalk(dialog->stationTree(), 7),
              (std::vector<QWidget*>{dialog->stateList(), dialog->lineList(), dialog->presenceCheck(),
                                     dialog->allButton(), dialog->changedButton(), dialog->startButton(),
                                     dialog->cancelButton()}));
    EXPECT_FALSE(dialog->startButton()->isDefault());

    dialog->stationTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    dialog->stationTree()->setFocus();
    QTest::keyClick(dialog->stationTree(), Qt::Key_Return);
    EXPECT_TRUE(inst.serial.sent.empty());
    EXPECT_TRUE(dialog->isVisible());

    // Idle, Escape closes it.
    QTest::keyClick(dialog->stationTree(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace pnl::test
