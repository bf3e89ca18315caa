#include "ui/bind_check_box.h"

namespace pnl::ui {

CheckBoxBinder::CheckBoxBinder(QCheckBox* box, CheckBox& model, std::function<void()> onClick, QChar mnemonic)
    : Binder(box, model), box_(box), mnemonic_(mnemonic) {
    QObject::connect(box, &QCheckBox::clicked, this, [this, onClick = std::move(onClick)](bool on) {
        check().setChecked(on);
        if (onClick)
            onClick();
    });
    apply();
}

void CheckBoxBinder::refresh() {
    refreshWidget(box_);
    box_->setText(withMnemonic(model().caption(), mnemonic_));
    if (box_->isChecked() != check().checked())
        box_->setChecked(check().checked());
}

CheckBoxBinder* bindCheckBox(QCheckBox* box, CheckBox& model, std::function<void()> onClick, QChar mnemonic) {
    return new CheckBoxBinder(box, model, std::move(onClick), mnemonic);
}

}  // namespace pnl::ui
