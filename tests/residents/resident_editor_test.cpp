// The resident page as the user drives it (list, form, station tree, save, delete), the shared resident
// cursor under it and how the resident columns are encoded.

#include <gtest/gtest.h>

#include "app/records.h"
#include "resident_fixture.h"

namespace pnl::test {

namespace {

const std::string kOverwriteOk =
    "Es existiert bereits ein Datensatz mit dieser Seriennummer!\n\rVorhanden Datensatz überschreiben ?";
const std::string kOverwriteOrNew =
    "Es existiert bereits ein Datensatz mit dieser Seriennummer!\r\nVorhanden Datensatz überschreiben (Ja), "
    "oder neuen\r\nDatensatz anlegen (Nein)?";

// Another program's table: the program's seven columns in other cases and order, nine of its own, no PNL.
constexpr const char* kForeignSchema =
    "CREATE TABLE bewohner (Etage TEXT, \"NAME\" TEXT, Telefon TEXT, id INTEGER PRIMARY KEY, SERNR INTEGER, "
    "wnr TEXT, VORNAME TEXT, Haus TEXT, Ausloesung TEXT, CODE INTEGER, Sprache TEXT DEFAULT 'de', "
    "Gruppe TEXT, Aktiv INTEGER DEFAULT 1, Bemerkung TEXT, Klartext TEXT, Anrede TEXT)";

Resident row(const std::string& name, std::int64_t serial) {
    return {std::nullopt, name, "Eva", "12", serial, 0, 0, {}};
}

}  // namespace

TEST(ResidentView, OpensInNameModeAndListsEachModeInOrder) {
    ResidentFixture f;
    f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    f.addRow("", "Bernd", "9", std::int64_t{99});
    f.addRow("Zander", "", "", std::int64_t{100000});
    const auto abel = f.addRow("Abel", "Karl", "3", DbValue{});
    f.addRow("Fünf", "Fritz", "", std::int64_t{5});
    f.form.residentTabs.setTab(1);
    f.editor.OpenResidentView();
    EXPECT_TRUE(f.form.byName.checked());
    EXPECT_EQ(f.form.residentTabs.tab(), 0);
    EXPECT_EQ(f.entries(),
              (std::vector<std::string>{"Abel, Karl", "Fünf, Fritz", "Meier, Anna", "Zander, "}));
    EXPECT_EQ(f.editing(), "keine/keine");
    // The station tree: labelled stations only, in station order; station 7 has no label.
    std::string nodes;
    for (const auto& node : f.form.stationTree.nodes())
        nodes += node.key + " " + node.text + ";";
    EXPECT_EQ(nodes, "S00 Haupteingang;S05 Nebeneingang;S12 Tiefgarage;S63 Hof;");

    // Serial numbers with leading zeros sort numerically; a row without one is not listed.
    f.editor.showBySerial();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"000005", "000099", "004711", "100000"}));
    f.choose("000099");
    EXPECT_EQ(f.shown(), "|Bernd|9|99||");
    // A change of mode rebuilds the list without a selection but keeps the form.
    f.editor.showByApartment();
    EXPECT_TRUE(f.form.byApartment.checked() && !f.form.bySerial.checked());
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"12", "3", "9"}));
    EXPECT_EQ(f.form.residentChoice.listIndex(), -1);
    EXPECT_EQ(f.shown(), "|Bernd|9|99||");
    f.choose("3");
    EXPECT_EQ(f.shown(), "Abel|Karl|3|||");
    EXPECT_EQ(f.editing(), std::to_string(abel) + "/");
    // The apartment field puts the caret first.
    f.form.apartment.setSelStart(4);
    f.editor.apartmentFocused();
    EXPECT_EQ(f.form.apartment.selStart(), 0);
}

