#include "ui/main_window_view.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/window_place.h"
#include "forms/main_window.h"
#include "ui/binders.h"

namespace pnl::ui {

namespace {

// The window system's frame of a window never shown: room for a title bar and borders.
constexpr WindowPlace kFrameGuess{0, 0, 0, 0, 8, 36, 8, 8, false};

// The screens' usable parts, the primary screen first.
std::vector<ScreenArea> screenAreas() {
    std::vector<ScreenArea> areas;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return areas;
}

}  // namespace

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
    setMinimumSize(640, 480);
    openAt(std::nullopt);
    bindWindow(this, form);
}

void MainWindowView::addPage(QWidget* page) {
    page->setParent(pages_);
    pageLayout_->addWidget(page);
}

void MainWindowView::openAt(const std::optional<WindowPlace>& remembered) {
    const WindowPlace place = placeMainWindow(remembered, screenAreas(), kFrameGuess);
    setGeometry(place.x, place.y, place.width, place.height);
    // Taken on the first show.
    setWindowState(place.maximized ? windowState() | Qt::WindowMaximized
                                   : windowState() & ~Qt::WindowMaximized);
}

WindowPlace MainWindowView::place() const {
    const QRect inner = isMaximized() ? normalGeometry() : geometry();
    const QRect now = geometry();
    const QRect frame = frameGeometry();
    return {inner.x(),
            inner.y(),
            inner.width(),
            inner.height(),
            now.left() - frame.left(),
            now.top() - frame.top(),
            frame.right() - now.right(),
            frame.bottom() - now.bottom(),
            isMaximized()};
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
