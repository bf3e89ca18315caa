#include "ui/bind_status_bar.h"

namespace pnl::ui {

StatusBarBinder::StatusBarBinder(QStatusBar* bar, StatusBar& model, int stretching)
    : Binder(bar, model), bar_(bar) {
    bar->setSizeGripEnabled(true);
    for (int number = 1; number <= static_cast<int>(model.panels().size()); ++number) {
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(number == stretching ? 0 : 90);
        label->setContentsMargins(4, 0, 4, 0);
        bar->addPermanentWidget(label, number == stretching ? 1 : 0);
        panels_.push_back(label);
    }
    apply();
}

void StatusBarBinder::refresh() {
    refreshWidget(bar_);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const auto& panel = status().panels()[i];
        panels_[i]->setText(qt(panel.text));
        panels_[i]->setToolTip(qt(panel.tip));
    }
}

StatusBarBinder* bindStatusBar(QStatusBar* bar, StatusBar& model, int stretching) {
    return new StatusBarBinder(bar, model, stretching);
}

}  // namespace pnl::ui
