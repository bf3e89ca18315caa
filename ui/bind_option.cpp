#include "ui/bind_option.h"

namespace pnl::ui {

OptionBinder::OptionBinder(QRadioButton* radio, OptionButton& model, std::function<void()> onClick,
                           QChar mnemonic)
    : Binder(radio, model), radio_(radio), mnemonic_(mnemonic) {
    // Qt's own exclusivity cannot show "no option chosen"; the model's group does the job.
    radio->setAutoExclusive(false);
    QObject::connect(radio, &QRadioButton::clicked, this, [this, onClick = std::move(onClick)] {
        // Clicking a chosen option keeps it chosen, as with any option button.
        option().setChecked(true);
        apply();
        if (onClick)
            onClick();
    });
    apply();
}

void OptionBinder::refresh() {
    refreshWidget(radio_);
    radio_->setText(withMnemonic(model().caption(), mnemonic_));
    if (radio_->isChecked() != option().checked())
        radio_->setChecked(option().checked());
}

OptionBinder* bindOption(QRadioButton* radio, OptionButton& model, std::function<void()> onClick,
                         QChar mnemonic) {
    return new OptionBinder(radio, model, std::move(onClick), mnemonic);
}

}  // namespace pnl::ui
