#pragma once
// A frame (a page or a group of controls): visible, enabled, tip, and its caption when it is a group box.

#include <QWidget>

#include "ui/binder.h"

namespace pnl::ui {

class FrameBinder : public Binder {
  public:
    FrameBinder(QWidget* frame, Frame& model);

  protected:
    void refresh() override;

  private:
    QWidget* frame_;
};

FrameBinder* bindFrame(QWidget* frame, Frame& model);

}  // namespace pnl::ui
