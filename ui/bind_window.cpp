#include "ui/bind_window.h"

#include <QEvent>

namespace pnl::ui {

namespace {

Window::Geometry frameOf(const QWidget* widget) {
    const QRect frame = widget->frameGeometry();
    return {frame.left(), frame.top(), frame.width(), frame.height()};
}

}  // namespace

WindowBinder::WindowBinder(QWidget* window, Window& model) : Binder(window, model), widget_(window) {
    window->installEventFilter(this);
    apply();
}

void WindowBinder::refresh() {
    widget_->setWindowTitle(qt(model().caption()));
    widget_->setEnabled(model().enabled());
    widget_->setToolTip(qt(model().tip()));
    if (model().visible() && widget_->isHidden()) {
        widget_->show();
        widget_->raise();
        widget_->activateWindow();
    } else if (!model().visible() && !widget_->isHidden()) {
        widget_->hide();
    }
    // Placed once shown, when the size of the window's frame is known.
    placeFromModel();
    // The window system may have placed the window otherwise than asked (or it was never placed): the model
    // learns where it really is.
    if (widget_->isVisible())
        window().setGeometry(frameOf(widget_));
}

void WindowBinder::placeFromModel() {
    const Window::Geometry wanted = window().geometry();
    if (wanted.width <= 0 || wanted.height <= 0 || wanted == frameOf(widget_))
        return;
    // The frame's decoration (title bar, borders) is outside the client size that resize() sets.
    const QSize decoration = widget_->frameGeometry().size() - widget_->size();
    widget_->move(wanted.left, wanted.top);
    widget_->resize(std::max(1, wanted.width - decoration.width()),
                    std::max(1, wanted.height - decoration.height()));
}

bool WindowBinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && !applying()) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
                window().setGeometry(frameOf(widget_));
                break;
            // A window closed by its close box is hidden; minimising hides it only spontaneously.
            case QEvent::Hide:
                if (!event->spontaneous())
                    window().setVisible(false);
                break;
            case QEvent::Show:
                if (!event->spontaneous())
                    window().setVisible(true);
                break;
            default:
                break;
        }
    }
    return false;
}

WindowBinder* bindWindow(QWidget* window, Window& model) {
    return new WindowBinder(window, model);
}

}  // namespace pnl::ui
