#pragma once
// An option button: caption, the choice in both directions and the Click event. The model's option group
// keeps the options of one container exclusive, so a group may also have no option chosen.

#include <QRadioButton>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class OptionBinder : public Binder {
  public:
    OptionBinder(QRadioButton* radio, OptionButton& model, std::function<void()> onClick = {},
                 QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    OptionButton& option() const { return static_cast<OptionButton&>(model()); }

    QRadioButton* radio_;
    QChar mnemonic_;
};

OptionBinder* bindOption(QRadioButton* radio, OptionButton& model, std::function<void()> onClick = {},
                         QChar mnemonic = {});

}  // namespace pnl::ui
