#include <gtest/gtest.h>

#include "resident_fixture.h"

namespace pnl::test {

namespace {

const std::string kOverwriteOk =
    "Es existiert bereits ein Datensatz mit dieser Seriennummer!\n\rVorhanden Datensatz überschreiben ?";
const std::string kOverwriteOrNew =
    "Es existiert bereits ein Datensatz mit dieser Seriennummer!\r\nVorhanden Datensatz überschreiben (Ja), "
    "oder "
    "neuen\r\nDatensatz anlegen (Nein)?";

}  // namespace

TEST(ResidentSave, RefusesIncompleteFormsInOrderAndWritesNothing) {
    ResidentFixture f;
    f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    f.editor.OpenResidentView();

    f.type("   ", "", "", "");
    f.editor.CmdBWSave_Click();
    f.type("Kraus", "", "", "");
    f.editor.CmdBWSave_Click();
    f.type("Kraus", "", "7", "");
    f.editor.CmdBWSave_Click();
    f.type("Kraus", "", "7", "000000");
    f.editor.CmdBWSave_Click();
    f.type("\n\t", "", "7", "1");  // nothing but control characters is no name either
    f.editor.CmdBWSave_Click();

    EXPECT_EQ(f.inst.dialogs.texts(),
              (std::vector<std::string>{"Sie müssen einen Namen eingeben!",
                                        "Sie müssen eine Wohnungsnummer eingeben!",
                                        "Sie müssen eine Seriennummer im Bereich 1 - 999.999 eingeben!",
                                        "Sie müssen einen Seriennummer im Bereich 1 - 999.999 eingeben!",
                                        "Sie müssen einen Namen eingeben!"}));
    for (const auto& box : f.inst.dialogs.shown) {
        EXPECT_EQ(box.title, "PNL Fernwartung");
        EXPECT_EQ(box.icon, MsgIcon::Information);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.form.TxtBWWNr.text(), "7");  // the form keeps its contents
    EXPECT_FALSE(f.inst.exists("log/06122026.log"));
}

TEST(ResidentSave, NewResidentIsInsertedWithItsEncodings) {
    ResidentFixture f;
    f.editor.OpenResidentView();
    f.type("  " + std::string(30, 'x') + std::string(30, 'y') + " ", " Anna\nMaria ", "A12", "4711", "000000",
           "");
    f.form.TrVwPNL.setChecked(f.form.TrVwPNL.findKey("S05"), true);
    f.form.TrVwPNL.setChecked(f.form.TrVwPNL.findKey("S12"), true);
    f.editor.CmdBWSave_Click();

    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    ASSERT_EQ(f.rowCount(), 1);
    const std::int64_t id = 1;
    EXPECT_EQ(f.column(id, "Name"), std::string(30, 'x') + std::string(20, 'y'));
    EXPECT_EQ(f.column(id, "Vorname"), "Anna Maria");
    EXPECT_EQ(f.column(id, "Wnr"), "A12");
    EXPECT_EQ(f.column(id, "sernr"), "4711");
    EXPECT_EQ(f.column(id, "AUSLOESUNG"), ",,000000");
    EXPECT_EQ(f.column(id, "code"), "0");
    std::string stations(64, '0');
    stations[5] = stations[12] = '1';
    EXPECT_EQ(f.column(id, "PNL"), stations);
    EXPECT_EQ(f.column(id, "Bemerkung"), "frei");  // the other program's default

    // The second serial number 000000 was accepted and shown as 0; the form keeps its contents, the list is
    // rebuilt without a selection, and the new row is the editor's row.
    EXPECT_EQ(f.form.txtBwtSnr.text(), "0");
    EXPECT_EQ(f.form.TxtBWWNr.text(), "A12");
    EXPECT_EQ(f.form.CboBewo.listIndex(), -1);
    EXPECT_EQ(f.entries(),
              (std::vector<std::string>{std::string(30, 'x') + std::string(20, 'y') + ", Anna Maria"}));
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");
    EXPECT_EQ(f.editor.CurrentResidentId(), "1");
    EXPECT_EQ(f.logTexts(), (std::vector<std::string>{"Bewohnerdatensatz: A12 wurde geaendert."}));

    // Shown again, the second serial number is blank and exactly the ticked stations are ticked.
    f.editor.CmdBWNeu_Click();
    f.choose(f.entries().front());
    EXPECT_EQ(f.form.txtBwtSnr.text(), "");
    EXPECT_EQ(f.form.TxtBWCode.text(), "");
    for (const auto& node : f.form.TrVwPNL.nodes())
        EXPECT_EQ(node.checked, node.key == "S05" || node.key == "S12") << node.key;

    // Saving again updates the same row (no second insert).
    f.form.TxtBWCode.setText("0815");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.column(id, "code"), "815");
}

