#include "ui/bind_tabs.h"

namespace pnl::ui {

TabsBinder::TabsBinder(QTabWidget* tabs, TabControl& model, std::function<void()> onClick)
    : Binder(tabs, model), tabs_(tabs) {
    QObject::connect(tabs, &QTabWidget::currentChanged, this,
                     [this, onClick = std::move(onClick)](int index) {
                         if (applying() || index < 0)
                             return;
                         control().setTab(index);
                         if (onClick)
                             onClick();
                     });
    apply();
}

void TabsBinder::refresh() {
    refreshWidget(tabs_);
    const auto& tabs = control().tabs();
    const int count = std::min<int>(tabs_->count(), static_cast<int>(tabs.size()));
    for (int i = 0; i < count; ++i) {
        tabs_->setTabText(i, qt(tabs[i].caption));
        tabs_->setTabVisible(i, tabs[i].visible);
        tabs_->setTabEnabled(i, tabs[i].enabled);
    }
    if (control().tab() >= 0 && control().tab() < count && tabs_->currentIndex() != control().tab())
        tabs_->setCurrentIndex(control().tab());
}

TabsBinder* bindTabs(QTabWidget* tabs, TabControl& model, std::function<void()> onClick) {
    return new TabsBinder(tabs, model, std::move(onClick));
}

}  // namespace pnl::ui
