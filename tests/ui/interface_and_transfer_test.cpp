// The interface window and the transfer dialog, driven as the user does.

#include <QApplication>
#include <QHeaderView>
#include <QProgressBar>

#include "forms/frm_com.h"
#include "setup_fixture.h"

namespace pnl::test {
namespace {

// The user picks an entry of a drop-down list.
void pick(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

using InterfaceWindow = SetupFixture;

TEST_F(InterfaceWindow, LaidOverTheMainWindowAStationIsSavedAndProbedThenTheModemPage) {
    setup->start(0);
    enterCode("555555");  // a level of kind "P"
    mainWindow()->move(40, 30);
    mainWindow()->resize(900, 700);
    choose(kSchnittstelle);
    auto* view = mainWindow()->findChild<ui::FrmComView*>();
    ASSERT_TRUE(view && view->isVisible());
    const QRect main = mainWindow()->frameGeometry();
    // Below the main window's menu bar (the offscreen platform adds its own frame to the size).
    EXPECT_EQ(view->frameGeometry().topLeft(), QPoint(main.left() + 2, main.top() + 50));
    EXPECT_EQ(view->focusWidget(), view->portList());
    EXPECT_EQ(view->portList()->count(), 2);
    EXPECT_FALSE(view->pages()->isVisible());
    EXPECT_FALSE(view->testButton()->isEnabled());
    // Before a port is chosen the lists sit at the top, under their labels, not spread over the window.
    QApplication::processEvents();
    EXPECT_LT(view->portList()->mapTo(view, QPoint(0, 0)).y(), view->height() / 4);

    pick(view->portList(), "COM1");
    EXPECT_EQ(view->deviceList()->currentText(), "PNLXX Abgleich");
    EXPECT_TRUE(view->pages()->isVisible());
    for (int tab = 0; tab < 6; ++tab)
        EXPECT_EQ(view->pages()->isTabVisible(tab), tab == FrmCOM::kStationTab);
    EXPECT_EQ(view->pages()->currentIndex(), FrmCOM::kStationTab);
    EXPECT_EQ(view->stationList()->count(), 3);
    EXPECT_TRUE(view->testButton()->isEnabled());
    EXPECT_EQ(tabWalk(view->portList(), 5),
              (std::vector<QWidget*>{view->deviceList(), view->testButton(), view->saveButton(),
                                     view->pages()->tabBar(), view->stationList()}));

    QTest::mouseClick(view->newStationButton(), Qt::LeftButton);
    pick(view->typeList(), "PNL-C");
    QTest::keyClicks(view->labelField(), "Hof");
    QTest::keyClicks(view->serialField(), "4711");
    QTest::mouseClick(view->saveStationButton(), Qt::LeftButton);
    EXPECT_EQ(program().InitX.read("PNLXXX", "PNL03"), "PNL-C,Hof,4711,,FALSE");
    EXPECT_EQ(view->stationList()->currentText(), "Hof");

    inst.serial.onOutput = [this](const std::string& bytes) {
        if (bytes == std::string("\x01*0000\x04"))
            inst.serial.deliver("?*23456789012345678", 50);
    };
    QTest::mouseClick(view->testButton(), Qt::LeftButton);
    EXPECT_EQ(inst.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 4711\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_EQ(inst.serial.allSent(), std::string("\x01(00126701\x04\x01*0000\x04\x01(00126700\x04"));
    EXPECT_TRUE(view->testButton()->isEnabled());
    EXPECT_TRUE(view->portList()->isEnabled());
    EXPECT_FALSE(inst.serial.isOpen());

    QTest::mouseClick(view->modemBox(), Qt::LeftButton);
    EXPECT_TRUE(view->pages()->isTabVisible(FrmCOM::kModemTab));
    EXPECT_FALSE(view->testButton()->isEnabled());
    EXPECT_FALSE(view->phoneField()->isHidden());
    QTest::mouseClick(view->modemBox(), Qt::LeftButton);
    EXPECT_FALSE(view->pages()->isTabVisible(FrmCOM::kModemTab));
    EXPECT_TRUE(view->phoneField()->isHidden());

    pick(view->deviceList(), "Kein Gerät");
    EXPECT_FALSE(view->pages()->isVisible());
    EXPECT_FALSE(view->testButton()->isEnabled());

    QTest::keyClick(view->portList(), Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(setup->interfaceForm().visible());
    choose(kSchnittstelle);
    choose(kDatensaetze);  // the resident page closes the window
    EXPECT_FALSE(view->isVisible());
}

// Open it, walk it with Tab, tick a station, start, try to close it.
using TransferWindowTest = SetupFixture;

TEST_F(TransferWindowTest, EnterStartsNothingAndARunCannotBeClosed) {
    setup->start(5);
    program().DataBewo->exec("UPDATE BEWOHNER SET PNL = ? WHERE Wnr LIKE 'A%'", {"1" + std::string(63, '0')});
    choose(kPnlxxx);
    ui::FrmPnlView* dialog = setup->transferWindow();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QString("Datenübertragung zur PNL"));
    QTreeWidget* tree = dialog->stationTree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QString("Haupteingang"));
    EXPECT_EQ(tree->toolTip(),
              QString("Wählen Sie hier bitte die PNLXXX aus, zu denen ein Transfer stattfinden soll."));
    EXPECT_FALSE(dialog->progressBar()->isVisible());
    EXPECT_EQ(dialog->focusWidget(), tree);
    EXPECT_EQ(tabWalk(tree, 7),
              (std::vector<QWidget*>{dialog->stateList(), dialog->lineList(), dialog->presenceCheck(),
                                     dialog->allButton(), dialog->changedButton(), dialog->startButton(),
                                     dialog->cancelButton()}));

    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    tree->setFocus();
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
    QTest::keyClick(tree, Qt::Key_Return);  // the dialog has no default button
    EXPECT_TRUE(inst.serial.sent.empty());
    int checksDuringRun = 0;
    inst.dialogs.answer(MsgAnswer::No);  // Escape asks whether to stop after this station: no
    inst.loop.post(26000, [&] {
        ++checksDuringRun;
        dialog->close();
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(!tree->isEnabled() && !dialog->startButton()->isEnabled() &&
                    dialog->cancelButton()->isEnabled() && !dialog->allButton()->isEnabled());
        EXPECT_TRUE(mainWindow()->isEnabled() && menuEnabled(kDatensaetze));
        EXPECT_TRUE(dialog->progressBar()->isVisible());
        EXPECT_GT(dialog->progressBar()->value(), 0);
        EXPECT_LT(dialog->progressBar()->value(), 100);
        EXPECT_TRUE(dialog->statusLine()->text().startsWith("PNL 1 von 1: Haupteingang – Datensatz "))
            << dialog->statusLine()->text().toStdString();
    });
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    EXPECT_EQ(checksDuringRun, 1);
    EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(inst.serial.sent.size(), 1u + 20u * 7u + 2u);
    ASSERT_EQ(inst.dialogs.shown.size(), 2u);
    EXPECT_EQ(inst.dialogs.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_NE(inst.dialogs.last().text.find("PNL00 Haupteingang: mit 20 Bewohnern übertragen in 0:1"),
              std::string::npos);

    // The lines of the station stay in the list; the access code has a column of its own.
    QTreeWidget* lines = dialog->lineList();
    ASSERT_EQ(lines->topLevelItemCount(), 20);
    EXPECT_EQ(lines->headerItem()->text(4), QString("Code"));
    const auto anna = lines->findItems(QString("Müller, Anna"), Qt::MatchExactly, 0);
    ASSERT_EQ(anna.size(), 1);
    EXPECT_EQ(anna.front()->text(1), QString("A001"));
    EXPECT_EQ(anna.front()->text(4), QString("1234"));

    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(setup->transferForm().visible());
}

}  // namespace
}  // namespace pnl::test
