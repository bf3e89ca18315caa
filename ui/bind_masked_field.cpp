#include "ui/bind_masked_field.h"

namespace pnl::ui {

MaskedFieldBinder::MaskedFieldBinder(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange,
                                     std::function<void()> onFocus)
    : Binder(edit, model), edit_(edit) {
    QObject::connect(edit, &QLineEdit::textEdited, this, [this, onChange = std::move(onChange)] {
        // The model takes what the widget holds; a refused key changes nothing and is no Change.
        const std::string before = field().text();
        // A character the mask lets in but the field does not hold (a letter with an accent) is taken back.
        if (!field().setText(str(edit_->text())))
            apply();
        if (onChange && field().text() != before)
            onChange();
    });
    edit->onFocusIn = [this, onFocus = std::move(onFocus)] {
        // The caret is where the user put it; the handler may move it.
        appliedSelStart_ = edit_->cursorPosition();
        field().setSelStart(appliedSelStart_);
        if (onFocus)
            onFocus();
    };
    apply();
}

void MaskedFieldBinder::refresh() {
    refreshWidget(edit_);
    const QString text = qt(field().text());
    if (edit_->text() != text) {
        edit_->setText(text);
        // The caret stands after the characters, where the next one goes.
        edit_->setCursorPosition(static_cast<int>(text.size()));
    }
    if (field().selStart() != appliedSelStart_) {
        appliedSelStart_ = field().selStart();
        edit_->setCursorPosition(appliedSelStart_);
    }
}

MaskedFieldBinder* bindMaskedField(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange,
                                   std::function<void()> onFocus) {
    return new MaskedFieldBinder(edit, model, std::move(onChange), std::move(onFocus));
}

}  // namespace pnl::ui
