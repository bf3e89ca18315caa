#include "ui/main_window_view.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "forms/main_window.h"
#include "ui/binders.h"

namespace pnl::ui {

MainWindowView::MainWindowView(MainWindowForm& form, MainWindowController& controller, QWidget* parent)
    : QMainWindow(parent), controller_(controller) {
    struct Command {
        MenuItem& item;
        void (MainWindowController::*handler)();
        QChar mnemonic;
    };
    const Command commands[] = {
        {form.interfacesMenu, &MainWindowController::openInterfaces, 'S'},
        {form.recordsMenu, &MainWindowController::openResidents, 'D'},
        {form.levelsMenu, &MainWindowController::openLevels, 'B'},
        {form.transferMenu, &MainWindowController::openTransfer, 'P'},
        {form.backupsMenu, &MainWindowController::openBackups, 'g'},
        {form.installationsMenu, &MainWindowController::openInstallations, 'A'},
        {form.infoMenu, &MainWindowController::openInfo, 'I'},
        {form.exitMenu, &MainWindowController::quit, 'E'},
    };
    for (const Command& command : commands) {
        if (&command.item == &form.recordsMenu) {
            // "Datensätze" opens a menu: the resident page and the resident overview.
            QMenu* records = menuBar()->addMenu(QString());
            bindMenuItem(records->menuAction(), form.recordsMenu, {}, command.mnemonic);
            QAction* edit = records->addAction(QString());
            bindMenuItem(
                edit, form.residentsMenu, [&controller] { controller.openResidents(); }, 'B');
            overview_ = records->addAction(QString());
            bindMenuItem(
                overview_, form.overviewMenu, [&controller] { controller.openOverview(); }, QChar(u'ü'));
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

    statusPanels_ = bindStatusBar(statusBar(), form.statusBar, 3);
    resize(860, 640);
    setMinimumSize(640, 480);
    bindWindow(this, form);
}

void MainWindowView::addPage(QWidget* page) {
    page->setParent(pages_);
    pageLayout_->addWidget(page);
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    if (controller_.closeRequested()) {
        event->ignore();
        return;
    }
    event->accept();
    if (onClosed)
        onClosed();
}

}  // namespace pnl::ui
