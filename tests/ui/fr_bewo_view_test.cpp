// The resident page on the sample installation, driven as the user does, keyboard included.

#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "setup_fixture.h"
#include "ui/fr_bewo_view.h"
#include "ui/fr_levels_view.h"
#include "ui/masked_line_edit.h"

namespace pnl::test {
namespace {

using ResidentPage = SetupFixture;

TEST_F(ResidentPage, ShowsTheResidentsAndForwardsTheUsersActions) {
    setup->start(5);
    auto* view = mainWindow()->findChild<ui::FrBewoView*>();
    ASSERT_TRUE(view && view->isVisible());
    // Each page opens on its first field, also when a field of another page had the focus.
    choose(kBerechtigungen);
    EXPECT_EQ(mainWindow()->focusWidget(), setup->levelsView()->levelList());
    choose(kDatensaetze);
    EXPECT_EQ(mainWindow()->focusWidget(), view->residentList());
    EXPECT_EQ(tabWalk(view->residentList(), 8),
              (std::vector<QWidget*>{view->tabs()->tabBar(), view->nameField(), view->firstNameField(),
                                     view->serialField(), view->secondSerialField(), view->codeField(),
                                     view->newButton(), view->deleteButton()}));
    view->tabs()->setCurrentIndex(1);
    EXPECT_EQ(tabWalk(view->residentList(), 5),
              (std::vector<QWidget*>{view->tabs()->tabBar(), view->apartmentField(), view->stationTree(),
                                     view->allStationsButton(), view->noStationsButton()}));

    EXPECT_EQ(view->title(), "Bewohnerdaten");
    EXPECT_TRUE(view->nameMode()->isChecked());
    ASSERT_EQ(view->residentList()->count(), 41);
    EXPECT_EQ(view->residentList()->itemText(0), "Becker, Renate");
    EXPECT_EQ(view->tabs()->tabText(1), "Ort");
    ASSERT_EQ(view->stationTree()->topLevelItemCount(), 3);
    EXPECT_EQ(view->stationTree()->topLevelItem(2)->text(0), "Tiefgarage");
    EXPECT_EQ(view->serialField()->toolTip(), "1. Seriennummer für Türruf");

    // The user picks Anna Müller: the form and the tree follow.
    program().DataBewo->exec("UPDATE BEWOHNER SET PNL = ? WHERE Wnr = 'A001'",
                             {"001" + std::string(61, '0')});
    emit view->residentList()->activated(view->residentList()->findText("Müller, Anna"));
    EXPECT_EQ(view->nameField()->text(), "Müller");
    EXPECT_EQ(view->serialField()->text(), "100101");
    EXPECT_EQ(view->stationTree()->topLevelItem(2)->checkState(0), Qt::Checked);
    EXPECT_EQ(view->stationTree()->topLevelItem(1)->checkState(0), Qt::Unchecked);

    // Another display mode lists the serial numbers.
    view->serialMode()->click();
    EXPECT_EQ(view->residentList()->itemText(0), "100101");
    EXPECT_EQ(view->residentList()->currentIndex(), -1);

    // Typing goes into the form; saving writes the row.
    view->firstNameField()->setText("Anne");
    emit view->firstNameField()->textEdited("Anne");
    view->saveButton()->click();
    const auto rows = program().DataBewo->query("SELECT Vorname FROM BEWOHNER WHERE Wnr = 'A001'");
    EXPECT_EQ(dbText(rows->front().at(0)), "Anne");

    // Rights set on the models disable the widgets.
    setup->setupForm().CmdBWDel.setEnabled(false);
    setup->setupForm().SSTabBewo.setTabEnabled(FrBewoControls::kTabPlace, false);
    EXPECT_FALSE(view->deleteButton()->isEnabled());
    EXPECT_FALSE(view->tabs()->isTabEnabled(1));
}

}  // namespace
}  // namespace pnl::test
