#include <gtest/gtest.h>

#include "resident_fixture.h"

namespace pnl::test {

namespace {

std::vector<std::int32_t> itemData(const ComboBox& list) {
    std::vector<std::int32_t> data;
    for (const auto& item : list.items())
        data.push_back(item.data);
    return data;
}

std::string assignment(std::initializer_list<int> stations) {
    std::string value(64, '0');
    for (int k : stations)
        value[k] = '1';
    return value;
}

}  // namespace

TEST(ResidentView, OpensInNameModeAndListsEachModeInOrder) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    const auto nameless = f.addRow("", "Bernd", "9", std::int64_t{99});
    const auto zander = f.addRow("Zander", "", "", std::int64_t{100000});
    const auto abel = f.addRow("Abel", "Karl", "3", DbValue{});
    const auto five = f.addRow("Fünf", "Fritz", "", std::int64_t{5});
    f.form.SSTabBewo.setTab(1);
    f.editor.OpenResidentView();

    EXPECT_TRUE(f.form.OptBWName.checked());
    EXPECT_EQ(f.form.SSTabBewo.tab(), 0);
    EXPECT_EQ(f.entries(),
              (std::vector<std::string>{"Abel, Karl", "Fünf, Fritz", "Meier, Anna", "Zander, "}));
    EXPECT_EQ(
        itemData(f.form.CboBewo),
        (std::vector<std::int32_t>{static_cast<std::int32_t>(abel), static_cast<std::int32_t>(five),
                                   static_cast<std::int32_t>(meier), static_cast<std::int32_t>(zander)}));
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "keine");
    EXPECT_EQ(f.editor.CurrentResidentId(), "keine");

    // The station tree: labelled stations only, in station order; station 7 has no label.
    std::vector<std::pair<std::string, std::string>> nodes;
    for (const auto& node : f.form.TrVwPNL.nodes())
        nodes.emplace_back(node.key, node.text);
    EXPECT_EQ(nodes,
              (std::vector<std::pair<std::string, std::string>>{
                  {"S00", "Haupteingang"}, {"S05", "Nebeneingang"}, {"S12", "Tiefgarage"}, {"S63", "Hof"}}));

    // Serial numbers with leading zeros sort numerically; a row without one is not listed.
    f.editor.OptBWSNR_Click();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"000005", "000099", "004711", "100000"}));
    EXPECT_EQ(itemData(f.form.CboBewo).at(1), nameless);
    f.choose("000099");
    EXPECT_EQ(f.form.TxtBWVorn.text(), "Bernd");
    EXPECT_EQ(f.form.TxtBWSnr.text(), "99");

    // A change of mode rebuilds the list without a selection but keeps the form.
    f.editor.OptBWWNr_Click();
    EXPECT_TRUE(f.form.OptBWWNr.checked());
    EXPECT_FALSE(f.form.OptBWSNR.checked());
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"12", "3", "9"}));
    EXPECT_EQ(f.form.CboBewo.listIndex(), -1);
    EXPECT_EQ(f.form.TxtBWVorn.text(), "Bernd");
    f.choose("3");
    EXPECT_EQ(f.form.TxtBWName.text(), "Abel");
    EXPECT_EQ(f.form.TxtBWSnr.text(), "");
    EXPECT_EQ(f.editor.CurrentResidentId(), std::to_string(abel));
}

TEST(ResidentView, SelectsOddNamesAndClearsTheFormForAVanishedRow) {
    ResidentFixture f;
    f.addRow("Müller, Schmidt", "Eva", "1", std::int64_t{1});
    f.addRow("O'Neill", "Sean", "2", std::int64_t{2});
    const auto gone = f.addRow("Weg", "Max", "3", std::int64_t{3});
    f.editor.OpenResidentView();

    // A surname holding a comma is found through the whole entry.
    f.choose("Müller, Schmidt, Eva");
    EXPECT_EQ(f.form.TxtBWName.text(), "Müller, Schmidt");
    EXPECT_EQ(f.form.TxtBWVorn.text(), "Eva");
    f.choose("O'Neill, Sean");
    EXPECT_EQ(f.form.TxtBWName.text(), "O'Neill");
    EXPECT_EQ(f.form.TxtBWWNr.text(), "2");

    // The row of an entry was deleted by another program: the form is cleared.
    ASSERT_TRUE(f.db().exec("DELETE FROM BEWOHNER WHERE ID = ?", {gone}));
    f.choose("Weg, Max");
    EXPECT_EQ(f.form.TxtBWName.text(), "");
    EXPECT_EQ(f.form.TxtBWWNr.text(), "");
    EXPECT_EQ(f.form.CboBewo.listIndex(), -1);
    EXPECT_EQ(f.editor.CurrentResidentId(), "2");  // the editor state is not touched by a miss
}

TEST(ResidentView, ShowsWhatTheFieldsCanHoldOfForeignValues) {
    ResidentFixture f;
    f.addRow("Kurz", "", "7", std::int64_t{4711}, ",,000815", std::int64_t{1234}, "1");
    f.addRow("Fremd", "", "A-12-345", std::int64_t{1234567}, "kaputt", std::int64_t{10000}, "   ");
    f.editor.OpenResidentView();
    f.choose("Kurz, ");
    EXPECT_EQ(f.form.txtBwtSnr.text(), "815");
    EXPECT_EQ(f.form.TxtBWCode.text(), "1234");
    EXPECT_TRUE(f.form.TrVwPNL.node(0).checked);  // "1": station 0 alone

    f.choose("Fremd, ");
    EXPECT_EQ(f.form.TxtBWSnr.text(), "");  // seven digits do not fit: blank, not the last resident's number
    EXPECT_EQ(f.form.txtBwtSnr.text(), "");
    EXPECT_EQ(f.form.TxtBWCode.text(), "");
    EXPECT_EQ(f.form.TxtBWWNr.text(), "A12345");
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "1234567");
    for (const auto& node : f.form.TrVwPNL.nodes())
        EXPECT_FALSE(node.checked);

    // Listed whole in the serial mode and selectable there.
    f.editor.OptBWSNR_Click();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"004711", "1234567"}));
    f.choose("1234567");
    EXPECT_EQ(f.form.TxtBWName.text(), "Fremd");
}

