// The windowed program: the password window, the rights it grants, the main window's menu and pages.

#include <QTableView>
#include <QTimer>

#include "setup_fixture.h"
#include "ui/fr_overview_view.h"
#include "ui/frm_copyright_window.h"

namespace pnl::test {
namespace {

using SetupWindow = SetupFixture;

TEST_F(SetupWindow, EmptyEntriesAreNoTryAndTheMasterCodeAdmitsAfterTwoWrongOnes) {
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
}

TEST(PasswordWindow, EscapeTheCloseBoxAndTwentyIdleSecondsEachEndTheProgram) {
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
        FreshRun<SetupFixture> run;
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
        // Every level may search the overview and export it; assign and import as on the resident page.
        run.mainWindow()->overviewCommand()->trigger();
        EXPECT_EQ(run.setup->overviewView()->table()->model()->rowCount(), 41);
        // The buttons: assign, unassign, export, import.
        const auto buttons = run.setup->overviewView()->findChildren<QPushButton*>();
        EXPECT_EQ(buttons.at(0)->isEnabled(), c.residents);
        EXPECT_EQ(buttons.at(3)->isEnabled(), c.residents);
        EXPECT_TRUE(buttons.at(2)->isEnabled());
    }
}

TEST_F(SetupWindow, MenuPagesStatusBarLevelEditorAndClosingInOneRun) {
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

    choose(kBerechtigungen);  // the level editor saves what the user sets
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

    choose(kPnlxxx);  // the transfer dialog leaves the page as it is
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(setup->transferForm().visible());

    choose(kInfo);
    EXPECT_EQ(infoShown, 1);
    EXPECT_EQ(setup->infoWindow()->versionLabel()->text(), "Version: 2.014");
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
    choose(kBeenden);
    EXPECT_FALSE(mainWindow()->isVisible());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(inst.readFile("ANLAGE99.INI"), settingsBefore);
}

TEST_F(SetupWindow, TheResidentPageShowsTheResidentsAndForwardsTheUsersActions) {
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
}

struct OverviewView : SetupFixture {
    ui::FrOverviewView* view() { return setup->overviewView(); }
    QAbstractItemModel* rows() { return view()->table()->model(); }
    QString cell(int row, int column) { return rows()->index(row, column).data().toString(); }
    int columnNamed(const QString& header) {
        for (int c = 0; c < rows()->columnCount(); ++c)
            if (rows()->headerData(c, Qt::Horizontal).toString() == header)
                return c;
        return -1;
    }
    std::string stationsOf(const std::string& name) {
        const auto found = program().DataBewo->query("SELECT PNL FROM BEWOHNER WHERE Name = ?", {name});
        return found && !found->empty() ? dbText(found->front().at(0)) : "<none>";
    }
};

TEST_F(OverviewView, SearchesAssignsStationsImportsAndOpensTheResident) {
    setup->start(5);
    mainWindow()->overviewCommand()->trigger();
    ASSERT_TRUE(view()->isVisible());
    EXPECT_FALSE(setup->setupForm().FrBewo.visible());
    EXPECT_EQ(rows()->rowCount(), 41);
    EXPECT_EQ(view()->searchField()->placeholderText(), "Suchen …");
    ASSERT_GE(columnNamed("Tiefgarage"), 0);
    ASSERT_GE(columnNamed("Anzeige"), 0);

    QTest::keyClicks(view()->searchField(), "M");
    QTest::sendKeyEvent(QTest::Click, view()->searchField(), Qt::Key_Udiaeresis, QString("ü"), {});
    QTest::keyClicks(view()->searchField(), "ller");
    ASSERT_EQ(rows()->rowCount(), 2);
    EXPECT_EQ(setup->setupForm().LblCount.caption(), "2 von 41 Bewohnern");

    // Both Müllers to the car park (station 2).
    view()->table()->selectAll();
    view()->chooseStation = [](bool assign) { return assign ? std::optional<int>(2) : std::nullopt; };
    QTest::mouseClick(view()->findChildren<QPushButton*>().at(0), Qt::LeftButton);
    EXPECT_EQ(stationsOf("Müller")[2], '1');
    EXPECT_EQ(stationsOf("Müller-Lüdenscheidt")[2], '1');
    EXPECT_EQ(rows()->rowCount(), 2);  // the search stays
    EXPECT_EQ(rows()->index(0, columnNamed("Tiefgarage")).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(setup->setupForm().LblOutcome.caption(), "2 Bewohner der PNL02 zugeordnet.");

    // The import shows its preview and writes only when the user accepts it.
    inst.writeFile("neu.csv", "Name;Wohnung;Seriennummer\r\nNeumann;Z99;777777\r\n");
    view()->chooseImportFile = [this] { return QString::fromStdString(inst.path("neu.csv")); };
    int previews = 0;
    std::optional<bool> answer;  // none: "Abbrechen"; false: keep the residents missing from the file
    view()->confirmImport = [&](const ImportPreview& preview) {
        ++previews;
        EXPECT_EQ(preview.count(ImportStatus::New), 1);
        return answer;
    };
    QPushButton* importButton = view()->findChildren<QPushButton*>().at(3);
    QTest::mouseClick(importButton, Qt::LeftButton);
    EXPECT_EQ(program().residents->count(), 41);
    answer = false;
    QTest::mouseClick(importButton, Qt::LeftButton);
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(setup->setupForm().LblCount.caption(), "2 von 42 Bewohnern");
    EXPECT_EQ(setup->setupForm().LblOutcome.caption(), "Importiert: 1 neu, 0 geändert.");

    // A double click opens the resident on the resident page.
    const QString name = cell(0, 0);
    emit view()->table()->doubleClicked(rows()->index(0, 0));
    EXPECT_TRUE(setup->setupForm().FrBewo.visible());
    EXPECT_EQ(QString::fromStdString(setup->setupForm().TxtBWName.text()), name);
}

}  // namespace
}  // namespace pnl::test