TEST(ResidentView, ShowsOddNamesAndForeignValuesAsTheFieldsCanHoldThem) {
    ResidentFixture f;
    f.addRow("Müller, Schmidt", "Eva", "1", std::int64_t{1}, ",,000815", std::int64_t{1234}, "1");
    f.addRow("O'Neill", "Sean", "2", std::int64_t{2}, ",,000000", std::int64_t{0}, stationsWith({63}) + "11");
    f.addRow("Fremd", "", "A-12-345", std::int64_t{1234567}, "kaputt", std::int64_t{10000}, "     1");
    const auto gone = f.addRow("Weg", "Max", "3", std::int64_t{3});
    f.editor.OpenResidentView();
    // A surname holding a comma is found through the whole entry; "1" assigns station 0 alone.
    f.choose("Müller, Schmidt, Eva");
    EXPECT_EQ(f.shown(), "Müller, Schmidt|Eva|1|1|815|1234");
    EXPECT_EQ(f.ticked(), "S00");
    f.choose("O'Neill, Sean");
    EXPECT_EQ(f.shown(), "O'Neill|Sean|2|2||");
    EXPECT_EQ(f.ticked(), "S63");  // positions past the 64th are ignored
    // Values the fields cannot hold show blank (not the last resident's) or what fits.
    f.choose("Fremd, ");
    EXPECT_EQ(f.shown(), "Fremd||A12345|||");
    EXPECT_EQ(f.editing(), "3/1234567");
    EXPECT_EQ(f.ticked(), "S05");  // positions count as stored: leading blanks do not shift station 5
    // The row of an entry was deleted by another program: the form is cleared, the editor's row stays.
    ASSERT_TRUE(f.db().exec("DELETE FROM BEWOHNER WHERE ID = ?", {gone}));
    f.choose("Weg, Max");
    EXPECT_EQ(f.shown(), "|||||");
    EXPECT_EQ(f.form.residentChoice.listIndex(), -1);
    EXPECT_EQ(f.editing(), "3/1234567");
    // Seven digits are listed whole in the serial mode and selectable there.
    f.editor.showBySerial();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"000001", "000002", "1234567"}));
    f.choose("1234567");
    EXPECT_EQ(f.form.lastName.text(), "Fremd");
}

TEST_F(ResidentPage, StationAssignmentRoundTripAndTheRightsOfTheUserLevel) {
    ASSERT_TRUE(f.db().exec("UPDATE BEWOHNER SET PNL = ? WHERE ID = ?", {stationsWith({5, 7, 12}), meier}));
    f.choose("Meier, Anna");
    EXPECT_EQ(f.ticked(), "S05 S12");
    // Nothing changed: nothing is written. Station 7 has no label, so no node: a save drops its "1".
    f.editor.save();
    EXPECT_EQ(f.column(meier, "PNL"), stationsWith({5, 7, 12}));
    f.form.firstName.setText("Anne");
    f.editor.save();
    EXPECT_EQ(f.column(meier, "PNL"), stationsWith({5, 12}));
    f.editor.selectAllStations();
    f.editor.save();
    EXPECT_EQ(f.column(meier, "PNL"), stationsWith({0, 5, 12, 63}));
    f.editor.selectNoStations();
    EXPECT_EQ(f.ticked(), "");
    f.tick("S05");
    f.editor.save();
    EXPECT_EQ(f.column(meier, "PNL"), stationsWith({5}));
    EXPECT_TRUE(dialogs.shown.empty());

    // What the rights of a level of kind "B" leave enabled: the data can be changed, the assignment stays,
    // and no resident is deleted.
    ASSERT_TRUE(writeLevelRecord(f.program().settings, 1, {"TRUE", "111111", "B"}));
    f.program().userLevel = 1;
    f.form.residentTabs.setTabEnabled(ResidentPageForm::kTabPlace, false);
    for (Control* c :
         std::initializer_list<Control*>{&f.form.serial, &f.form.secondSerial, &f.form.newResident})
        c->setEnabled(false);
    f.editor.OpenResidentView();
    f.choose("Meier, Anne");
    f.editor.deleteResident();
    f.editor.newResident();
    f.editor.selectAllStations();
    f.editor.selectNoStations();
    f.form.lastName.setText("Meyer");
    f.editor.save();
    EXPECT_EQ(f.column(meier, "Name, PNL"), "Meyer|" + stationsWith({5}));
    EXPECT_FALSE(f.form.residentTabs.tabs()[ResidentPageForm::kTabPlace].enabled);
    EXPECT_FALSE(f.form.serial.enabled() || f.form.deleteResident.enabled() || f.form.newResident.enabled());
}

