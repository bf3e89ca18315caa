#include "ui/bind_combo_box.h"

#include <QSignalBlocker>

namespace pnl::ui {

ComboBoxBinder::ComboBoxBinder(QComboBox* combo, ComboBox& model, std::function<void()> onClick)
    : Binder(combo, model), combo_(combo) {
    combo->setEditable(false);
    QObject::connect(combo, &QComboBox::activated, this, [this, onClick = std::move(onClick)](int index) {
        list().setListIndex(index);
        if (onClick)
            onClick();
    });
    apply();
}

void ComboBoxBinder::refresh() {
    refreshWidget(combo_);
    const QSignalBlocker quiet(combo_);
    if (shown_ != list().items()) {
        shown_ = list().items();
        combo_->clear();
        for (const auto& item : shown_)
            combo_->addItem(qt(item.text), item.data);
    }
    if (combo_->currentIndex() != list().listIndex())
        combo_->setCurrentIndex(list().listIndex());
}

ComboBoxBinder* bindComboBox(QComboBox* combo, ComboBox& model, std::function<void()> onClick) {
    return new ComboBoxBinder(combo, model, std::move(onClick));
}

}  // namespace pnl::ui
