#pragma once
// A test installation for the resident page: table BEWOHNER (17 columns unless a test gives another
// schema), labelled stations, the shared resident cursor, the page's controls and the editor on them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/resident_table.h"
#include "forms/resident_page.h"
#include "platform/database.h"
#include "residents/resident_editor.h"
#include "support/installation.h"

namespace pnl::test {

// The base form of 16 columns plus the station assignment PNL.
inline constexpr const char* kResidentSchema =
    "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50), Vorname VARCHAR(50), "
    "Wnr VARCHAR(8), sernr INTEGER, AUSLOESUNG VARCHAR(50), code INTEGER, Anrede TEXT, Klartext TEXT, "
    "Etage TEXT, Haus TEXT, Telefon TEXT, Sprache TEXT, Gruppe TEXT, Aktiv INTEGER DEFAULT 1, "
    "Bemerkung TEXT DEFAULT 'frei', PNL VARCHAR(100))";
// Another program's table whose ID column is not the row number.
inline constexpr const char* kPlainIdSchema =
    "CREATE TABLE BEWOHNER (ID INTEGER, Name TEXT, Vorname TEXT, Wnr TEXT, sernr INTEGER, AUSLOESUNG TEXT, "
    "code INTEGER, PNL TEXT)";

// Stations 0, 5, 12 and 63 carry labels; station 7 is in use without a label.
inline constexpr const char* kStations =
    "PNL00=PNL-B,Haupteingang,012345,,FALSE\n"
    "PNL05=PNL-A,Nebeneingang,023456,,TRUE\n"
    "PNL07=PNL-B,,000777,,FALSE\n"
    "PNL12=PNL-C,Tiefgarage,034567,,FALSE\n"
    "PNL63=PNL-K,Hof,045678,,FALSE\n";

// The stored station assignment with exactly these stations set.
inline std::string stationsWith(std::initializer_list<int> stations) {
    std::string value(64, '0');
    for (int k : stations)
        value[k] = '1';
    return value;
}

struct ResidentFixture {
    explicit ResidentFixture(const std::string& schema = kResidentSchema);

    Program& program() { return *inst.program; }
    Database& db() { return *program().database(); }
    ResidentTable& table() { return *program().residents(); }

    // Adds a row behind the program's back (as another program would); returns its ID.
    std::int64_t addRow(const std::string& name, const std::string& firstName, const std::string& apartment,
                        DbValue serial, const std::string& trigger = ",,000000",
                        DbValue code = std::int64_t{0}, const std::string& stations = std::string(64, '0'));
    // The first row of a query, its columns joined by "|" (NULL as ""); "<no row>" when there is none.
    std::string first(const std::string& sql, const std::vector<DbValue>& params = {});
    // Columns of the row with that ID, e.g. column(id, "Name, Wnr") == "Meier|12".
    std::string column(std::int64_t id, const std::string& names) {
        return first("SELECT " + names + " FROM BEWOHNER WHERE ID = ?", {id});
    }
    std::int64_t rowCount() { return std::stoll(first("SELECT count(*) FROM BEWOHNER")); }

    // The list's entry texts, in list order.
    std::vector<std::string> entries() const {
        std::vector<std::string> texts;
        for (const auto& item : form.residentChoice.items())
            texts.push_back(item.text);
        return texts;
    }
    // Chooses the n-th entry with that text and clicks it, as the user does.
    void choose(const std::string& text, int nth = 0);
    void type(const std::string& name, const std::string& firstName, const std::string& apartment,
              const std::string& serial, const std::string& secondSerial = "", const std::string& code = "") {
        form.lastName.setText(name);
        form.firstName.setText(firstName);
        EXPECT_TRUE(form.apartment.setText(apartment));
        EXPECT_TRUE(form.serial.setText(serial));
        EXPECT_TRUE(form.secondSerial.setText(secondSerial));
        EXPECT_TRUE(form.accessCode.setText(code));
    }
    void tick(const std::string& key) { form.stationTree.setChecked(form.stationTree.findKey(key), true); }
    // The keys of the ticked station nodes, e.g. "S05 S12".
    std::string ticked() const {
        std::string keys;
        for (const auto& node : form.stationTree.nodes())
            if (node.checked)
                keys += (keys.empty() ? "" : " ") + node.key;
        return keys;
    }
    // The form as the user sees it: name, first name, apartment, serial numbers and code joined by "|".
    std::string shown() const {
        return form.lastName.text() + "|" + form.firstName.text() + "|" + form.apartment.text() + "|" +
               form.serial.text() + "|" + form.secondSerial.text() + "|" + form.accessCode.text();
    }
    // The editor's row as "ID/serial"; "keine" stands for none.
    std::string editing() const { return editor.CurrentResidentId() + "/" + editor.CurrentResidentSerial(); }
    // The last box shown is this one: text, title, icon, buttons and default answer.
    void expectLastBox(const Message& expected) const {
        ASSERT_FALSE(inst.dialogs.shown.empty());
        const Message& box = inst.dialogs.last();
        EXPECT_EQ(box.text + "|" + box.title, expected.text + "|" + expected.title);
        EXPECT_TRUE(box.icon == expected.icon && box.buttons == expected.buttons);
        EXPECT_EQ(box.defaultAnswer, expected.defaultAnswer);
    }

    Installation inst;
    ResidentPageForm form;
    ResidentEditor editor{*inst.program, form};
};

// Meier (4711, apartment 12) and Kraus (5000, apartment 14), the page open; status line notices are kept.
struct ResidentPage : ::testing::Test {
    ResidentPage() {
        f.program().statusNotice = [this](const std::string& text) { notices.push_back(text); };
        f.editor.OpenResidentView();
    }

    ResidentFixture f;
    ScriptedDialogs& dialogs = f.inst.dialogs;
    std::int64_t meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    std::int64_t kraus = f.addRow("Kraus", "Otto", "14", std::int64_t{5000});
    std::vector<std::string> notices;
};

}  // namespace pnl::test
