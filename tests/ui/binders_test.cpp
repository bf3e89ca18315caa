#include <gtest/gtest.h>

#include <QApplication>
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
    edit.show();  // the caret handler runs when the field of the active window gets the focus
    QApplication::setActiveWindow(&edit);
    edit.setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(focused, 1);
    EXPECT_EQ(edit.cursorPosition(), 0);

    MaskedField apartment(8, MaskedField::Kind::LettersAndDigits);
    MaskedLineEdit apartmentEdit(8, apartment.kind());
    bindMaskedField(&apartmentEdit, apartment);
    QTest::keyClicks(&apartmentEdit, "A-12");
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(&apartmentEdit, &umlaut);
    QTest::keyClicks(&apartmentEdit, "3");
    EXPECT_EQ(apartment.text(), "A123");
}

TEST(Binders, OptionsMayShowNoChoiceAndAChosenOptionStaysChosen) {
    OptionGroup group;
    OptionButton first, second;
    first.joinGroup(group);
    second.joinGroup(group);
    first.setCaption("Bewohnerdaten editieren");
    QRadioButton firstRadio, secondRadio;
    bindOption(&firstRadio, first, {}, 'w');
    EXPECT_EQ(firstRadio.text(), "Be&wohnerdaten editieren");
    bindOption(&secondRadio, second);
    secondRadio.click();
    secondRadio.click();
    EXPECT_TRUE(secondRadio.isChecked());
    EXPECT_TRUE(second.checked());
    second.setChecked(false);
    EXPECT_FALSE(firstRadio.isChecked() || secondRadio.isChecked());
}

}  // namespace
}  // namespace pnl::ui