TEST_F(ResidentPage, NewResidentRefusedWhenIncompleteInsertedWithItsEncodingsAndAskedForATakenSerial) {
    struct Case {
        std::string name, apartment, serial, refusal;
    };
    const Case cases[] = {
        {"   ", "", "", "Sie müssen einen Namen eingeben!"},
        {"Lang", "", "", "Sie müssen eine Wohnungsnummer eingeben!"},
        {"Lang", "7", "", "Sie müssen eine Seriennummer im Bereich 1 - 999.999 eingeben!"},
        {"Lang", "7", "000000", "Sie müssen einen Seriennummer im Bereich 1 - 999.999 eingeben!"},
        {"\n\t", "7", "1", "Sie müssen einen Namen eingeben!"},  // control characters are no name either
    };
    for (const Case& c : cases) {
        f.type(c.name, "", c.apartment, c.serial);
        f.editor.save();
        f.expectLastBox({c.refusal, "PNL Fernwartung", MsgIcon::Information, MsgButtons::Ok});
    }
    EXPECT_EQ(f.shown(), "\n\t||7|1||");  // the form keeps its contents
    // Completed, it is a new row that stays chosen; only this save is logged.
    const std::string name = std::string(30, 'x') + std::string(20, 'y');
    f.type("  " + name + "yyyyyyyyyy ", " Anna\nMaria ", "A12", "4712", "000000");
    f.tick("S05");
    f.tick("S12");
    f.editor.save();
    EXPECT_EQ(dialogs.shown.size(), 5u);
    const std::int64_t id = kraus + 1;
    EXPECT_EQ(f.column(id, "Name, Vorname, Wnr, sernr, AUSLOESUNG, code, Bemerkung"),
              name + "|Anna Maria|A12|4712|,,000000|0|frei");
    EXPECT_EQ(f.column(id, "PNL"), stationsWith({5, 12}));
    EXPECT_EQ(f.form.residentChoice.text(), name + ", Anna Maria");
    EXPECT_EQ(f.editing(), std::to_string(id) + "/4712");
    EXPECT_EQ(f.inst.logTexts(), (std::vector<std::string>{"Bewohnerdatensatz: A12 wurde geaendert."}));
    EXPECT_EQ(notices, std::vector<std::string>{"Gespeichert: " + name + ", Anna Maria"});

    // A taken serial number: "Abbrechen" saves nothing and keeps the typed resident.
    f.editor.newResident();
    f.type("Lang", "Eva", "16", "4711");
    dialogs.answer(MsgAnswer::Cancel);
    f.editor.save();
    // The question names whose record "Ja" would overwrite; Enter, Escape and the close box mean "Abbrechen".
    f.expectLastBox({kOverwriteOrNew + "\n\nDie Seriennummer gehört zu Meier, Anna, Wohnung 12.",
                     "Datensatz sichern", MsgIcon::None, MsgButtons::YesNoCancel, MsgAnswer::Cancel});
    EXPECT_TRUE(f.editor.hasUnsavedChanges());
    EXPECT_EQ(f.editing(), std::to_string(id) + "/keine");
    // "Nein": a second row with the same serial number, then the editor's row.
    dialogs.answer(MsgAnswer::No);
    f.editor.save();
    const std::int64_t lang = kraus + 2;
    EXPECT_EQ(f.column(lang, "Name, sernr"), "Lang|4711");
    EXPECT_EQ(f.editing(), std::to_string(lang) + "/4711");
    // Both rows are listed with the same text; each entry selects its own row through its item data.
    f.editor.showBySerial();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"004711", "004711", "004712", "005000"}));
    f.choose("004711", 0);
    EXPECT_EQ(f.form.lastName.text(), "Meier");
    f.choose("004711", 1);
    EXPECT_EQ(f.form.lastName.text(), "Lang");
    // "Ja": the first row with that serial number takes over the form and is shown afterwards.
    f.editor.newResident();
    f.type("Berger", "Eva", "18", "4711", "", "1234");
    dialogs.answer(MsgAnswer::Yes);
    f.editor.save();
    EXPECT_EQ(dialogs.shown.size(), 8u);
    EXPECT_EQ(f.column(meier, "Name, code"), "Berger|1234");
    EXPECT_EQ(f.column(lang, "Name"), "Lang");
    EXPECT_EQ(f.editing(), std::to_string(meier) + "/4711");
}

