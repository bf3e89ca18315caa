#pragma once
// A check box: caption, the tick in both directions, and the Click event when the user changes the tick.

#include <QCheckBox>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class CheckBoxBinder : public Binder {
  public:
    CheckBoxBinder(QCheckBox* box, CheckBox& model, std::function<void()> onClick = {}, QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    CheckBox& check() const { return static_cast<CheckBox&>(model()); }

    QCheckBox* box_;
    QChar mnemonic_;
};

CheckBoxBinder* bindCheckBox(QCheckBox* box, CheckBox& model, std::function<void()> onClick = {},
                             QChar mnemonic = {});

}  // namespace pnl::ui
