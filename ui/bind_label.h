#pragma once
// A label: its caption is the text shown.

#include <QLabel>

#include "ui/binder.h"

namespace pnl::ui {

class LabelBinder : public Binder {
  public:
    LabelBinder(QLabel* label, Label& model);

  protected:
    void refresh() override;

  private:
    QLabel* label_;
};

LabelBinder* bindLabel(QLabel* label, Label& model);

// Line breaks as the program writes them ("\n\r", "\r\n" or a single one) as one line break on screen.
QString screenLines(const std::string& text);

}  // namespace pnl::ui