TEST(ResidentView, StationAssignmentRoundTripThroughTheTree) {
    ResidentFixture f;
    const auto id = f.addRow("Meier", "Anna", "12", std::int64_t{4711}, ",,000000", std::int64_t{0},
                             assignment({5, 7, 12}));
    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    for (const auto& node : f.form.TrVwPNL.nodes())
        EXPECT_EQ(node.checked, node.key == "S05" || node.key == "S12") << node.key;

    // Nothing changed: nothing is written. Station 7 has no label, so no node: a save drops its "1".
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(id, "PNL"), assignment({5, 7, 12}));
    f.form.TxtBWVorn.setText("Anne");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(id, "PNL"), assignment({5, 12}));

    f.editor.CmdPNLALLSet_Click();
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(id, "PNL"), assignment({0, 5, 12, 63}));
    f.editor.CmdPNLALLDel_Click();
    for (const auto& node : f.form.TrVwPNL.nodes())
        EXPECT_FALSE(node.checked);
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(id, "PNL"), std::string(64, '0'));
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
}

TEST(ResidentView, DeletesAfterItsQuestion) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    f.addRow("Kraus", "Otto", "14", std::int64_t{5000});
    f.editor.OpenResidentView();
    f.editor.CmdBWDel_Click();  // nothing shown yet: nothing to delete
    EXPECT_EQ(f.rowCount(), 2);

    f.choose("Meier, Anna");
    f.inst.dialogs.answer(MsgAnswer::Yes);
    f.editor.CmdBWDel_Click();
    EXPECT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.column(meier, "Name"), "<no row>");
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"Kraus, Otto"}));
    EXPECT_EQ(f.form.TxtBWName.text(), "");
    EXPECT_EQ(f.editor.CurrentResidentId(), std::to_string(meier));
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");
    EXPECT_EQ(f.logTexts(), (std::vector<std::string>{"Bewohnerdatensatz: Meier geloescht."}));

    // The row is gone: a second click does nothing and logs nothing.
    f.editor.CmdBWDel_Click();
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.logTexts().size(), 1u);
    EXPECT_TRUE(f.table().eof());  // the cleared form leaves the cursor past the last row
}

TEST(ResidentView, RespectsTheRightsOfTheUserLevel) {
    ResidentFixture f;
    const auto meier =
        f.addRow("Meier", "Anna", "12", std::int64_t{4711}, ",,000000", std::int64_t{0}, assignment({5}));
    // What the rights of a level of kind "B" leave enabled.
    f.form.SSTabBewo.setTabEnabled(FrBewoControls::kTabPlace, false);
    for (Control* c : std::initializer_list<Control*>{&f.form.TxtBWSnr, &f.form.txtBwtSnr, &f.form.CmdBWDel,
                                                      &f.form.CmdBWNeu})
        c->setEnabled(false);

    f.editor.OpenResidentView();
    f.choose("Meier, Anna");
    f.editor.CmdBWDel_Click();
    f.editor.CmdBWNeu_Click();
    f.editor.CmdPNLALLSet_Click();
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "4711");
    EXPECT_EQ(f.form.TxtBWName.text(), "Meier");

    // The resident data can be changed; the assignment stays as shown.
    f.form.TxtBWName.setText("Meyer");
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.column(meier, "Name"), "Meyer");
    EXPECT_EQ(f.column(meier, "PNL"), assignment({5}));
    EXPECT_FALSE(f.form.SSTabBewo.tabs()[FrBewoControls::kTabPlace].enabled);
    EXPECT_FALSE(f.form.TxtBWSnr.enabled());
    EXPECT_FALSE(f.form.CmdBWDel.enabled());
    EXPECT_FALSE(f.form.CmdBWNeu.enabled());
}

TEST(ResidentView, PageTextsAndCaretOnFocus) {
    ResidentFixture f;
    EXPECT_EQ(f.form.FrBewo.caption(), "Bewohnerdaten");
    EXPECT_EQ(f.form.FrBWAnzeige.caption(), "Anzeigen nach:");
    EXPECT_EQ(f.form.OptBWWNr.caption(), "Wohnungsnummer");
    EXPECT_EQ(f.form.TxtBWSnr.tip(), "1. Seriennummer für Türruf");
    EXPECT_EQ(f.form.TxtBWCode.tip(), "Zugangscode für PNL (nur bei PNL Modul)");
    EXPECT_EQ(f.form.TrVwPNL.tip(),
              "Wählen Sie hier die PNL aus, in die dieser Bewohner übertragen werden soll.");
    EXPECT_EQ(f.form.CmdPNLALLSet.tip(), "Alle PNL für datenübernahme auswählen");
    EXPECT_EQ(f.form.CmdBWDel.caption(), "Bewohner löschen");

    f.form.TxtBWWNr.setSelStart(4);
    f.editor.TxtBWWNr_GotFocus();
    EXPECT_EQ(f.form.TxtBWWNr.selStart(), 0);
}

}  // namespace pnl::test
