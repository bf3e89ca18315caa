#pragma once
// A text box: the text in both directions, the caret position set by the program, and the Change event (the
// user edited the text).

#include <QLineEdit>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class TextBoxBinder : public Binder {
  public:
    TextBoxBinder(QLineEdit* edit, TextBox& model, std::function<void()> onChange = {});

  protected:
    void refresh() override;

  private:
    TextBox& box() const { return static_cast<TextBox&>(model()); }

    QLineEdit* edit_;
    int appliedSelStart_ = -1;
};

TextBoxBinder* bindTextBox(QLineEdit* edit, TextBox& model, std::function<void()> onChange = {});

}  // namespace pnl::ui
