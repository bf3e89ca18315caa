#pragma once
// A status bar with text panels: one label per panel (panel 1 first), its text and tip.

#include <QLabel>
#include <QStatusBar>
#include <vector>

#include "ui/binder.h"

namespace pnl::ui {

class StatusBarBinder : public Binder {
  public:
    // Adds one label per panel of the model to the bar; `stretching` (counted from 1) takes the spare width.
    StatusBarBinder(QStatusBar* bar, StatusBar& model, int stretching);

    QLabel* panel(int number) const { return panels_.at(number - 1); }

  protected:
    void refresh() override;

  private:
    StatusBar& status() const { return static_cast<StatusBar&>(model()); }

    QStatusBar* bar_;
    std::vector<QLabel*> panels_;
};

StatusBarBinder* bindStatusBar(QStatusBar* bar, StatusBar& model, int stretching);

}  // namespace pnl::ui
