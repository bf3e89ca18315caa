#pragma once
// A top-level window: caption, shown or hidden, and its place on the screen in both directions (the model
// follows the user moving and resizing the window; a placement set by the program moves the window). The
// model's geometry is the outer frame in screen pixels.

#include <QWidget>

#include "ui/binder.h"

namespace pnl::ui {

class WindowBinder : public Binder {
  public:
    WindowBinder(QWidget* window, Window& model);

  protected:
    void refresh() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Window& window() const { return static_cast<Window&>(model()); }
    void placeFromModel();

    QWidget* widget_;
};

WindowBinder* bindWindow(QWidget* window, Window& model);

}  // namespace pnl::ui