TEST_F(ResidentPage, ShownResidentKeepsItsRowTheOtherProgramsColumnsAndApartmentNumbers) {
    ASSERT_TRUE(
        f.db().exec("UPDATE BEWOHNER SET Bemerkung = 'Hund', Telefon = '0711' WHERE ID = ?", {meier}));
    f.choose("Meier, Anna");
    // Its number typed with leading zeros is the same number: no question.
    f.form.lastName.setText("Meyer");
    f.form.serial.setText("004711");
    f.editor.save();
    EXPECT_EQ(f.column(meier, "Name, sernr, Bemerkung, Telefon"), "Meyer|4711|Hund|0711");
    // A free number: the shown row takes it, stays shown under it, and a second save updates it again.
    f.form.serial.setText("4712");
    f.editor.save();
    EXPECT_EQ(f.editing(), std::to_string(meier) + "/4712");
    f.form.firstName.setText("Anne");
    f.editor.save();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(f.column(meier, "Name, Vorname, sernr"), "Meyer|Anne|4712");
    // A taken number asks OK/Cancel; Cancel writes nothing; OK: the other row takes the form's data.
    f.type("Schulz", "Uwe", "20", "5000", "123");
    dialogs.answer(MsgAnswer::Cancel);
    f.editor.save();
    f.expectLastBox({kOverwriteOk + "\n\nDie Seriennummer gehört zu Kraus, Otto, Wohnung 14.",
                     "Datensatz sichern", MsgIcon::None, MsgButtons::OkCancel, MsgAnswer::Cancel});
    EXPECT_EQ(f.column(kraus, "Name"), "Kraus");
    dialogs.answer(MsgAnswer::Ok);
    f.editor.save();
    EXPECT_EQ(f.column(kraus, "Name, Wnr, AUSLOESUNG"), "Schulz|20|,,000123");
    EXPECT_EQ(f.column(meier, "Name, sernr"), "Meyer|4712");
    // Every save that passed the checks is logged, also the one cancelled.
    EXPECT_EQ(f.inst.logTexts().size(), 5u);

    // Another program stored apartment numbers the eight-position mask cannot show: kept unless edited.
    ASSERT_TRUE(
        f.db().exec("UPDATE BEWOHNER SET Wnr = CASE ID WHEN ? THEN 'A-12-345' ELSE 'B/7' END", {meier}));
    f.choose("Meyer, Anne");
    f.form.firstName.setText("Ann");
    f.editor.save();
    EXPECT_EQ(f.column(meier, "Vorname, Wnr"), "Ann|A-12-345");
    f.choose("Meyer, Ann");
    f.form.apartment.setText("A12346");
    f.editor.save();
    EXPECT_EQ(f.column(meier, "Wnr"), "A12346");
    // A new resident after the shown one takes what is typed, not the shown resident's stored number.
    f.choose("Schulz, Uwe");
    f.editor.newResident();
    f.type("Neu", "Nina", "B7", "6000");
    f.editor.save();
    EXPECT_EQ(f.column(kraus, "Wnr"), "B/7");
    EXPECT_EQ(f.first("SELECT Wnr FROM BEWOHNER WHERE sernr = 6000"), "B7");
    // A write the database refuses is reported and changes nothing.
    ASSERT_TRUE(
        f.db().exec("CREATE TRIGGER locked BEFORE UPDATE ON BEWOHNER BEGIN SELECT RAISE(ABORT, 'x'); END"));
    f.form.lastName.setText("Neuer");
    f.editor.save();
    f.expectLastBox({"Der Bewohnerdatensatz konnte nicht gespeichert werden!", "PNL Fernwartung",
                     MsgIcon::Critical, MsgButtons::Ok});
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(f.first("SELECT Name FROM BEWOHNER WHERE sernr = 6000"), "Neu");
}

