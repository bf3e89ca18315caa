#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace pnl {

namespace {

// Keeps Escape from a box that must be answered by one of its buttons.
class EscapeSwallower : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

std::vector<MsgAnswer> answersOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return {MsgAnswer::Ok};
        case MsgButtons::OkCancel:
            return {MsgAnswer::Ok, MsgAnswer::Cancel};
        case MsgButtons::YesNo:
            return {MsgAnswer::Yes, MsgAnswer::No};
        case MsgButtons::YesNoCancel:
            return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    }
    return {MsgAnswer::Ok};
}

std::pair<QString, QMessageBox::ButtonRole> buttonOf(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Ok:
            return {QStringLiteral("&OK"), QMessageBox::AcceptRole};
        case MsgAnswer::Cancel:
            return {QStringLiteral("&Abbrechen"), QMessageBox::RejectRole};
        case MsgAnswer::Yes:
            return {QStringLiteral("&Ja"), QMessageBox::YesRole};
        case MsgAnswer::No:
            return {QStringLiteral("&Nein"), QMessageBox::NoRole};
    }
    return {QStringLiteral("&OK"), QMessageBox::AcceptRole};
}

}  // namespace

MsgAnswer QtDialogs::show(const Message& message) {
    QMessageBox box(iconOf(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    const std::vector<MsgAnswer> answers = answersOf(message.buttons);
    std::vector<std::pair<QPushButton*, MsgAnswer>> buttons;
    for (MsgAnswer answer : answers) {
        const auto [text, role] = buttonOf(answer);
        buttons.emplace_back(box.addButton(text, role), answer);
    }
    // The first button is the default; Escape answers "Abbrechen", else "OK". A question of "Ja" or "Nein"
    // has no way out but its two buttons: there "Nein" does something too (a second resident row), so neither
    // Escape nor the close box may choose it.
    box.setDefaultButton(buttons.front().first);
    const bool mustChoose = message.buttons == MsgButtons::YesNo;
    EscapeSwallower swallower;
    if (mustChoose) {
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        box.installEventFilter(&swallower);
    } else {
        for (MsgAnswer way : {MsgAnswer::Ok, MsgAnswer::Cancel}) {
            for (const auto& [button, answer] : buttons)
                if (answer == way)
                    box.setEscapeButton(button);
        }
    }
    for (;;) {
        box.exec();
        for (const auto& [button, answer] : buttons) {
            if (box.clickedButton() == button)
                return answer;
        }
        // Closed by the window's close box: the same as Escape.
        if (!mustChoose)
            return message.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

}  // namespace pnl
