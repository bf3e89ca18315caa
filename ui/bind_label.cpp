#include "ui/bind_label.h"

namespace pnl::ui {

QString screenLines(const std::string& text) {
    QString lines = qt(text);
    lines.replace("\n\r", "\n").replace("\r\n", "\n").replace('\r', '\n');
    return lines;
}

LabelBinder::LabelBinder(QLabel* label, Label& model) : Binder(label, model), label_(label) {
    apply();
}

void LabelBinder::refresh() {
    refreshWidget(label_);
    label_->setText(screenLines(model().caption()));
}

LabelBinder* bindLabel(QLabel* label, Label& model) {
    return new LabelBinder(label, model);
}

}  // namespace pnl::ui
