#include "ui/bind_frame.h"

#include <QGroupBox>

namespace pnl::ui {

FrameBinder::FrameBinder(QWidget* frame, Frame& model) : Binder(frame, model), frame_(frame) {
    apply();
}

void FrameBinder::refresh() {
    refreshWidget(frame_);
    if (auto* box = qobject_cast<QGroupBox*>(frame_))
        box->setTitle(qt(model().caption()));
}

FrameBinder* bindFrame(QWidget* frame, Frame& model) {
    return new FrameBinder(frame, model);
}

}  // namespace pnl::ui
