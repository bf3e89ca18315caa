#include "ui/bind_text_box.h"

namespace pnl::ui {

TextBoxBinder::TextBoxBinder(QLineEdit* edit, TextBox& model, std::function<void()> onChange)
    : Binder(edit, model), edit_(edit) {
    QObject::connect(edit, &QLineEdit::textEdited, this,
                     [this, onChange = std::move(onChange)](const QString& text) {
                         box().setText(str(text));
                         if (onChange)
                             onChange();
                     });
    apply();
}

void TextBoxBinder::refresh() {
    refreshWidget(edit_);
    edit_->setMaxLength(box().maxLength() > 0 ? box().maxLength() : 32767);
    const QString text = qt(box().text());
    if (edit_->text() != text)
        edit_->setText(text);
    if (box().selStart() != appliedSelStart_) {
        appliedSelStart_ = box().selStart();
        edit_->setCursorPosition(appliedSelStart_);
    }
}

TextBoxBinder* bindTextBox(QLineEdit* edit, TextBox& model, std::function<void()> onChange) {
    return new TextBoxBinder(edit, model, std::move(onChange));
}

}  // namespace pnl::ui
