#pragma once
// A masked entry field: the typed characters in both directions, the caret position set by the program, the
// change of the text, and the field taking the focus.

#include <functional>

#include "ui/binder.h"
#include "ui/masked_line_edit.h"

namespace pnl::ui {

class MaskedFieldBinder : public Binder {
  public:
    MaskedFieldBinder(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange = {},
                      std::function<void()> onFocus = {});

  protected:
    void refresh() override;

  private:
    MaskedField& field() const { return static_cast<MaskedField&>(model()); }

    MaskedLineEdit* edit_;
    int appliedSelStart_ = -1;
};

MaskedFieldBinder* bindMaskedField(MaskedLineEdit* edit, MaskedField& model,
                                   std::function<void()> onChange = {}, std::function<void()> onFocus = {});

}  // namespace pnl::ui
