#include "ui/binder.h"

#include <QWidget>

namespace pnl::ui {

QString withMnemonic(const std::string& caption, QChar letter) {
    QString text = qt(caption);
    text.replace('&', "&&");
    if (letter.isNull())
        return text;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].toLower() == letter.toLower() && (i == 0 || text[i - 1] != '&')) {
            text.insert(i, '&');
            break;
        }
    }
    return text;
}

Binder::Binder(QObject* target, Control& model) : QObject(target), model_(&model) {
    subscription_ = model.subscribe([this] { apply(); });
}

Binder::~Binder() {
    model_->unsubscribe(subscription_);
}

void Binder::apply() {
    // A refresh may cause another one (a window learning where it was placed).
    const bool outer = !applying_;
    applying_ = true;
    refresh();
    if (outer)
        applying_ = false;
}

void Binder::refreshWidget(QWidget* widget) const {
    widget->setEnabled(model_->enabled());
    // Only the model hides a child widget; a top-level window is shown and hidden by its own binder.
    if (!widget->isWindow())
        widget->setVisible(model_->visible());
    widget->setToolTip(qt(model_->tip()));
}

}  // namespace pnl::ui
