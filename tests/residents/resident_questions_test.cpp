#include <gtest/gtest.h>

#include "resident_fixture.h"

namespace pnl::test {

namespace {

struct Questions : ::testing::Test {
    Questions() {
        meier = f.addRow("Meier", "Anna", "A001", std::int64_t{4711});
        kraus = f.addRow("Kraus", "Bernd", "B002", std::int64_t{815});
        f.program().statusNotice = [this](const std::string& text) { notices.push_back(text); };
        f.editor.OpenResidentView();
    }
    ResidentFixture f;
    std::int64_t meier = 0, kraus = 0;
    std::vector<std::string> notices;
};

const std::string kLeaveMeier =
    "Sollen die Änderungen an Bewohner Meiers, Anna (Wohnung A001) gesichert werden?";

}  // namespace

TEST_F(Questions, DeleteNamesTheResidentDefaultsToNeinAndDeletesOnlyOnJa) {
    f.choose("Meier, Anna");
    f.inst.dialogs.answer(MsgAnswer::No);
    f.editor.CmdBWDel_Click();
    const Message& question = f.inst.dialogs.last();
    EXPECT_EQ(question.text, "Bewohner Meier, Anna (Wohnung A001) löschen?");
    EXPECT_EQ(question.title, "Bewohner löschen");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.defaultAnswer, MsgAnswer::No);
    EXPECT_EQ(f.rowCount(), 2);
    EXPECT_EQ(f.form.TxtBWName.text(), "Meier");

    f.inst.dialogs.answer(MsgAnswer::Yes);
    f.editor.CmdBWDel_Click();
    EXPECT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.column(meier, "Name"), "<no row>");
    EXPECT_EQ(notices, std::vector<std::string>{"Gelöscht: Meier, Anna"});
}

TEST_F(Questions, SaveIsOfferedOnlyForChangesAndKeepsTheResidentChosen) {
    EXPECT_FALSE(f.form.CmdBWSave.enabled());
    f.choose("Meier, Anna");
    EXPECT_FALSE(f.form.CmdBWSave.enabled());
    f.editor.CmdBWSave_Click();  // nothing changed: nothing written, nothing logged
    EXPECT_TRUE(f.logTexts().empty());

    f.form.TxtBWName.setText("Meiers");
    EXPECT_TRUE(f.form.CmdBWSave.enabled());
    f.form.TxtBWName.setText("Meier");
    EXPECT_FALSE(f.form.CmdBWSave.enabled());
    f.form.TrVwPNL.setChecked(f.form.TrVwPNL.findKey("S12"), true);
    EXPECT_TRUE(f.form.CmdBWSave.enabled());
    f.form.TxtBWName.setText("Meiers");
    f.editor.CmdBWSave_Click();

    EXPECT_EQ(f.column(meier, "Name"), "Meiers");
    EXPECT_EQ(f.form.CboBewo.text(), "Meiers, Anna");
    EXPECT_EQ(f.form.CboBewo.itemData(f.form.CboBewo.listIndex()), meier);
    EXPECT_FALSE(f.form.CmdBWSave.enabled());
    EXPECT_EQ(notices, std::vector<std::string>{"Gespeichert: Meiers, Anna"});
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
}

TEST_F(Questions, LeavingUnsavedChangesAsksAndEachAnswerDoesWhatItSays) {
    f.choose("Meier, Anna");
    f.form.TxtBWName.setText("Meiers");

    // "Abbrechen": the form, the list's choice and the display mode stay.
    f.inst.dialogs.answer(MsgAnswer::Cancel);
    f.choose("Kraus, Bernd");
    EXPECT_EQ(f.inst.dialogs.last().text, kLeaveMeier);
    EXPECT_EQ(f.inst.dialogs.last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(f.form.TxtBWName.text(), "Meiers");
    EXPECT_EQ(f.form.CboBewo.text(), "Meier, Anna");
    f.inst.dialogs.answer(MsgAnswer::Cancel);
    f.form.OptBWWNr.setChecked(true);
    f.editor.OptBWWNr_Click();
    EXPECT_TRUE(f.form.OptBWName.checked());
    EXPECT_EQ(f.entries().front(), "Kraus, Bernd");
    f.inst.dialogs.answer(MsgAnswer::Cancel);
    f.editor.CmdBWNeu_Click();
    EXPECT_EQ(f.form.TxtBWName.text(), "Meiers");
    EXPECT_EQ(f.column(meier, "Name"), "Meier");

    // "Nein": the change is dropped, the other resident shows.
    f.inst.dialogs.answer(MsgAnswer::No);
    f.choose("Kraus, Bernd");
    EXPECT_EQ(f.form.TxtBWName.text(), "Kraus");
    EXPECT_EQ(f.column(meier, "Name"), "Meier");

    // "Ja": saved first, then the resident chosen shows.
    f.form.TxtBWVorn.setText("Bert");
    f.inst.dialogs.answer(MsgAnswer::Yes);
    f.choose("Meier, Anna");
    EXPECT_EQ(f.column(kraus, "Vorname"), "Bert");
    EXPECT_EQ(f.form.TxtBWName.text(), "Meier");
    EXPECT_EQ(f.form.CboBewo.text(), "Meier, Anna");

    // A save that is refused keeps the user on the resident.
    f.form.TxtBWName.setText("");
    f.inst.dialogs.answer(MsgAnswer::Yes);
    f.editor.CmdBWNeu_Click();
    EXPECT_EQ(f.inst.dialogs.texts().back(), "Sie müssen einen Namen eingeben!");
    EXPECT_EQ(f.form.TxtBWVorn.text(), "Anna");
    EXPECT_EQ(f.rowCount(), 2);
}

TEST_F(Questions, TheSerialQuestionOffersAbbrechenWhichSavesNothing) {
    f.editor.CmdBWNeu_Click();
    f.type("Neu", "", "C3", "4711");
    f.inst.dialogs.answer(MsgAnswer::Cancel);
    f.editor.CmdBWSave_Click();
    EXPECT_EQ(f.inst.dialogs.last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(f.rowCount(), 2);
    EXPECT_TRUE(f.editor.hasUnsavedChanges());
    EXPECT_EQ(f.editor.CurrentResidentSerial(), "keine");
    EXPECT_TRUE(notices.empty());
}

TEST_F(Questions, NameFieldsTakeNoMoreThanTheTableKeeps) {
    EXPECT_EQ(f.form.TxtBWName.maxLength(), 50);
    EXPECT_EQ(f.form.TxtBWVorn.maxLength(), 50);
}

}  // namespace pnl::test
