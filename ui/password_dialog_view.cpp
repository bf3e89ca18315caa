#include "ui/password_dialog_view.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/access_codes.h"
#include "forms/password_dialog.h"
#include "ui/binders.h"

namespace pnl::ui {

namespace {

// Every typed character of the code shows as "*".
class StarPasswordStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The key code as the dialog's key handler takes it: 13 for Enter, else the character typed (0 for none).
int keyAscii(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return 13;
    if (key->key() == Qt::Key_Escape)
        return 27;
    const QString text = key->text();
    return text.isEmpty() ? 0 : static_cast<int>(text.front().unicode());
}

}  // namespace

PasswordDialogView::PasswordDialogView(PasswordDialogForm& form, PasswordDialog& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    prompt_ = new QLabel(this);
    prompt_->setAlignment(Qt::AlignCenter);
    prompt_->setMinimumHeight(prompt_->fontMetrics().lineSpacing() * 2 + 8);
    code_ = new QLineEdit(this);
    code_->setEchoMode(QLineEdit::Password);
    auto* stars = new StarPasswordStyle;
    stars->setParent(code_);
    code_->setStyle(stars);
    code_->setAlignment(Qt::AlignCenter);
    ok_ = new QPushButton(this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(this);
    // Selectable, so that the codes can be copied; the dialog's keys still go to the code entry.
    accessCodes_ = new QLabel(this);
    accessCodes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    accessCodes_->setFrameShape(QFrame::StyledPanel);
    accessCodes_->setWordWrap(true);
    accessCodes_->setMargin(6);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(code_);
    layout->addLayout(buttons);
    layout->addWidget(accessCodes_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(320);

    bindWindow(this, form);
    bindLabel(prompt_, form.prompt);
    bindLabel(accessCodes_, form.accessCodes);
    bindTextBox(code_, form.code);
    bindButton(
        ok_, form.confirm, [&controller] { controller.confirm(); }, 'B');
    bindButton(
        cancel_, form.cancel, [&controller] { controller.cancel(); }, 'A');
    setTabOrder(code_, ok_);
    setTabOrder(ok_, cancel_);
    code_->setFocus();

    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(code_),
                            static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_)})
        widget->installEventFilter(this);
}

bool PasswordDialogView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // Enter is used up by the check, so the default button does not check a second time.
        if (controller_.keyPressed(keyAscii(static_cast<QKeyEvent*>(event))))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PasswordDialogView::reject() {
    controller_.cancel();
}

void PasswordDialogView::closeEvent(QCloseEvent* event) {
    controller_.closed();
    event->accept();
}

}  // namespace pnl::ui