TEST(ResidentSave, NewResidentWithATakenSerialNumber) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    f.editor.OpenResidentView();

    // "Nein": a second row with the same serial number.
    f.editor.CmdBWNeu_Click();
    f.type("Kraus", "Otto", "14", "4711");
    f.inst.dialogs.answer(MsgAnswer::No);
    f.editor.CmdBWSave_Click();
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    const Message& question = f.inst.dialogs.last();
    EXPECT_EQ(question.text, kOverwriteOrNew);
    EXPECT_EQ(question.title, "Datensatz sichern");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::None);
    ASSERT_EQ(f.rowCount(), 2);
    const std::int64_t kraus = meier + 1;
    EXPECT_EQ(f.column(kraus, "Name"), "Kraus");
    EXPECT_EQ(f.column(meier, "Name"), "Meier");
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");
    EXPECT_EQ(f.editor.CurrentResidentId(), std::to_string(kraus));

    // Both rows are listed with the same text; each entry selects its own row through its item data.
    f.editor.OptBWSNR_Click();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"004711", "004711"}));
    f.choose("004711", 0);
    EXPECT_EQ(f.form.TxtBWName.text(), "Meier");
    f.choose("004711", 1);
    EXPECT_EQ(f.form.TxtBWName.text(), "Kraus");

    // "Ja": the first row with that serial number takes over the form; the editor state stays "keine".
    f.editor.CmdBWNeu_Click();
    f.type("Berger", "Eva", "16", "4711", "", "1234");
    f.inst.dialogs.answer(MsgAnswer::Yes);
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.inst.dialogs.last().text, kOverwriteOrNew);
    EXPECT_EQ(f.rowCount(), 2);
    EXPECT_EQ(f.column(meier, "Name"), "Berger");
    EXPECT_EQ(f.column(meier, "code"), "1234");
    EXPECT_EQ(f.column(kraus, "Name"), "Kraus");
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "keine");
    EXPECT_EQ(f.editor.CurrentResidentId(), std::to_string(kraus));  // "Bewohner neu" leaves the ID
    EXPECT_EQ(f.logTexts(), (std::vector<std::string>{"Bewohnerdatensatz: 14 wurde geaendert.",
                                                      "Bewohnerdatensatz: 16 wurde geaendert."}));
}

TEST(ResidentSave, ShownResidentIsUpdatedInPlace) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    ASSERT_TRUE(
        f.db().exec("UPDATE BEWOHNER SET Bemerkung = 'Hund', Telefon = '0711' WHERE ID = ?", {meier}));
    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");
    EXPECT_EQ(f.editor.CurrentResidentId(), std::to_string(meier));

    // A1: same serial number, typed with leading zeros: the same number, no question.
    f.form.TxtBWName.setText("Meyer");
    f.form.TxtBWSnr.setText("004711");
    f.editor.CmdBWSave_Click();
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.column(meier, "Name"), "Meyer");
    EXPECT_EQ(f.column(meier, "Bemerkung"), "Hund");
    EXPECT_EQ(f.column(meier, "Telefon"), "0711");
}

// Another program stored an apartment number that the eight-position mask cannot show: a save that leaves the
// field alone keeps it as stored; an edited field follows the mask.
TEST(ResidentSave, ApartmentNumberTheMaskCannotShowIsKeptUnlessEdited) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "A-12-345", std::int64_t{4711});
    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    EXPECT_EQ(f.form.TxtBWWNr.text(), "A12345");
    f.form.TxtBWVorn.setText("Anne");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(meier, "Vorname"), "Anne");
    EXPECT_EQ(f.column(meier, "Wnr"), "A-12-345");

    f.choose("Meier, Anne");
    f.form.TxtBWWNr.setText("A12346");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(meier, "Wnr"), "A12346");

    // A new resident after the shown one takes what is typed, not the shown resident's stored number.
    const auto kraus = f.addRow("Kraus", "Otto", "B/7", std::int64_t{5000});
    f.editor.OpenResidentView();
    f.choose("Kraus, Otto");
    f.editor.CmdBWNeu_Click();
    f.type("Neu", "Nina", "B7", "6000");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(kraus, "Wnr"), "B/7");
    EXPECT_EQ(f.rowCount(), 3);
    EXPECT_EQ(dbText(f.db().query("SELECT Wnr FROM BEWOHNER WHERE sernr = 6000")->at(0).at(0)), "B7");
}

