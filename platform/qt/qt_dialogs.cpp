#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <utility>
#include <vector>

namespace pnl {

namespace {

// Keeps Escape and the window manager's close box from a box that must be answered by one of its buttons.
class EscapeSwallower : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
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
    auto buttonFor = [&buttons](MsgAnswer wanted) -> QPushButton* {
        for (const auto& [button, answer] : buttons)
            if (answer == wanted)
                return button;
        return nullptr;
    };
    QPushButton* preferred = message.defaultAnswer ? buttonFor(*message.defaultAnswer) : nullptr;
    box.setDefaultButton(preferred ? preferred : buttons.front().first);

    // Escape and the close box answer "Abbrechen" where the box has it, else "OK", else the harmless default
    // of a "Ja"/"Nein" question. Otherwise only the buttons answer: Qt would take "Nein" for the close box,
    // and "Nein" may do something (a second resident row).
    QPushButton* escape = buttonFor(MsgAnswer::Cancel);
    if (!escape)
        escape = buttonFor(MsgAnswer::Ok);
    if (!escape && message.defaultAnswer == MsgAnswer::No)
        escape = preferred;
    EscapeSwallower swallower;
    if (escape) {
        box.setEscapeButton(escape);
    } else {
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        box.installEventFilter(&swallower);
    }
    if (message.closesAfterSeconds > 0)
        QTimer::singleShot(message.closesAfterSeconds * 1000, &box, [&box, escape] {
            if (escape)
                escape->click();
        });
    for (;;) {
        box.exec();
        for (const auto& [button, answer] : buttons) {
            if (box.clickedButton() == button)
                return answer;
        }
        if (escape) {
            for (const auto& [button, answer] : buttons)
                if (button == escape)
                    return answer;
        }
    }
}

}  // namespace pnl
