// The transfer dialog driven as the user does: open it, walk it with Tab, tick a station, start, try to close
// it.

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include "setup_fixture.h"
#include "ui/frm_pnl_view.h"

namespace pnl::test {
namespace {

struct TransferWindowTest : SetupFixture {
    ui::FrmPnlView* dialog() { return setup->transferWindow(); }
};

TEST_F(TransferWindowTest, EnterStartsNothingAndARunCannotBeClosed) {
    setup->start(5);
    program().DataBewo->exec("UPDATE BEWOHNER SET PNL = ? WHERE Wnr LIKE 'A%'", {"1" + std::string(63, '0')});
    choose(kPnlxxx);
    ASSERT_TRUE(dialog()->isVisible());
    EXPECT_EQ(dialog()->windowTitle(), QStringLiteral("Datenübertragung zur PNL"));
    QTreeWidget* tree = dialog()->stationTree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Haupteingang"));
    EXPECT_EQ(
        tree->toolTip(),
        QStringLiteral("Wählen Sie hier bitte die PNLXXX aus, zu denen ein Transfer stattfinden soll."));
    EXPECT_FALSE(dialog()->progressBar()->isVisible());
    EXPECT_EQ(dialog()->focusWidget(), tree);
    EXPECT_EQ(tabWalk(tree, 7),
              (std::vector<QWidget*>{dialog()->stateList(), dialog()->lineList(), dialog()->presenceCheck(),
                                     dialog()->allButton(), dialog()->changedButton(),
                                     dialog()->startButton(), dialog()->cancelButton()}));

    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    tree->setFocus();
    EXPECT_FALSE(dialog()->startButton()->isDefault());
    QTest::keyClick(tree, Qt::Key_Return);  // the dialog has no default button
    EXPECT_TRUE(inst.serial.sent.empty());
    bool closedDuringRun = true, lockedDuringRun = false, mainWindowUsable = false;
    int barDuringRun = -1;
    QString statusDuringRun;
    inst.dialogs.answer(MsgAnswer::No);  // Escape asks whether to stop after this station: no
    inst.loop.post(26000, [&] {
        dialog()->close();
        QTest::keyClick(dialog(), Qt::Key_Escape);
        closedDuringRun = !dialog()->isVisible();
        lockedDuringRun = !tree->isEnabled() && !dialog()->startButton()->isEnabled() &&
                          dialog()->cancelButton()->isEnabled() && !dialog()->allButton()->isEnabled();
        statusDuringRun = dialog()->statusLine()->text();
        mainWindowUsable = mainWindow()->isEnabled() && menuEnabled(kDatensaetze);
        barDuringRun = dialog()->progressBar()->isVisible() ? dialog()->progressBar()->value() : -1;
    });
    QTest::mouseClick(dialog()->startButton(), Qt::LeftButton);

    EXPECT_FALSE(closedDuringRun);
    EXPECT_TRUE(lockedDuringRun);
    EXPECT_TRUE(mainWindowUsable);
    EXPECT_GT(barDuringRun, 0);
    EXPECT_LT(barDuringRun, 100);
    EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(inst.serial.sent.size(), 1u + 20u * 7u + 2u);
    EXPECT_TRUE(statusDuringRun.startsWith(QStringLiteral("PNL 1 von 1: Haupteingang – Datensatz ")))
        << statusDuringRun.toStdString();
    ASSERT_EQ(inst.dialogs.shown.size(), 2u);
    EXPECT_EQ(inst.dialogs.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_NE(inst.dialogs.last().text.find("PNL00 Haupteingang: mit 20 Bewohnern übertragen in 0:1"),
              std::string::npos);

    // The lines of the station stay in the list; the access code has a column of its own.
    QTreeWidget* lines = dialog()->lineList();
    ASSERT_EQ(lines->topLevelItemCount(), 20);
    EXPECT_EQ(lines->headerItem()->text(4), QStringLiteral("Code"));
    const auto anna = lines->findItems(QStringLiteral("Müller, Anna"), Qt::MatchExactly, 0);
    ASSERT_EQ(anna.size(), 1);
    EXPECT_EQ(anna.front()->text(1), QStringLiteral("A001"));
    EXPECT_EQ(anna.front()->text(4), QStringLiteral("1234"));

    QTest::mouseClick(dialog()->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_FALSE(setup->transferForm().visible());
}

}  // namespace
}  // namespace pnl::test
