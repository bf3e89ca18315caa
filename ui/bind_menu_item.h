#pragma once
// A menu command: caption, enabled, visible, tip, and the Click event.

#include <QAction>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class MenuItemBinder : public Binder {
  public:
    MenuItemBinder(QAction* action, MenuItem& model, std::function<void()> onClick, QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    QAction* action_;
    QChar mnemonic_;
};

MenuItemBinder* bindMenuItem(QAction* action, MenuItem& model, std::function<void()> onClick,
                             QChar mnemonic = {});

}  // namespace pnl::ui
