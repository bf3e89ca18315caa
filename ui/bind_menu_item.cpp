#include "ui/bind_menu_item.h"

namespace pnl::ui {

MenuItemBinder::MenuItemBinder(QAction* action, MenuItem& model, std::function<void()> onClick,
                               QChar mnemonic)
    : Binder(action, model), action_(action), mnemonic_(mnemonic) {
    QObject::connect(action, &QAction::triggered, this, [onClick = std::move(onClick)] {
        if (onClick)
            onClick();
    });
    apply();
}

void MenuItemBinder::refresh() {
    action_->setText(withMnemonic(model().caption(), mnemonic_));
    action_->setEnabled(model().enabled());
    action_->setVisible(model().visible());
    action_->setToolTip(qt(model().tip()));
    action_->setStatusTip(qt(model().tip()));
}

MenuItemBinder* bindMenuItem(QAction* action, MenuItem& model, std::function<void()> onClick,
                             QChar mnemonic) {
    return new MenuItemBinder(action, model, std::move(onClick), mnemonic);
}

}  // namespace pnl::ui
