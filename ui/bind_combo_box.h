#pragma once
// A drop-down list: the entries (the model keeps them sorted when it is a sorted list), the chosen entry in
// both directions, and the Click event when the user chooses an entry.

#include <QComboBox>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class ComboBoxBinder : public Binder {
  public:
    ComboBoxBinder(QComboBox* combo, ComboBox& model, std::function<void()> onClick = {});

  protected:
    void refresh() override;

  private:
    ComboBox& list() const { return static_cast<ComboBox&>(model()); }

    QComboBox* combo_;
    std::vector<ComboBox::Item> shown_;
};

ComboBoxBinder* bindComboBox(QComboBox* combo, ComboBox& model, std::function<void()> onClick = {});

}  // namespace pnl::ui