TEST(ResidentSave, ChangedSerialNumberOfTheShownResident) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    const auto kraus = f.addRow("Kraus", "Otto", "14", std::int64_t{5000});
    f.editor.OpenResidentView();

    // A2 to a free number: the shown row gets it, the editor state keeps the old number.
    f.choose("Meier, Anna");
    f.form.TxtBWSnr.setText("4712");
    f.editor.CmdBWSave_Click();
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    EXPECT_EQ(f.column(meier, "sernr"), "4712");
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");

    // Saving again without reselecting finds its own row under the new number and asks OK/Cancel.
    f.form.TxtBWVorn.setText("Anne");
    f.inst.dialogs.answer(MsgAnswer::Cancel);
    f.editor.CmdBWSave_Click();
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.inst.dialogs.last().text, kOverwriteOk);
    EXPECT_EQ(f.inst.dialogs.last().title, "Datensatz sichern");
    EXPECT_EQ(f.inst.dialogs.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(f.inst.dialogs.last().icon, MsgIcon::None);
    EXPECT_EQ(f.column(meier, "Vorname"), "Anna");  // Cancel writes nothing
    f.inst.dialogs.answer(MsgAnswer::Ok);
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(meier, "Vorname"), "Anne");
    EXPECT_EQ(f.rowCount(), 2);

    // A2 to a taken number, OK: the other row takes over the form's data, the shown row stays as it was.
    f.choose("Meier, Anne");
    f.type("Schulz", "Uwe", "20", "5000", "123");
    f.inst.dialogs.answer(MsgAnswer::Ok);
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.inst.dialogs.last().text, kOverwriteOk);
    EXPECT_EQ(f.column(kraus, "Name"), "Schulz");
    EXPECT_EQ(f.column(kraus, "Wnr"), "20");
    EXPECT_EQ(f.column(kraus, "AUSLOESUNG"), ",,000123");
    EXPECT_EQ(f.column(meier, "Name"), "Meier");
    EXPECT_EQ(f.column(meier, "sernr"), "4712");
    EXPECT_EQ(f.rowCount(), 2);
    // The log line comes with every save that passed the checks, also the one cancelled.
    EXPECT_EQ(f.logTexts().size(), 4u);
}

TEST(ResidentSave, ARowDeletedMeanwhileBecomesOneNewRow) {
    ResidentFixture f;
    f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    f.editor.CmdBWDel_Click();
    ASSERT_EQ(f.rowCount(), 0);
    // The form was cleared but the editor still names the deleted row: type it again and save twice.
    f.type("Meier", "Anna", "12", "4711");
    f.editor.CmdBWSave_Click();
    f.editor.CmdBWSave_Click();
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.editor.CurrentResidentId(), "2");
}

TEST(ResidentSave, ANewSerialNumberAfterADeleteIsANewRow) {
    ResidentFixture f;
    f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    const auto kraus = f.addRow("Kraus", "Otto", "14", std::int64_t{5000});
    const auto lang = f.addRow("Lang", "Eva", "16", std::int64_t{5001});
    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    f.editor.CmdBWDel_Click();
    f.type("Neu", "Nina", "18", "6000");
    f.editor.CmdBWSave_Click();
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    EXPECT_EQ(f.rowCount(), 3);
    EXPECT_EQ(f.column(kraus, "Name"), "Kraus");
    EXPECT_EQ(f.column(lang, "Name"), "Lang");
    EXPECT_EQ(dbText(f.db().query("SELECT Name FROM BEWOHNER WHERE sernr = 6000")->at(0).at(0)), "Neu");
}

TEST(ResidentSave, InsertWhoseIdCannotBeReadAndAnUnchangedSecondSave) {
    // A trigger of another program takes the new row's ID away.
    ResidentFixture f(
        "CREATE TABLE BEWOHNER (ID INTEGER, Name TEXT, Vorname TEXT, Wnr TEXT, sernr INTEGER, AUSLOESUNG "
        "TEXT, "
        "code INTEGER, PNL TEXT)");
    ASSERT_TRUE(f.db().exec(
        "CREATE TRIGGER lose AFTER INSERT ON BEWOHNER BEGIN UPDATE BEWOHNER SET ID = NULL WHERE rowid = "
        "new.rowid; END"));
    f.editor.OpenResidentView();
    f.type("Meier", "Anna", "12", "4711");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");
    EXPECT_EQ(f.editor.CurrentResidentId(), "keine");
    // A3: the same serial number again writes nothing.
    f.form.TxtBWName.setText("Meyer");
    f.editor.CmdBWSave_Click();
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(dbText(f.db().query("SELECT Name FROM BEWOHNER")->front().at(0)), "Meier");
}

TEST(ResidentSave, AWriteTheDatabaseRefusesIsReported) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    ASSERT_TRUE(f.db().exec(
        "CREATE TRIGGER locked BEFORE UPDATE ON BEWOHNER BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    f.form.TxtBWName.setText("Meyer");
    f.editor.CmdBWSave_Click();
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.inst.dialogs.last().text, "Der Bewohnerdatensatz konnte nicht gespeichert werden!");
    EXPECT_EQ(f.inst.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_EQ(f.column(meier, "Name"), "Meier");
}

}  // namespace pnl::test
