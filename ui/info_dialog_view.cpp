#include "ui/info_dialog_view.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/info_dialog.h"
#include "ui/binders.h"

namespace pnl::ui {

namespace {

// The picture: a door station with its display and the rows of a resident directory.
QPixmap stationPicture() {
    QPixmap picture(96, 140);
    picture.fill(Qt::transparent);
    QPainter paint(&picture);
    paint.setRenderHint(QPainter::Antialiasing);
    paint.setPen(QPen(QColor(60, 60, 70), 2));
    paint.setBrush(QColor(200, 204, 212));
    paint.drawRoundedRect(QRectF(4, 4, 88, 132), 8, 8);
    paint.setBrush(QColor(20, 60, 110));
    paint.drawRect(QRectF(16, 16, 64, 44));
    paint.setPen(QPen(QColor(150, 220, 255), 2));
    for (int row = 0; row < 4; ++row)
        paint.drawLine(QPointF(22, 24 + row * 10), QPointF(74 - row * 8, 24 + row * 10));
    paint.setPen(QPen(QColor(60, 60, 70), 1));
    paint.setBrush(QColor(240, 240, 240));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            paint.drawEllipse(QRectF(22 + col * 20, 72 + row * 14, 10, 10));
    return picture;
}

}  // namespace

InfoDialogView::InfoDialogView(InfoDialogForm& form, QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(2);
    auto* picture = new QLabel(frame);
    picture->setPixmap(stationPicture());
    picture->setAlignment(Qt::AlignTop);

    auto* title = new QLabel(frame);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* copyright = new QLabel(frame);
    version_ = new QLabel(frame);
    auto* symbol = new QLabel(frame);
    QFont symbolFont(QStringLiteral("DejaVu Sans"));
    symbolFont.setPointSizeF(titleFont.pointSizeF() * 2);
    symbol->setFont(symbolFont);
    ok_ = new QPushButton(frame);
    ok_->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(copyright);
    texts->addWidget(version_);
    texts->addStretch();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(symbol);
    buttonRow->addStretch();
    buttonRow->addWidget(ok_);
    texts->addLayout(buttonRow);
    auto* inner = new QHBoxLayout(frame);
    inner->setContentsMargins(16, 16, 16, 16);
    inner->setSpacing(16);
    inner->addWidget(picture);
    inner->addLayout(texts, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    setWindowTitle(QString::fromStdString(form.caption()));
    bindLabel(title, form.title);
    bindLabel(copyright, form.copyright);
    bindLabel(version_, form.version);
    bindLabel(symbol, form.copyrightSign);
    bindButton(
        ok_, form.ok, [this] { accept(); }, 'O');
}

}  // namespace pnl::ui