TEST_F(ResidentPage, DeleteAsksNamingTheResidentAndAFormTypedAfterwardsIsANewRow) {
    f.editor.deleteResident();  // nothing shown yet: nothing to delete
    f.choose("Meier, Anna");
    dialogs.answer(MsgAnswer::No);
    f.editor.deleteResident();
    f.expectLastBox({"Bewohner Meier, Anna (Wohnung 12) löschen?", "Bewohner löschen", MsgIcon::Question,
                     MsgButtons::YesNo, MsgAnswer::No});
    EXPECT_EQ(f.rowCount(), 2);
    EXPECT_EQ(f.form.lastName.text(), "Meier");
    dialogs.answer(MsgAnswer::Yes);
    f.editor.deleteResident();
    EXPECT_EQ(f.column(meier, "Name"), "<no row>");
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"Kraus, Otto"}));
    EXPECT_EQ(f.shown(), "|||||");
    EXPECT_EQ(f.editing(), std::to_string(meier) + "/4711");
    EXPECT_EQ(f.inst.logTexts(), (std::vector<std::string>{"Bewohnerdatensatz: Meier geloescht."}));
    EXPECT_EQ(notices, std::vector<std::string>{"Gelöscht: Meier, Anna"});
    // The row is gone: a second click neither asks nor logs.
    f.editor.deleteResident();
    EXPECT_EQ(f.inst.logTexts().size(), 1u);
    EXPECT_TRUE(f.table().eof());  // the cleared form leaves the cursor past the last row

    // The editor still names the deleted row: its serial number typed again and saved twice is one new row.
    f.type("Meier", "Anna", "12", "4711");
    f.editor.save();
    f.editor.save();
    EXPECT_EQ(f.rowCount(), 2);
    EXPECT_EQ(f.editing(), std::to_string(kraus + 1) + "/4711");
    // Deleted again, a new serial number is a new row too; the row after it stays as it was.
    dialogs.answer(MsgAnswer::Yes);
    f.editor.deleteResident();
    f.type("Neu", "Nina", "18", "6000");
    f.editor.save();
    EXPECT_EQ(dialogs.shown.size(), 3u);  // the delete questions only
    EXPECT_EQ(f.column(kraus, "Name"), "Kraus");
    EXPECT_EQ(f.first("SELECT count(*), Name FROM BEWOHNER WHERE sernr = 6000"), "1|Neu");
    EXPECT_EQ(f.rowCount(), 2);
}

TEST_F(ResidentPage, SaveIsOfferedForChangesAndLeavingThemAsksAndEachAnswerDoesWhatItSays) {
    EXPECT_FALSE(f.form.saveResident.enabled());
    f.choose("Meier, Anna");
    EXPECT_FALSE(f.form.saveResident.enabled());
    f.form.lastName.setText("Meiers");
    EXPECT_TRUE(f.form.saveResident.enabled());

    // "Abbrechen": the form, the list's choice and the display mode stay.
    dialogs.answer(MsgAnswer::Cancel);
    f.choose("Kraus, Otto");
    f.expectLastBox({"Sollen die Änderungen an Bewohner Meiers, Anna (Wohnung 12) gesichert werden?",
                     "Datensatz sichern", MsgIcon::Question, MsgButtons::YesNoCancel});
    EXPECT_EQ(f.form.residentChoice.text(), "Meier, Anna");
    dialogs.answer(MsgAnswer::Cancel);
    f.form.byApartment.setChecked(true);
    f.editor.showByApartment();
    EXPECT_TRUE(f.form.byName.checked());
    EXPECT_EQ(f.entries().front(), "Kraus, Otto");
    dialogs.answer(MsgAnswer::Cancel);
    f.editor.newResident();
    EXPECT_EQ(f.form.lastName.text(), "Meiers");
    // "Nein": the change is dropped, the other resident shows.
    dialogs.answer(MsgAnswer::No);
    f.choose("Kraus, Otto");
    EXPECT_EQ(f.form.lastName.text(), "Kraus");
    EXPECT_EQ(f.column(meier, "Name"), "Meier");
    // "Ja": saved first, then the resident chosen shows.
    f.form.firstName.setText("Bert");
    dialogs.answer(MsgAnswer::Yes);
    f.choose("Meier, Anna");
    EXPECT_EQ(f.column(kraus, "Vorname"), "Bert");
    EXPECT_EQ(f.shown(), "Meier|Anna|12|4711||");
    EXPECT_EQ(f.form.residentChoice.text(), "Meier, Anna");
    EXPECT_FALSE(f.form.saveResident.enabled());
    // A save that is refused keeps the user on the resident.
    f.form.lastName.setText("");
    dialogs.answer(MsgAnswer::Yes);
    f.editor.newResident();
    EXPECT_EQ(dialogs.texts().back(), "Sie müssen einen Namen eingeben!");
    EXPECT_EQ(f.shown(), "|Anna|12|4711||");
}

