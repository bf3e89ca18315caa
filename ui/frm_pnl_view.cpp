#include "ui/frm_pnl_view.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "forms/frm_pnl.h"
#include "stations/transfer_run.h"
#include "ui/binders.h"

namespace pnl::ui {

FrmPnlView::FrmPnlView(FrmPNL& form, FrmPnlController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setModal(false);
    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setMinimumWidth(200);
    lines_ = new QTreeWidget(this);
    lines_->setMinimumWidth(520);
    start_ = new QPushButton(this);
    all_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);

    auto* lists = new QHBoxLayout;
    lists->addWidget(tree_, 1);
    lists->addWidget(lines_, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all_);
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    resize(820, 420);

    bindWindow(this, form);
    bindCheckTree(tree_, form.TrVwPNLTrans);
    bindColumnList(lines_, form.LstPNLTrans);
    // A line has five fields and the list four headers: the second serial number gets a column of its own, so
    // that "Code" shows the access code.
    lines_->setColumnCount(5);
    lines_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Appartement"),
                             QStringLiteral("Seriennummer"), QStringLiteral("2. Seriennummer"),
                             QStringLiteral("Code")});
    lines_->header()->setStretchLastSection(false);
    lines_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 5; ++column)
        lines_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    bindProgressBar(bar_, form.PBarPNL);
    bindButton(
        start_, form.CmdPNLTransStart, [&controller] { controller.CmdPNLTransStart_Click(); }, 'T');
    bindButton(
        all_, form.CmdPNLTransAll, [&controller] { controller.CmdPNLTransAll_Click(); }, 'A');
    bindButton(
        cancel_, form.CmdPNLTransCancel, [&controller] { controller.CmdPNLTransCancel_Click(); }, 'b');

    setTabOrder(tree_, lines_);
    setTabOrder(lines_, all_);
    setTabOrder(all_, start_);
    setTabOrder(start_, cancel_);
}

void FrmPnlView::setVisible(bool visible) {
    QDialog::setVisible(visible);
    // On showing, a dialog without a default button makes its first button the default; this one has none.
    if (visible)
        for (QPushButton* button : {all_, start_, cancel_})
            button->setDefault(false);
}

void FrmPnlView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        tree_->setFocus(Qt::OtherFocusReason);
}

void FrmPnlView::keyPressEvent(QKeyEvent* event) {
    // The dialog has no default button: Enter presses only the button that has the focus, so that an Enter
    // in the station tree does not start a transfer.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmPnlView::reject() {
    controller_.CmdPNLTransCancel_Click();
}

void FrmPnlView::closeEvent(QCloseEvent* event) {
    if (controller_.Form_QueryUnload())
        event->accept();
    else
        event->ignore();
}

}  // namespace pnl::ui
