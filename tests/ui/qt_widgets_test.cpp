// The Qt side without the program: the binders between models and widgets, message boxes, the event loop; and
// the main of test_ui, which runs on Qt's offscreen platform unless told otherwise.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"
#include "ui/binders.h"
#include "ui/german_translation.h"

namespace pnl {
namespace {

TEST(QtDialogs, GermanButtonsTheDefaultAndWhatEscapeAndTheCloseBoxAnswer) {
    const auto escape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
    struct Case {
        Message message;
        std::function<void(QMessageBox*)> act;
        MsgAnswer answer;
        QMessageBox::Icon icon;
        QString buttons;  // sorted, one space between
        QString defaultButton;
    };
    const Case cases[] = {
        {Message("Sollen alle getätigten Änderungen übernommen werden?", "Änderungen speichern",
                 MsgIcon::None, MsgButtons::YesNoCancel),
         escape, MsgAnswer::Cancel, QMessageBox::NoIcon, "&Abbrechen &Ja &Nein", "&Ja"},
        // A Yes/No question ignores Escape: only its buttons answer it.
        {Message("?", "T", MsgIcon::Exclamation, MsgButtons::YesNo),
         [&](QMessageBox* box) {
             escape(box);
             EXPECT_TRUE(box->isVisible());
             for (QAbstractButton* button : box->buttons())  // the "Ja" button, whatever its label
                 if (box->buttonRole(button) == QMessageBox::YesRole)
                     button->click();
         },
         MsgAnswer::Yes, QMessageBox::Warning, "&Ja &Nein", "&Ja"},
        // A question whose default is the harmless "Nein" takes Escape as "Nein".
        {Message("Bewohner Meier, Anna (Wohnung A001) löschen?", "Bewohner löschen", MsgIcon::Question,
                 MsgButtons::YesNo, MsgAnswer::No),
         escape, MsgAnswer::No, QMessageBox::Question, "&Ja &Nein", "&Nein"},
        {Message("?", "T", MsgIcon::Question, MsgButtons::YesNoCancel),
         [](QMessageBox* box) { box->close(); }, MsgAnswer::Cancel, QMessageBox::Question,
         "&Abbrechen &Ja &Nein", "&Ja"},
        // A box that closes itself answers "OK" with nobody there.
        {Message("Ende", "T", MsgIcon::Exclamation, MsgButtons::Ok, std::nullopt, 1), [](QMessageBox*) {},
         MsgAnswer::Ok, QMessageBox::Warning, "&OK", "&OK"},
        {Message("!", "Error", MsgIcon::Critical, MsgButtons::Ok), escape, MsgAnswer::Ok,
         QMessageBox::Critical, "&OK", "&OK"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.text);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->windowTitle().toStdString(), c.message.title);
            EXPECT_EQ(box->text().toStdString(), c.message.text);
            EXPECT_EQ(box->icon(), c.icon);
            QStringList buttons;
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            buttons.sort();
            EXPECT_EQ(buttons.join(' '), c.buttons);
            EXPECT_EQ(box->defaultButton() ? box->defaultButton()->text() : QString(), c.defaultButton);
            c.act(box);
        });
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.show(c.message), c.answer);
    }
}

TEST(QtEventLoop, TimersReadableDescriptorsAndPauses) {
    QtEventLoop loop;
    int once = 0, repeated = 0;
    loop.startTimer(EventLoop::Milliseconds(5), false, [&] { ++once; });
    int repeating = 0;
    repeating = loop.startTimer(EventLoop::Milliseconds(1), true, [&] {
        if (++repeated == 3)
            loop.stopTimer(repeating);  // a timer may stop itself
    });
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string received;
    const int watch = loop.watchReadable(fds[0], [&] {
        char buffer[16];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, static_cast<std::size_t>(n));
    });
    ASSERT_EQ(write(fds[1], "ab", 2), 2);
    bool paused = false;
    loop.startTimer(EventLoop::Milliseconds(30), false, [&] { paused = true; });
    loop.processEventsUntil([&] { return paused; });
    EXPECT_EQ(once, 1);
    EXPECT_EQ(repeated, 3);
    EXPECT_EQ(received, "ab");
    loop.unwatch(watch);
    close(fds[0]);
    close(fds[1]);
    loop.processEventsUntil([] { return true; });  // returns at once
}

using namespace ui;

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
}  // namespace pnl

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // As the program does at start: Qt's own dialogs in German.
    if (!pnl::ui::loadGermanTranslation(application))
        std::fprintf(stderr, "Qts deutsche Übersetzung fehlt (qt6-translations-l10n).\n");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
