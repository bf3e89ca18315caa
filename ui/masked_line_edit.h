#pragma once
// The masked entry field on screen: a fixed number of positions shown with the prompt "_", each taking a
// digit or a letter-or-digit; text() gives only the characters typed.

#include <QLineEdit>
#include <functional>

#include "forms/controls.h"

namespace pnl::ui {

class MaskedLineEdit : public QLineEdit {
  public:
    MaskedLineEdit(int positions, MaskedField::Kind kind, QWidget* parent = nullptr);

    // Called after the field has taken the focus and the click or key that brought it there has been handled.
    std::function<void()> onFocusIn;

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace pnl::ui
