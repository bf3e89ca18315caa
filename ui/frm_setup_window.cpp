#include "ui/frm_setup_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "forms/frm_setup.h"
#include "ui/binders.h"

namespace pnl::ui {

FrmSetupWindow::FrmSetupWindow(FrmSetup& form, MainWindowController& controller, QWidget* parent)
    : QMainWindow(parent), controller_(controller) {
    struct Command {
        MenuItem& item;
        void (MainWindowController::*handler)();
        QChar mnemonic;
    };
    const Command commands[] = {
        {form.PCCOM, &MainWindowController::PCCOM_Click, 'S'},
        {form.Bewo, &MainWindowController::Bewo_Click, 'D'},
        {form.Passwords, &MainWindowController::Passwords_Click, 'B'},
        {form.Pnl, &MainWindowController::Pnl_Click, 'P'},
        {form.Backups, &MainWindowController::Backups_Click, 'c'},
        {form.Info, &MainWindowController::Info_Click, 'I'},
        {form.Ende, &MainWindowController::Ende_Click, 'E'},
    };
    for (const Command& command : commands) {
        if (&command.item == &form.Bewo) {
            // "Datensätze" opens a menu: the resident page and the resident overview.
            QMenu* records = menuBar()->addMenu(QString());
            bindMenuItem(records->menuAction(), form.Bewo, {}, command.mnemonic);
            QAction* edit = records->addAction(QString());
            bindMenuItem(
                edit, form.BewoEdit, [&controller] { controller.Bewo_Click(); }, 'B');
            overview_ = records->addAction(QString());
            bindMenuItem(
                overview_, form.BewoOverview, [&controller] { controller.BewoOverview_Click(); },
                QChar(u'ü'));
            commands_.push_back(edit);
            continue;
        }
        QAction* action = menuBar()->addAction(QString());
        bindMenuItem(
            action, command.item, [&controller, handler = command.handler] { (controller.*handler)(); },
            command.mnemonic);
        commands_.push_back(action);
    }

    pages_ = new QWidget(this);
    pageLayout_ = new QVBoxLayout(pages_);
    setCentralWidget(pages_);

    status_ = bindStatusBar(statusBar(), form.SBarSetup, 3);
    resize(860, 640);
    setMinimumSize(640, 480);
    bindWindow(this, form);
}

void FrmSetupWindow::addPage(QWidget* page) {
    page->setParent(pages_);
    pageLayout_->addWidget(page);
}

void FrmSetupWindow::closeEvent(QCloseEvent* event) {
    if (controller_.Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (onClosed)
        onClosed();
}

}  // namespace pnl::ui
