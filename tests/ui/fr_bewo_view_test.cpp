#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "forms/fr_bewo.h"
#include "residents/resident_editor.h"
#include "residents/resident_table.h"
#include "support/installation.h"
#include "ui/fr_bewo_view.h"
#include "ui/masked_line_edit.h"

namespace pnl::test {

TEST(FrBewoView, ShowsTheResidentPageAndForwardsTheUsersActions) {
    Installation inst;
    Program& program = *inst.program;
    inst.writeFile(kSettingsCopy,
                   "[PNLXXX]\nPNL00=PNL-B,Haupteingang,012345,,FALSE\nPNL02=PNL-A,Hof,1,,FALSE\n");
    program.InitX.setFileName(inst.path(kSettingsCopy));
    program.DataBewo = Database::create(inst.path(kDatabaseCopy));
    ASSERT_TRUE(program.DataBewo->exec(
        "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Vorname TEXT, Wnr TEXT, "
        "sernr INTEGER, AUSLOESUNG TEXT, code INTEGER, PNL TEXT)"));
    ASSERT_TRUE(program.DataBewo->exec(
        "INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL) VALUES "
        "('Meier', 'Anna', '12', 4711, ',,000000', 0, '001'), ('Abel', 'Karl', '3', 99, ',,000815', 12, "
        "'1')"));
    program.residents = std::make_shared<ResidentTable>(*program.DataBewo);
    FrBewoControls form;
    ResidentEditor editor(program, form);
    ui::FrBewoView view(form, editor);
    editor.OpenResidentView();

    EXPECT_EQ(view.title(), "Bewohnerdaten");
    EXPECT_TRUE(view.nameMode()->isChecked());
    ASSERT_EQ(view.residentList()->count(), 2);
    EXPECT_EQ(view.residentList()->itemText(0), "Abel, Karl");
    EXPECT_EQ(view.tabs()->tabText(1), "Ort");
    ASSERT_EQ(view.stationTree()->topLevelItemCount(), 2);
    EXPECT_EQ(view.stationTree()->topLevelItem(1)->text(0), "Hof");
    EXPECT_EQ(view.serialField()->toolTip(), "1. Seriennummer für Türruf");

    // The user picks Meier: the form and the tree follow.
    emit view.residentList()->activated(1);
    EXPECT_EQ(view.nameField()->text(), "Meier");
    EXPECT_EQ(view.serialField()->text(), "4711");
    EXPECT_EQ(view.stationTree()->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(view.stationTree()->topLevelItem(0)->checkState(0), Qt::Unchecked);

    // Another display mode lists the serial numbers.
    view.serialMode()->click();
    EXPECT_EQ(view.residentList()->itemText(0), "000099");
    EXPECT_EQ(view.residentList()->currentIndex(), -1);

    // Typing goes into the form; saving writes the row.
    view.firstNameField()->setText("Anne");
    emit view.firstNameField()->textEdited("Anne");
    view.saveButton()->click();
    const auto rows = program.DataBewo->query("SELECT Vorname FROM BEWOHNER WHERE Name = 'Meier'");
    EXPECT_EQ(dbText(rows->front().at(0)), "Anne");

    // Rights set on the models disable the widgets.
    form.CmdBWDel.setEnabled(false);
    form.SSTabBewo.setTabEnabled(FrBewoControls::kTabPlace, false);
    EXPECT_FALSE(view.deleteButton()->isEnabled());
    EXPECT_FALSE(view.tabs()->isTabEnabled(1));
}

}  // namespace pnl::test
