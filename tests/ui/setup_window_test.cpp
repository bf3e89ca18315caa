// The windowed program on a sample installation, on virtual time with scripted message boxes, driven as the
// user does: the password window, the rights, the main window's menu and pages, the interface and transfer
// windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/records.h"
#include "forms/interface_window.h"
#include "platform/collation.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/binders.h"
#include "ui/info_dialog_view.h"
#include "ui/interface_window_view.h"
#include "ui/levels_page_view.h"
#include "ui/main_window_view.h"
#include "ui/masked_line_edit.h"
#include "ui/overview_page_view.h"
#include "ui/password_dialog_view.h"
#include "ui/resident_page_view.h"
#include "ui/setup_application.h"
#include "ui/transfer_dialog_view.h"

namespace pnl::test {
namespace {

// The user picks an entry of a drop-down list.
void pick(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// The menu commands of the main window, left to right.
enum MenuCommand {
    kInterfacesMenu,
    kRecordsMenu,
    kLevelsMenu,
    kTransferMenu,
    kBackupsMenu,
    kInstallationsMenu,
    kInfoMenu,
    kExitMenu
};

struct SetupWindow : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        ui::SetupOptions options;
        options.showProjectInfo = [this] { ++infoShown; };
        setup = std::make_unique<ui::SetupApplication>(
            Platform{inst.fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.devices.services,
            inst.folder.path(), options);
        setup->onEnd = [this] { ++ends; };
    }
    void TearDown() override { setup.reset(); }

    Program& program() { return setup->program(); }
    ui::PasswordDialogView* password() { return setup->passwordWindow(); }
    ui::MainWindowView* mainWindow() { return setup->mainWindowView(); }

    // Replaces the entry by the code and presses Enter.
    void typeCode(const QString& code) {
        QTest::keyClick(password()->codeEntry(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(password()->codeEntry(), Qt::Key_Backspace);
        QTest::keyClicks(password()->codeEntry(), code);
    }
    void enterCode(const QString& code) {
        typeCode(code);
        QTest::keyClick(password()->codeEntry(), Qt::Key_Return);
    }
    void choose(MenuCommand command) { mainWindow()->menuCommand(command)->trigger(); }
    bool menuEnabled(MenuCommand command) { return mainWindow()->menuCommand(command)->isEnabled(); }
    // The widgets that Tab reaches after `start`, one per press.
    static std::vector<QWidget*> tabWalk(QWidget* start, std::size_t presses) {
        start->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> walk;
        while (walk.size() < presses) {
            QTest::keyClick(start->window()->focusWidget(), Qt::Key_Tab);
            walk.push_back(start->window()->focusWidget());
        }
        return walk;
    }
    QString panel(int number) { return mainWindow()->statusPanel(number)->text(); }
    // A level record of the settings working copy, decrypted.
    std::string storedLevel(int level) {
        program().settings.setSection("Berechtigungen");
        program().settings.setKey("LEVEL" + std::to_string(level));
        return readEncrypted(program().settings);
    }

    ui::OverviewPageView* overview() { return setup->overviewView(); }
    QAbstractItemModel* rows() { return overview()->table()->model(); }
    int columnNamed(const QString& header) {
        for (int c = 0; c < rows()->columnCount(); ++c)
            if (rows()->headerData(c, Qt::Horizontal).toString() == header)
                return c;
        return -1;
    }
    std::string stationsOf(const std::string& name) {
        const auto found = program().database()->query("SELECT PNL FROM BEWOHNER WHERE Name = ?", {name});
        return found && !found->empty() ? dbText(found->front().at(0)) : "<none>";
    }

    Installation inst;
    std::unique_ptr<ui::SetupApplication> setup;
    int ends = 0;
    int infoShown = 0;
};

// A fixture set up by hand: a fresh program for each case of a table.
struct FreshRun : SetupWindow {
    FreshRun() { this->SetUp(); }
    ~FreshRun() override { this->TearDown(); }
    void TestBody() override {}
};

TEST_F(SetupWindow, EmptyEntriesAreNoTryTheMasterCodeAdmitsThenMenuPagesStatusBarLevelEditorAndClosing) {
    setup->start(0);
    ASSERT_TRUE(password()->isVisible());
    EXPECT_EQ(password()->windowTitle(), "QBX Setup");
    EXPECT_EQ(password()->prompt()->text(), "Bitte geben Sie Ihren\nZugangscode ein!");
    EXPECT_EQ(password()->okButton()->text(), "&Bestätigen");
    EXPECT_EQ(password()->cancelButton()->text(), "&Abbrechen");
    EXPECT_EQ(password()->codeEntry()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(mainWindow()->isVisible());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(password()->codeEntry(), Qt::Key_Return);
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    EXPECT_EQ(program().userLevel, 0);
    enterCode("555");
    EXPECT_EQ(password()->codeEntry()->text(), "");  // cleared for the next try
    enterCode("0555555");
    EXPECT_TRUE(password()->isVisible());

    typeCode("orion nebel");  // the master code, in lower case
    QTest::mouseClick(password()->okButton(), Qt::LeftButton);
    EXPECT_FALSE(password()->isVisible());
    ASSERT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(mainWindow()->windowTitle(), "PNL Fernwartung");
    EXPECT_EQ(program().userLevel, 6);
    EXPECT_EQ(panel(1), "Level 6");
    EXPECT_TRUE(menuEnabled(kInterfacesMenu) && menuEnabled(kLevelsMenu));
    EXPECT_EQ(panel(4), "Bewohner: 41");
    EXPECT_EQ(panel(5), "09:30");
    EXPECT_EQ(mainWindow()->statusPanel(4)->toolTip(), "Anzahl der verfügbaren Bewohnerdatensätze");
    inst.loop.advance(1000);
    ASSERT_TRUE(
        program().database()->exec("INSERT INTO BEWOHNER (Name, Vorname, Wnr) VALUES (?, ?, ?)",
                                   {std::string("Neumann"), std::string("Nina"), std::string("A099")}));
    inst.loop.advance(9000);  // 09:30:10
    EXPECT_EQ(panel(4), "Bewohner: 42");
    inst.loop.advance(50000);
    EXPECT_EQ(panel(5), "09:31");

    auto* residents = mainWindow()->findChild<ui::ResidentPageView*>();
    residents->tabs()->setCurrentIndex(1);
    choose(kLevelsMenu);
    EXPECT_FALSE(residents->isVisible());
    choose(kRecordsMenu);  // opens on the first tab and its first field
    EXPECT_TRUE(residents->isVisible());
    EXPECT_EQ(mainWindow()->focusWidget(), residents->residentList());
    EXPECT_EQ(residents->tabs()->currentIndex(), 0);

    choose(kLevelsMenu);  // the level editor saves what the user sets
    ui::LevelsPageView* page = setup->levelsView();
    ASSERT_TRUE(page->isVisible());
    EXPECT_EQ(mainWindow()->focusWidget(), page->levelList());
    EXPECT_EQ(page->title(), "Berechtigungen");

    pick(page->levelList(), "Level 3");
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
    QTest::keyClicks(page->codeField(), "56");
    QTest::mouseClick(page->saveButton(), Qt::LeftButton);
    EXPECT_EQ(storedLevel(3), "TRUE,123456,B");

    pick(page->levelList(), "Level 1 (Grund)");
    EXPECT_FALSE(page->releasedBox()->isEnabled());
    EXPECT_TRUE(page->releasedBox()->isChecked());

    choose(kTransferMenu);  // the transfer dialog leaves the page as it is
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(setup->transferForm().visible());

    choose(kInfoMenu);
    EXPECT_EQ(infoShown, 1);
    EXPECT_EQ(setup->infoWindow()->versionLabel()->text(), "Version: 2.10");
    // The real dialog is modal and closes with its button.
    QTimer::singleShot(0, [this] { QTest::mouseClick(setup->infoWindow()->okButton(), Qt::LeftButton); });
    EXPECT_EQ(setup->infoWindow()->exec(), QDialog::Accepted);

    // Closing asks the shutdown question; "Nein" leaves the settings file as it was.
    const std::string settingsBefore = inst.readFile("ANLAGE99.INI");
    inst.dialogs.answer(MsgAnswer::Cancel);
    mainWindow()->close();
    EXPECT_EQ(inst.dialogs.last().title, "Änderungen speichern");
    EXPECT_TRUE(mainWindow()->isVisible());
    inst.dialogs.answer(MsgAnswer::No);
    choose(kExitMenu);
    EXPECT_FALSE(mainWindow()->isVisible());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
}

TEST(SetupWindowPassword, EscapeTheCloseBoxAndTwentyIdleSecondsEachEndTheProgram) {
    const std::vector<std::function<void(SetupWindow&)>> ways = {
        [](SetupWindow& f) { QTest::keyClick(f.password()->codeEntry(), Qt::Key_Escape); },
        [](SetupWindow& f) { f.password()->close(); },
        [](SetupWindow& f) {
            f.inst.loop.advance(12000);
            QTest::keyClick(f.password()->codeEntry(), Qt::Key_7);  // a key press starts the 20 s again
            f.inst.loop.advance(19999);
            EXPECT_FALSE(f.setup->ended());
            f.inst.loop.advance(1);
        }};
    for (std::size_t way = 0; way < ways.size(); ++way) {
        SCOPED_TRACE(way);
        FreshRun run;
        run.setup->start(0);
        ways[way](run);
        EXPECT_FALSE(run.password()->isVisible());
        EXPECT_EQ(run.ends, 1);
    }
}

TEST(SetupWindowRights, TheKindOfTheLevelEnablesMenuCommandsResidentFieldsAndOverviewButtons) {
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
        FreshRun run;
        run.setup->start(c.commandLineLevel);
        if (c.commandLineLevel == 0)
            run.enterCode(c.code);
        EXPECT_FALSE(run.password()->isVisible());
        for (MenuCommand always : {kRecordsMenu, kTransferMenu, kInfoMenu, kExitMenu})
            EXPECT_TRUE(run.menuEnabled(always));
        EXPECT_EQ(run.menuEnabled(kInterfacesMenu), c.interfaces);
        EXPECT_EQ(run.menuEnabled(kLevelsMenu), c.levels);
        auto* page = run.mainWindow()->findChild<ui::ResidentPageView*>();
        EXPECT_EQ(page->tabs()->isTabEnabled(1), c.residents);
        for (QWidget* field : std::initializer_list<QWidget*>{page->serialField(), page->secondSerialField(),
                                                              page->newButton()})
            EXPECT_EQ(field->isEnabled(), c.residents);
        // "Bewohner löschen" once a resident is shown, for the levels that may delete.
        EXPECT_FALSE(page->deleteButton()->isEnabled());
        pick(page->residentList(), "Müller, Anna");
        EXPECT_EQ(page->deleteButton()->isEnabled(), c.residents);
        // Every level may search and export the overview (buttons: assign, unassign, export, import).
        run.mainWindow()->overviewCommand()->trigger();
        EXPECT_EQ(run.setup->overviewView()->table()->model()->rowCount(), 41);
        const auto buttons = run.setup->overviewView()->findChildren<QPushButton*>();
        EXPECT_EQ(buttons.at(0)->isEnabled(), c.residents);
        EXPECT_EQ(buttons.at(3)->isEnabled(), c.residents);
        EXPECT_TRUE(buttons.at(2)->isEnabled());
    }
}

TEST_F(SetupWindow, TheResidentPageAndTheOverviewShowTheResidentsAndForwardTheUsersActions) {
    setup->start(5);
    auto* view = mainWindow()->findChild<ui::ResidentPageView*>();
    ASSERT_TRUE(view && view->isVisible());
    // No resident shown yet: "Bewohner löschen" is off and out of the walk.
    EXPECT_EQ(tabWalk(view->residentList(), 7),
              (std::vector<QWidget*>{view->tabs()->tabBar(), view->nameField(), view->firstNameField(),
                                     view->serialField(), view->secondSerialField(), view->codeField(),
                                     view->newButton()}));
    EXPECT_FALSE(view->deleteButton()->isEnabled());
    EXPECT_EQ(tabWalk(view->listSearchField(), 2),
              (std::vector<QWidget*>{view->listBesideForm(), view->nameMode()}));
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
    program().database()->exec("UPDATE BEWOHNER SET PNL = ? WHERE Wnr = 'A001'",
                               {"01" + std::string(62, '0')});
    pick(view->residentList(), "Müller, Anna");
    EXPECT_EQ(view->nameField()->text(), "Müller");
    EXPECT_EQ(view->serialField()->text(), "100101");
    EXPECT_EQ(view->stationTree()->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(view->stationTree()->topLevelItem(2)->checkState(0), Qt::Unchecked);

    // Another display mode lists the serial numbers.
    view->serialMode()->click();
    EXPECT_EQ(view->residentList()->itemText(0), "100101");
    EXPECT_EQ(view->residentList()->currentIndex(), -1);

    // Typing goes into the form; saving writes the row.
    view->firstNameField()->setText("Anne");
    emit view->firstNameField()->textEdited("Anne");
    view->saveButton()->click();
    const auto saved = program().database()->query("SELECT Vorname FROM BEWOHNER WHERE Wnr = 'A001'");
    EXPECT_EQ(dbText(saved->front().at(0)), "Anne");
    // Ctrl+S saves where the user types, Alt+C through the button; either way the focus stays in the form.
    const std::pair<QKeyCombination, const char*> saveKeys[] = {
        {Qt::ControlModifier | Qt::Key_S, "Annemarie"}, {Qt::AltModifier | Qt::Key_C, "Anna"}};
    QApplication::setActiveWindow(mainWindow());  // shortcuts reach the active window only
    for (const auto& [keys, firstName] : saveKeys) {
        view->firstNameField()->setFocus();
        view->firstNameField()->selectAll();
        QTest::keyClicks(view->firstNameField(), firstName);
        QTest::keyClick(view->firstNameField(), keys.key(), keys.keyboardModifiers());
        // A mnemonic clicks its button once the button's press animation is over.
        for (int wait = 0; wait < 50 && view->saveButton()->isEnabled(); ++wait)
            QTest::qWait(20);
        const auto typed = program().database()->query("SELECT Vorname FROM BEWOHNER WHERE Wnr = 'A001'");
        EXPECT_EQ(dbText(typed->front().at(0)), firstName);
        EXPECT_TRUE(view->isAncestorOf(mainWindow()->focusWidget()) &&
                    mainWindow()->focusWidget() != view->deleteButton());
    }

    mainWindow()->overviewCommand()->trigger();
    ASSERT_TRUE(overview()->isVisible());
    EXPECT_FALSE(setup->mainForm().residentFrame.visible());
    EXPECT_EQ(overview()->searchField()->placeholderText(), "Suchen …");
    ASSERT_GE(columnNamed("Tiefgarage"), 0);
    ASSERT_GE(columnNamed("Anzeige"), 0);

    QTest::keyClicks(overview()->searchField(), "M");
    QTest::sendKeyEvent(QTest::Click, overview()->searchField(), Qt::Key_Udiaeresis, QString("ü"), {});
    QTest::keyClicks(overview()->searchField(), "ller");
    ASSERT_EQ(rows()->rowCount(), 2);
    EXPECT_EQ(setup->mainForm().residentCount.caption(), "2 von 41 Bewohnern");
    // The spelled-out umlaut finds the same two; sorted by name in German order (Özdemir among the O's).
    auto search = [this](const QString& text) {
        overview()->searchField()->setText(text);
        emit overview()->searchField()->textEdited(text);
    };
    search("mueller");
    ASSERT_EQ(rows()->rowCount(), 2);
    search("");
    overview()->table()->sortByColumn(0, Qt::AscendingOrder);
    std::vector<std::string> names;
    for (int row = 0; row < rows()->rowCount(); ++row)
        names.push_back(rows()->index(row, 0).data().toString().toStdString());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const auto& a, const auto& b) { return sortKey(a) < sortKey(b); }));
    const auto ozdemir = std::find(names.begin(), names.end(), "Özdemir");
    ASSERT_TRUE(ozdemir != names.end() && ozdemir + 1 != names.end());
    EXPECT_EQ(*(ozdemir + 1), "Richter");
    search("Müller");
    ASSERT_EQ(rows()->rowCount(), 2);

    // Both Müllers to the car park (station 2).
    overview()->table()->selectAll();
    overview()->chooseStation = [](bool assign) { return assign ? std::optional<int>(2) : std::nullopt; };
    QTest::mouseClick(overview()->findChildren<QPushButton*>().at(0), Qt::LeftButton);
    EXPECT_EQ(stationsOf("Müller")[2], '1');
    EXPECT_EQ(stationsOf("Müller-Lüdenscheidt")[2], '1');
    EXPECT_EQ(rows()->rowCount(), 2);  // the search stays, and so does the marking
    EXPECT_EQ(overview()->table()->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(rows()->index(0, columnNamed("Tiefgarage")).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(setup->mainForm().outcome.caption(), "2 markiert: 2 zugeordnet (PNL02 Tiefgarage).");
    // A click on a tick box takes the first row off the car park at once; the marking stays.
    const QString first = rows()->index(0, 0).data().toString();
    const QModelIndex tick = rows()->index(0, columnNamed("Tiefgarage"));
    QTest::mouseClick(overview()->table()->viewport(), Qt::LeftButton, {},
                      overview()->table()->visualRect(tick).center());
    EXPECT_EQ(stationsOf(first.toStdString())[2], '0');
    EXPECT_EQ(tick.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(overview()->table()->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(setup->mainForm().outcome.caption(),
              first.toStdString() + ", Anna von der PNL02 Tiefgarage entfernt.");

    // The import shows its preview and writes only when the user accepts it.
    inst.writeFile("neu.csv", "Name;Wohnung;Seriennummer\r\nNeumann;Z99;777777\r\n");
    overview()->chooseImportFile = [this] { return QString::fromStdString(inst.path("neu.csv")); };
    int previews = 0;
    std::optional<bool> answer;  // none: "Abbrechen"; false: keep the residents missing from the file
    overview()->confirmImport = [&](const ImportPreview&) {
        ++previews;
        return answer;
    };
    QPushButton* importButton = overview()->findChildren<QPushButton*>().at(3);
    QTest::mouseClick(importButton, Qt::LeftButton);
    EXPECT_EQ(program().residents()->count(), 41);
    answer = false;
    QTest::mouseClick(importButton, Qt::LeftButton);
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(setup->mainForm().residentCount.caption(), "2 von 42 Bewohnern");
    EXPECT_EQ(setup->mainForm().outcome.caption(), "Importiert: 1 neu, 0 geändert.");

    // A double click opens the resident on the resident page.
    const QString name = rows()->index(0, 0).data().toString();
    emit overview()->table()->doubleClicked(rows()->index(0, 0));
    EXPECT_TRUE(setup->mainForm().residentFrame.visible());
    EXPECT_EQ(QString::fromStdString(setup->mainForm().lastName.text()), name);
}

TEST_F(SetupWindow, LaidOverTheMainWindowAStationIsSavedAndProbedThenTheModemPage) {
    setup->start(0);
    enterCode("555555");  // a level of kind "P"
    mainWindow()->move(40, 30);
    mainWindow()->resize(900, 700);
    choose(kInterfacesMenu);
    auto* view = mainWindow()->findChild<ui::InterfaceWindowView*>();
    ASSERT_TRUE(view && view->isVisible());
    const QRect main = mainWindow()->frameGeometry();
    // Below the main window's menu bar (the offscreen platform adds its own frame to the size).
    EXPECT_EQ(view->frameGeometry().topLeft(), QPoint(main.left() + 2, main.top() + 50));
    EXPECT_EQ(view->focusWidget(), view->portList());
    EXPECT_EQ(view->portList()->count(), 8);
    EXPECT_FALSE(view->pages()->isVisible());
    EXPECT_FALSE(view->testButton()->isEnabled());
    // Before a port is chosen the lists sit at the top, under their labels, not spread over the window.
    QApplication::processEvents();
    EXPECT_LT(view->portList()->mapTo(view, QPoint(0, 0)).y(), view->height() / 4);

    pick(view->portList(), "COM1");
    EXPECT_EQ(view->deviceList()->currentText(), "PNLXX Abgleich");
    EXPECT_TRUE(view->pages()->isVisible());
    for (int tab = 0; tab < 6; ++tab)
        EXPECT_EQ(view->pages()->isTabVisible(tab), tab == InterfaceWindowForm::kStationTab);
    EXPECT_EQ(view->pages()->currentIndex(), InterfaceWindowForm::kStationTab);
    EXPECT_EQ(view->stationList()->count(), 3);
    EXPECT_FALSE(view->testButton()->isEnabled());  // no station chosen yet
    EXPECT_EQ(tabWalk(view->portList(), 7),
              (std::vector<QWidget*>{view->deviceList(), view->saveButton(), view->portDeviceList(),
                                     view->refreshButton(), view->otherDeviceButton(),
                                     view->pages()->tabBar(), view->stationList()}));
    // An adapter plugged in while the window is open appears in COM1's device list and can be chosen there.
    EXPECT_EQ(view->portDeviceList()->currentText(), "Keine Auswahl (/dev/ttyS0)");
    inst.devices.discovery.plug({.path = "/dev/ttyUSB0",
                                 .stablePath = "/dev/serial/by-id/usb-FTDI",
                                 .vendorId = "0403",
                                 .productId = "6001"});
    pick(view->portDeviceList(), "USB-Seriell USB 0403:6001 – /dev/ttyUSB0");
    EXPECT_EQ(inst.devices.map.pathOf(1), "/dev/serial/by-id/usb-FTDI");

    QTest::mouseClick(view->newStationButton(), Qt::LeftButton);
    pick(view->typeList(), "PNL-C");
    QTest::keyClicks(view->labelField(), "Hof");
    QTest::keyClicks(view->serialField(), "4711");
    EXPECT_TRUE(view->testButton()->isEnabled());
    QTest::mouseClick(view->saveStationButton(), Qt::LeftButton);
    EXPECT_EQ(program().settings.read("PNLXXX", "PNL03"), "PNL-C,Hof,4711,,FALSE");
    EXPECT_EQ(view->stationList()->currentText(), "Hof");

    inst.serial.onOutput = [this](const std::string& bytes) {
        if (bytes == std::string("\x01*0000\x04"))
            inst.serial.deliver("?*23456789012345678", 50);
    };
    QTest::mouseClick(view->testButton(), Qt::LeftButton);
    EXPECT_EQ(inst.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 4711\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_TRUE(view->testButton()->isEnabled());
    EXPECT_TRUE(view->portList()->isEnabled());

    QTest::mouseClick(view->modemBox(), Qt::LeftButton);
    EXPECT_TRUE(view->pages()->isTabVisible(InterfaceWindowForm::kModemTab));
    EXPECT_FALSE(view->phoneField()->isHidden());
    QTest::mouseClick(view->modemBox(), Qt::LeftButton);
    EXPECT_TRUE(view->phoneField()->isHidden());

    pick(view->deviceList(), "Kein Gerät");
    EXPECT_FALSE(view->pages()->isVisible());
    EXPECT_FALSE(view->testButton()->isEnabled());

    QTest::keyClick(view->portList(), Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(setup->interfaceForm().visible());
    choose(kInterfacesMenu);
    choose(kRecordsMenu);  // the resident page closes the window
    EXPECT_FALSE(view->isVisible());
}

TEST_F(SetupWindow, EnterStartsNothingAndARunCannotBeClosed) {
    setup->start(5);
    program().database()->exec("UPDATE BEWOHNER SET PNL = ? WHERE Wnr LIKE 'A%'",
                               {"1" + std::string(63, '0')});
    choose(kTransferMenu);
    ui::TransferDialogView* dialog = setup->transferWindow();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QString("Datenübertragung zur PNL"));
    QTreeWidget* tree = dialog->stationTree();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QString("Haupteingang"));
    EXPECT_EQ(tree->toolTip(),
              QString("Wählen Sie hier bitte die PNLXXX aus, zu denen ein Transfer stattfinden soll."));
    EXPECT_FALSE(dialog->progressBar()->isVisible());
    EXPECT_EQ(dialog->focusWidget(), tree);
    EXPECT_EQ(tabWalk(tree, 8),
              (std::vector<QWidget*>{dialog->stateList(), dialog->lineList(), dialog->presenceCheck(),
                                     dialog->allButton(), dialog->noneButton(), dialog->changedButton(),
                                     dialog->startButton(), dialog->cancelButton()}));

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
        EXPECT_TRUE(mainWindow()->isEnabled() && menuEnabled(kRecordsMenu));
        EXPECT_TRUE(dialog->progressBar()->isVisible());
        EXPECT_GT(dialog->progressBar()->value(), 0);
        EXPECT_LT(dialog->progressBar()->value(), 100);
        EXPECT_TRUE(dialog->statusLine()->text().startsWith("PNL 1 von 1: Haupteingang – Datensatz "))
            << dialog->statusLine()->text().toStdString();
        // The list shows the lines sent, each cell with its full text as tip; the access code has a column of
        // its own.
        QTreeWidget* lines = dialog->lineList();
        EXPECT_EQ(lines->topLevelItemCount(), 20);
        EXPECT_EQ(lines->headerItem()->text(4), QString("Code"));
        const auto anna = lines->findItems(QString("Müller, Anna"), Qt::MatchExactly, 0);
        if (anna.size() != 1)
            return ADD_FAILURE() << "Müller, Anna";
        EXPECT_EQ(anna.front()->text(1), QString("A001"));
        EXPECT_EQ(anna.front()->text(4), QString("1234"));
        EXPECT_EQ(anna.front()->toolTip(0), QString("Müller, Anna"));
    });
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    EXPECT_EQ(checksDuringRun, 1);
    EXPECT_EQ(tree->topLevelItem(0)->checkState(0), Qt::Unchecked);
    ASSERT_EQ(inst.dialogs.shown.size(), 2u);
    EXPECT_EQ(inst.dialogs.shown[0].buttons, MsgButtons::YesNo);

    // Afterwards the list shows the highlighted station's difference again: now there is none.
    ASSERT_EQ(dialog->lineList()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog->lineList()->topLevelItem(0)->text(0), QString("Keine Änderungen"));

    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(setup->transferForm().visible());
}

// At its first size on a screen of 1024x768 (1008x724 inside its frame) the main window shows every column
// of the overview of three stations without a horizontal scroll bar, sorted or not.
TEST_F(SetupWindow, AtTheFirstSizeOnA1024ScreenTheOverviewNeedsNoScrolling) {
    setup->start(5);
    mainWindow()->setGeometry(8, 36, 1008, 724);
    mainWindow()->overviewCommand()->trigger();
    ASSERT_EQ(columnNamed("Anzeige"), 9);
    QTableView* table = overview()->table();
    for (int sorted : {-1, 0, 2, 8}) {
        SCOPED_TRACE(sorted);
        if (sorted >= 0)
            table->horizontalHeader()->setSortIndicator(sorted, Qt::AscendingOrder);
        QApplication::processEvents();
        EXPECT_EQ(table->horizontalScrollBar()->maximum(), 0);
    }
}

// The main window opens where the user left it when the program last ended, if that still fits the screen;
// otherwise at its size or its first size, on the screen. A run that ended at the password dialog keeps
// nothing.
TEST(SetupWindowPlace, TheMainWindowOpensWhereItWasLeftWhereThatFits) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TempFolder config;
    PosixFileSystem fs;
    XdgUserSettings settings{fs, config.path()};
    // A run at level 5 (or at the password dialog) that remembers the main window's place in `settings`.
    auto runUntil = [&](int level, const std::function<void(ui::MainWindowView*)>& act) {
        Installation inst;
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        ui::SetupOptions options;
        options.userSettings = &settings;
        ui::SetupApplication setup(Platform{inst.fs, inst.loop, inst.dialogs, inst.serial, inst.ports},
                                   inst.devices.services, inst.folder.path(), options);
        setup.onEnd = [] {};
        setup.start(level);
        act(setup.mainWindowView());
        setup.endProgram();
    };

    WindowPlace left{30, 40, 640, 480};
    runUntil(5, [&](ui::MainWindowView* window) {
        EXPECT_TRUE(screen.contains(window->frameGeometry())) << window->width() << "x" << window->height();
        window->setGeometry(30, 40, 640, 480);
        const QRect frame = window->frameGeometry();
        left.frameLeft = 30 - frame.left();
        left.frameTop = 40 - frame.top();
        left.frameRight = frame.right() - window->geometry().right();
        left.frameBottom = frame.bottom() - window->geometry().bottom();
    });
    EXPECT_EQ(settings.mainWindowPlace(), left);
    runUntil(5, [](ui::MainWindowView* window) { EXPECT_EQ(window->geometry(), QRect(30, 40, 640, 480)); });
    runUntil(0, [](ui::MainWindowView* window) { EXPECT_FALSE(window->isVisible()); });
    EXPECT_EQ(settings.mainWindowPlace(), left);

    // The screen it was on is gone.
    ASSERT_TRUE(settings.setMainWindowPlace({screen.right() + 100, 40, 640, 480, 0, 0, 0, 0, false}));
    runUntil(5, [&](ui::MainWindowView* window) {
        EXPECT_EQ(window->size(), QSize(640, 480));
        EXPECT_TRUE(screen.contains(window->frameGeometry()));
    });
}

}  // namespace
}  // namespace pnl::test
