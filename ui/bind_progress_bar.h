#pragma once
// A progress bar: its value. The view sets the range.

#include <QProgressBar>

#include "ui/binder.h"

namespace pnl::ui {

class ProgressBarBinder : public Binder {
  public:
    ProgressBarBinder(QProgressBar* bar, ProgressBar& model);

  protected:
    void refresh() override;

  private:
    QProgressBar* bar_;
};

ProgressBarBinder* bindProgressBar(QProgressBar* bar, ProgressBar& model);

}  // namespace pnl::ui