TEST_F(ResidentPage, TheListBesideTheFormFindsAndShowsResidentsAndDeleteNeedsAShownOne) {
    const auto muller = f.addRow("Müller", "Anna", "A1", std::int64_t{100});
    f.addRow("Böhm", "Lutz", "B2", std::int64_t{200});
    f.editor.OpenResidentView();
    int changes = 0;
    f.editor.residentsChanged = [&] { ++changes; };
    const auto listed = [this] {
        std::vector<std::string> names;
        for (int index : f.form.residentList.shown())
            names.push_back(f.form.residentList.rows().at(static_cast<std::size_t>(index)).cells.at(0));
        return names;
    };
    const auto pick = [this](std::int64_t id) {
        f.form.residentList.setChosen(id);
        f.editor.residentPicked();
    };
    EXPECT_EQ(listed(),
              (std::vector<std::string>{"Böhm, Lutz", "Kraus, Otto", "Meier, Anna", "Müller, Anna"}));
    EXPECT_FALSE(f.form.deleteResident.enabled());

    struct Search {
        const char* what;
        std::string typed;
        std::vector<std::string> found;
        std::string count;
    };
    const Search searches[] = {
        {"umlaut spelled out", "mueller", {"Müller, Anna"}, "1 von 4 Bewohnern"},
        {"first name and apartment", "anna 12", {"Meier, Anna"}, "1 von 4 Bewohnern"},
        {"serial number", "5000", {"Kraus, Otto"}, "1 von 4 Bewohnern"},
        {"no one", "xyz", {}, "0 von 4 Bewohnern"},
        {"nothing typed", "", {"Böhm, Lutz", "Kraus, Otto", "Meier, Anna", "Müller, Anna"}, "4 Bewohner"},
    };
    for (const Search& search : searches) {
        f.form.listSearch.setText(search.typed);
        f.editor.listSearchChanged();
        EXPECT_EQ(listed(), search.found) << search.what;
        EXPECT_EQ(f.form.listCount.caption(), search.count) << search.what;
    }

    // A row chosen shows its resident, as the drop-down does; now there is one to delete.
    pick(kraus);
    EXPECT_EQ(f.shown(), "Kraus|Otto|14|5000||");
    EXPECT_EQ(f.form.residentChoice.text(), "Kraus, Otto");
    EXPECT_TRUE(f.form.deleteResident.enabled());
    // Unsaved changes: "Abbrechen" stays with them, and the list names the resident in the form again.
    f.form.firstName.setText("Ottmar");
    dialogs.answer(MsgAnswer::Cancel);
    pick(meier);
    EXPECT_EQ(f.shown(), "Kraus|Ottmar|14|5000||");
    EXPECT_EQ(f.form.residentList.chosen(), std::optional<std::int64_t>(kraus));
    dialogs.answer(MsgAnswer::No);
    pick(muller);
    EXPECT_EQ(f.shown(), "Müller|Anna|A1|100||");

    // A save and a delete fill the list anew and are counted; after the delete nothing is left to delete.
    f.form.lastName.setText("Adler");
    f.editor.save();
    EXPECT_EQ(listed().front(), "Adler, Anna");
    EXPECT_EQ(f.form.residentList.chosen(), std::optional<std::int64_t>(muller));
    dialogs.answer(MsgAnswer::Yes);
    f.editor.deleteResident();
    EXPECT_EQ(f.form.listCount.caption(), "3 Bewohner");
    EXPECT_FALSE(f.form.residentList.chosen());
    EXPECT_FALSE(f.form.deleteResident.enabled());
    EXPECT_EQ(changes, 2);
    pick(kraus);
    f.editor.newResident();
    EXPECT_FALSE(f.form.deleteResident.enabled());
}

