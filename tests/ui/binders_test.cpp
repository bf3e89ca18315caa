#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>

#include "ui/binders.h"

namespace pnl::ui {
namespace {

TEST(Binders, MaskedFieldShowsPromptsTakesOnlyFittingCharactersAndPlacesTheCaret) {
    MaskedField model(6);
    MaskedLineEdit edit(model.positions(), model.kind());
    int changes = 0, focused = 0;
    bindMaskedField(
        &edit, model, [&] { ++changes; },
        [&] {
            ++focused;
            model.setSelStart(0);
        });
    EXPECT_EQ(edit.displayText(), "______");
    QTest::keyClicks(&edit, "4a7-1");
    EXPECT_EQ(model.text(), "471");
    EXPECT_EQ(edit.displayText(), "471___");
    EXPECT_EQ(changes, 3);
    model.setText("______");  // the all-prompt text empties the field
    EXPECT_EQ(edit.text(), "");
    model.setText("123456");
    edit.setCursorPosition(6);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    edit.setFocus();
    QApplication::sendEvent(&edit, &focusIn);
    QApplication::processEvents();
    // Outside an active window the focus may not stick; then the field does nothing, which is fine too.
    if (edit.hasFocus()) {
        EXPECT_EQ(focused, 1);
        EXPECT_EQ(edit.cursorPosition(), 0);
    }

    MaskedField apartment(8, MaskedField::Kind::LettersAndDigits);
    MaskedLineEdit apartmentEdit(8, apartment.kind());
    bindMaskedField(&apartmentEdit, apartment);
    QTest::keyClicks(&apartmentEdit, "A-12");
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(&apartmentEdit, &umlaut);
    QTest::keyClicks(&apartmentEdit, "3");
    EXPECT_EQ(apartment.text(), "A123");
}

TEST(Binders, ComboBoxMirrorsItemsAndChoiceAndReportsTheUsersChoice) {
    ComboBox model(true);
    QComboBox combo;
    int clicks = 0;
    bindComboBox(&combo, model, [&] {
        ++clicks;
        EXPECT_EQ(model.text(), "Bauer");  // the model knows the choice when the handler runs
    });
    model.addItem("Zander", 7);
    model.addItem("Bauer", 3);
    ASSERT_EQ(combo.count(), 2);
    model.setListIndex(1);
    EXPECT_EQ(combo.currentText(), "Zander");
    EXPECT_EQ(clicks, 0);  // the program's choice is no click
    combo.setCurrentIndex(0);
    emit combo.activated(0);
    EXPECT_EQ(clicks, 1);
    model.setEnabled(false);
    EXPECT_FALSE(combo.isEnabled());
}

TEST(Binders, OptionsMayShowNoChoiceAndAChosenOptionStaysChosen) {
    OptionGroup group;
    OptionButton first, second;
    first.joinGroup(group);
    second.joinGroup(group);
    first.setCaption("Bewohnerdaten editieren");
    QRadioButton firstRadio, secondRadio;
    bindOption(&firstRadio, first, {}, 'w');
    bindOption(&secondRadio, second);
    EXPECT_EQ(firstRadio.text(), "Be&wohnerdaten editieren");
    first.setChecked(true);
    EXPECT_TRUE(firstRadio.isChecked());
    secondRadio.click();
    EXPECT_TRUE(second.checked());
    EXPECT_FALSE(first.checked());
    EXPECT_FALSE(firstRadio.isChecked());
    secondRadio.click();
    EXPECT_TRUE(secondRadio.isChecked());
    second.setChecked(false);
    EXPECT_FALSE(firstRadio.isChecked() || secondRadio.isChecked());
}

}  // namespace
}  // namespace pnl::ui
