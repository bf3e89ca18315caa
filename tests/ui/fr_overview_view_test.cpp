// The page "Bewohnerübersicht" on the sample installation, driven as the user does.

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTableView>

#include "setup_fixture.h"
#include "ui/fr_overview_view.h"

namespace pnl::test {
namespace {

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

TEST_F(OverviewView, ALevelOfKindBMaySearchButNotAssignOrImport) {
    setup->start(1);
    mainWindow()->overviewCommand()->trigger();
    EXPECT_EQ(rows()->rowCount(), 41);
    EXPECT_FALSE(setup->setupForm().CmdAssign.enabled());
    EXPECT_FALSE(setup->setupForm().CmdImport.enabled());
    EXPECT_TRUE(setup->setupForm().CmdExport.enabled());
}

}  // namespace
}  // namespace pnl::test