TEST(ResidentTable, FindsOnlyWhatItIsAskedKeepsItsCursorAcrossWritesAndSeesOtherConnections) {
    ResidentFixture f;
    ResidentTable& t = f.table();
    const auto oneill = f.addRow("O'Neill", "Sean", "7", std::int64_t{4711});
    const auto empty = f.addRow("", "", "", DbValue{}, "", DbValue{}, "");
    EXPECT_TRUE(t.findNameEntryAndId("O'Neill, Sean", oneill));
    // A quote can never change the query: no match, and the cursor stays on O'Neill.
    EXPECT_FALSE(t.findNameEntryAndId("x' OR '1'='1", oneill));
    EXPECT_TRUE(t.noMatch());
    EXPECT_EQ(t.current().firstName, "Sean");
    EXPECT_FALSE(t.findApartmentAndId("7", empty));  // O'Neill's apartment under another ID
    EXPECT_TRUE(t.findId(empty));
    EXPECT_FALSE(t.noMatch());

    // An insert with the cursor past the last row leaves it there: no later update lands on the new row.
    t.moveNext();
    ASSERT_TRUE(t.eof());
    const auto inserted = t.insert(row("Zander", 5000));
    ASSERT_TRUE(inserted.written && inserted.id);
    EXPECT_TRUE(t.eof());
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    // Delete: no row is current until the next move, which goes on with the row that followed.
    ASSERT_TRUE(t.findId(empty));
    ASSERT_TRUE(t.deleteCurrent());
    EXPECT_EQ(t.current().name, "");
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    t.moveNext();
    EXPECT_EQ(t.current().id, inserted.id);
    EXPECT_EQ(f.first("SELECT group_concat(Name) FROM BEWOHNER"), "O'Neill,Zander");
    // Binding adds nothing to the schema: the file goes back into the shared database at a commit.
    EXPECT_EQ(f.first("SELECT count(*) FROM sqlite_master WHERE type = 'index'"), "0");
    // A row written through another connection is seen.
    auto other = Database::open(f.inst.path(kDatabaseCopy));
    ASSERT_TRUE(other->exec("INSERT INTO BEWOHNER (Name, sernr) VALUES ('Lang', 99)"));
    EXPECT_EQ(t.count(), 3);
    EXPECT_TRUE(t.findSerial(99));
    EXPECT_EQ(t.current().name, "Lang");
    ASSERT_TRUE(t.findId(oneill));
    ASSERT_TRUE(t.deleteCurrent());
    // Another program adds a column: the cursor reads the table again, and still no row is current.
    ASSERT_TRUE(other->exec("ALTER TABLE BEWOHNER ADD COLUMN Extra TEXT"));
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.current().name, "");
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    EXPECT_EQ(f.column(*inserted.id, "Name"), "Zander");
    t.moveNext();
    EXPECT_EQ(t.current().id, inserted.id);
}

TEST(ResidentTable, WorksOnAForeignSixteenColumnTableWithNulls) {
    ResidentFixture f(kForeignSchema);
    ASSERT_TRUE(
        f.db().exec("INSERT INTO bewohner (Etage, NAME, SERNR, wnr, Bemerkung) VALUES (3, 'Kraus', 17, "
                    "'B7', 'Hund')"));
    ASSERT_TRUE(f.db().exec("INSERT INTO bewohner (Etage) VALUES (1)"));  // NULL in every program column
    ResidentTable& t = f.table();
    t.moveFirst();
    const Resident kraus = t.current();
    EXPECT_EQ(kraus.name + "|" + kraus.apartment + "|" + std::to_string(*kraus.serial), "Kraus|B7|17");
    t.moveNext();
    const Resident nulls = t.current();
    EXPECT_EQ(nulls.id, std::optional<std::int64_t>{2});
    EXPECT_EQ(nulls.name + nulls.firstName + nulls.apartment, "");
    EXPECT_FALSE(nulls.serial);  // no serial number: the transfer sends no second one either
    EXPECT_EQ(nulls.secondSerial + nulls.code, 0);
    EXPECT_TRUE(nulls.stations.none());

    // Writes leave the other program's columns alone and skip the missing PNL.
    ASSERT_TRUE(t.findSerial(17));
    ASSERT_TRUE(t.update(row("Krause", 18)));
    EXPECT_EQ(f.first("SELECT Etage, Bemerkung, NAME, VORNAME FROM bewohner WHERE id = 1"),
              "3|Hund|Krause|Eva");
    const auto inserted = t.insert(row("Neu", 19));
    EXPECT_EQ(inserted.id, std::optional<std::int64_t>{3});
    EXPECT_EQ(f.first("SELECT Sprache, Aktiv FROM bewohner WHERE id = 3"), "de|1");

    // The start-up adds PNL to a 16-column table: the bound cursor picks it up.
    ASSERT_TRUE(f.db().exec("ALTER TABLE bewohner ADD COLUMN PNL VARCHAR(100)"));
    ASSERT_TRUE(t.findId(3));
    Resident assigned = row("Neu", 19);
    assigned.stations.set(0);
    ASSERT_TRUE(t.update(assigned));
    EXPECT_EQ(f.first("SELECT PNL FROM bewohner WHERE id = 3"), stationsWith({0}));
    EXPECT_EQ(t.current().stations, assigned.stations);
}

