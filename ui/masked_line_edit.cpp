#include "ui/masked_line_edit.h"

#include <QFontMetrics>
#include <QTimer>

namespace pnl::ui {

MaskedLineEdit::MaskedLineEdit(int positions, MaskedField::Kind kind, QWidget* parent) : QLineEdit(parent) {
    // '0': a digit may stand here; 'n': an ASCII letter or digit may stand here; ';_' shows empty positions
    // as "_".
    const QChar slot = kind == MaskedField::Kind::Digits ? '0' : 'n';
    setInputMask(QString(positions, slot) + ";" + QChar(MaskedField::kPrompt));
    const int width = fontMetrics().horizontalAdvance(QString(positions + 2, 'W'));
    setMinimumWidth(width);
    setMaximumWidth(width + 24);
}

void MaskedLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A click places the caret after the focus arrives; the program's caret placement comes after that.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus() && onFocusIn)
            onFocusIn();
    });
}

}  // namespace pnl::ui
