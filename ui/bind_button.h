#pragma once
// A command button: caption (with an optional keyboard mnemonic) and the Click event.

#include <QAbstractButton>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class ButtonBinder : public Binder {
  public:
    ButtonBinder(QAbstractButton* button, Button& model, std::function<void()> onClick, QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    QAbstractButton* button_;
    QChar mnemonic_;
};

ButtonBinder* bindButton(QAbstractButton* button, Button& model, std::function<void()> onClick,
                         QChar mnemonic = {});

}  // namespace pnl::ui