TEST(ResidentTable, NumbersRowsOfAPlainIdColumnAndAnInsertWhoseIdCannotBeReadIsKeptOnce) {
    ResidentFixture f(kPlainIdSchema);
    ASSERT_TRUE(f.db().exec("INSERT INTO BEWOHNER (ID, Name) VALUES (41, 'Alt')"));
    const auto inserted = f.table().insert(row("Neu", 5));
    EXPECT_EQ(inserted.id, std::optional<std::int64_t>{42});
    EXPECT_TRUE(f.table().findId(42));
    EXPECT_EQ(f.table().current().name, "Neu");
    EXPECT_EQ(f.first("SELECT count(*) FROM sqlite_master WHERE type = 'index'"), "0");  // nor for this ID
    // A trigger of another program takes the page's new row's ID away: saved again, it is not written twice.
    ASSERT_TRUE(
        f.db().exec("CREATE TRIGGER lose AFTER INSERT ON BEWOHNER BEGIN UPDATE BEWOHNER SET ID = NULL "
                    "WHERE rowid = new.rowid; END"));
    f.editor.OpenResidentView();
    f.type("Meier", "Anna", "12", "4711");
    f.editor.save();
    EXPECT_EQ(f.editing(), "keine/4711");
    f.form.lastName.setText("Meyer");
    f.editor.save();
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    EXPECT_EQ(f.first("SELECT count(*), Name FROM BEWOHNER WHERE sernr = 4711"), "1|Meier");

    ResidentFixture none("CREATE TABLE ANDERE (x TEXT)");
    EXPECT_FALSE(none.table().bound());
    EXPECT_EQ(none.table().count(), 0);
    EXPECT_FALSE(none.table().findId(1));
    EXPECT_FALSE(none.table().insert(row("Neu", 5)).written);
}

TEST(ResidentFields, ForeignSecondSerialsAndCodesAndTypedNames) {
    const std::pair<std::string, int> seconds[] = {
        {",,004711", 4711}, {"", 0}, {"12,34", 0}, {",,abc", 0}, {"x,y,999999,z", 999999}};
    for (const auto& [stored, serial] : seconds)
        EXPECT_EQ(decodeSecondSerial(stored), serial) << stored;
    const std::pair<std::string, int> codes[] = {{"10000", 0}, {"-5", 0}, {"", 0}, {"9999", 9999}, {"1", 1}};
    for (const auto& [stored, code] : codes)
        EXPECT_EQ(decodeCode(stored), code) << stored;
    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += "ü";
    EXPECT_EQ(storedName(sixty), sixty.substr(0, 100));  // 50 characters, not 50 bytes
    EXPECT_EQ(cleanText("M\xfcller"), "Müller");         // a Latin-1 byte becomes its character
    EXPECT_EQ(cleanText("a\x7f\xc2\x85z"), "a  z");      // DEL and the C1 control NEL
    EXPECT_EQ(cleanText("\xed\xa0\x80x"), "x");          // an encoded surrogate is no character
    EXPECT_EQ(cleanText("Schmidt|Meier"), "Schmidt|Meier");
}

}  // namespace pnl::test
