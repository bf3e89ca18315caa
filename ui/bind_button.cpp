#include "ui/bind_button.h"

namespace pnl::ui {

ButtonBinder::ButtonBinder(QAbstractButton* button, Button& model, std::function<void()> onClick,
                           QChar mnemonic)
    : Binder(button, model), button_(button), mnemonic_(mnemonic) {
    QObject::connect(button, &QAbstractButton::clicked, this, [onClick = std::move(onClick)] {
        if (onClick)
            onClick();
    });
    apply();
}

void ButtonBinder::refresh() {
    refreshWidget(button_);
    button_->setText(withMnemonic(model().caption(), mnemonic_));
}

ButtonBinder* bindButton(QAbstractButton* button, Button& model, std::function<void()> onClick,
                         QChar mnemonic) {
    return new ButtonBinder(button, model, std::move(onClick), mnemonic);
}

}  // namespace pnl::ui
