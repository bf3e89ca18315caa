#include "ui/bind_progress_bar.h"

namespace pnl::ui {

ProgressBarBinder::ProgressBarBinder(QProgressBar* bar, ProgressBar& model) : Binder(bar, model), bar_(bar) {
    apply();
}

void ProgressBarBinder::refresh() {
    refreshWidget(bar_);
    bar_->setValue(static_cast<ProgressBar&>(model()).value());
}

ProgressBarBinder* bindProgressBar(QProgressBar* bar, ProgressBar& model) {
    return new ProgressBarBinder(bar, model);
}

}  // namespace pnl::ui
