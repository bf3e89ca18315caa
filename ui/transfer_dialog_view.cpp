#include "ui/transfer_dialog_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "forms/transfer_dialog.h"
#include "stations/transfer_dialog.h"
#include "ui/binders.h"

namespace pnl::ui {

TransferDialogView::TransferDialogView(TransferDialogForm& form, TransferDialogController& controller,
                                       QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setModal(false);
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setMinimumWidth(200);
    lines_ = new QTreeWidget(this);
    lines_->setMinimumWidth(520);
    start_ = new QPushButton(this);
    all_ = new QPushButton(this);
    changed_ = new QPushButton(this);
    none_ = new QPushButton(this);
    states_ = new QTreeWidget(this);
    states_->setRootIsDecorated(false);
    cancel_ = new QPushButton(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    status_ = new QLabel(this);
    check_ = new QCheckBox(this);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(tree_, 1);
    left->addWidget(states_, 1);
    lists->addLayout(left, 2);
    lists->addWidget(lines_, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all_);
    buttons->addWidget(none_);
    buttons->addWidget(changed_);
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(check_);
    layout->addLayout(buttons);
    resize(820, 420);

    bindWindow(this, form);
    bindCheckTree(tree_, form.stationTree);
    bindColumnList(lines_, form.transferList);
    bindColumnList(states_, form.stationStates);
    // Selecting a station shows what it holds against what it would receive.
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            controller_.stationHighlighted(tree_->indexOfTopLevelItem(item));
    });
    // A line has five fields and the list four headers: the second serial number gets a column of its own, so
    // that "Code" shows the access code.
    lines_->setColumnCount(5);
    lines_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Appartement"),
                             QStringLiteral("Seriennummer"), QStringLiteral("Seriennummer 2"),
                             QStringLiteral("Code")});
    // The headers keep their names; the tips give the names of the resident page.
    lines_->headerItem()->setToolTip(1, QStringLiteral("Wohnungsnummer"));
    lines_->headerItem()->setToolTip(2, QStringLiteral("Seriennummer 1"));
    // Columns as wide as their texts (a scroll bar rather than a cut); a cell's tip holds its full text.
    for (QTreeWidget* list : {lines_, states_}) {
        list->header()->setStretchLastSection(false);
        list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    bindProgressBar(bar_, form.progress);
    bindLabel(status_, form.status);
    bindCheckBox(
        check_, form.checkPresence, [&controller] { controller.checkPresenceToggled(); }, 'E');
    bindButton(
        start_, form.start, [&controller] { controller.startTransfer(); }, 'T');
    bindButton(
        all_, form.selectAll, [&controller] { controller.selectAll(); }, 'A');
    bindButton(
        none_, form.selectNone, [&controller] { controller.selectNone(); }, 'K');
    bindButton(
        changed_, form.selectChanged, [&controller] { controller.selectChanged(); }, 'G');
    bindButton(
        cancel_, form.cancel, [&controller] { controller.cancel(); }, 'b');

    setTabOrder(tree_, states_);
    setTabOrder(states_, lines_);
    setTabOrder(lines_, check_);
    setTabOrder(check_, all_);
    setTabOrder(all_, none_);
    setTabOrder(none_, changed_);
    setTabOrder(changed_, start_);
    setTabOrder(start_, cancel_);
}

void TransferDialogView::setVisible(bool visible) {
    QDialog::setVisible(visible);
    // On showing, a dialog without a default button makes its first button the default; this one has none.
    if (visible)
        for (QPushButton* button : {all_, changed_, start_, cancel_})
            button->setDefault(false);
}

void TransferDialogView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        tree_->setFocus(Qt::OtherFocusReason);
}

void TransferDialogView::keyPressEvent(QKeyEvent* event) {
    // The dialog has no default button: Enter presses only the button that has the focus, so that an Enter
    // in the station tree does not start a transfer.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TransferDialogView::reject() {
    controller_.cancel();
}

void TransferDialogView::closeEvent(QCloseEvent* event) {
    if (controller_.closeRequested())
        event->accept();
    else
        event->ignore();
}

}  // namespace pnl::ui
