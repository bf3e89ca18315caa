// Under a real window manager (run by tests/wm/run-under-openbox): the main window, moved and resized, opens
// at the next start exactly where it was left, frame included: it neither creeps by the title bar's height
// nor loses its size.

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <iostream>

#include "platform/file_system.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/serial_port.h"
#include "platform/user_settings.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/main_window_view.h"
#include "ui/setup_application.h"

namespace {

// Waits until the window manager has framed the window and the window stands where `done` wants it (at most
// 10 s, on a busy machine), then a little longer for the last moves.
void settle(
    const pnl::ui::MainWindowView* window, const std::function<bool()>& done = [] { return true; }) {
    for (int tries = 0; tries < 100; ++tries) {
        QEventLoop wait;
        QTimer::singleShot(100, &wait, &QEventLoop::quit);
        wait.exec();
        if (window->frameGeometry().height() > window->geometry().height() && done())
            break;
    }
    QEventLoop wait;
    QTimer::singleShot(300, &wait, &QEventLoop::quit);
    wait.exec();
}

std::ostream& operator<<(std::ostream& out, const QRect& r) {
    return out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    pnl::test::TempFolder folder;
    std::string error;
    if (!pnl::writeSampleInstallation(folder.path() + "/anlage", &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    pnl::PosixFileSystem fs;
    pnl::XdgUserSettings settings(fs, folder.path() + "/config");
    // One start at level 5 that remembers the main window's place; `act` sees the window once it is framed.
    auto run = [&](const std::function<void(pnl::ui::MainWindowView*)>& act) {
        pnl::QtEventLoop loop;
        pnl::QtDialogs dialogs;
        pnl::test::TestPortDevices devices;
        const auto serial = pnl::makePosixSerialPort(loop, devices.map);
        const auto ports = pnl::makePosixPortQueries(devices.map);
        pnl::ui::SetupOptions options;
        options.userSettings = &settings;
        pnl::ui::SetupApplication setup(pnl::Platform{fs, loop, dialogs, *serial, *ports}, devices.services,
                                        folder.path() + "/anlage", options);
        setup.onEnd = [] {};
        setup.start(5);
        settle(setup.mainWindowView());
        act(setup.mainWindowView());
        setup.endProgram();
    };

    QRect leftFrame, leftInside;
    run([&](pnl::ui::MainWindowView* window) {
        window->setGeometry(100, 120, 700, 500);
        settle(window, [window] { return window->geometry() == QRect(100, 120, 700, 500); });
        leftFrame = window->frameGeometry();
        leftInside = window->geometry();
    });
    QRect openedFrame, openedInside;
    run([&](pnl::ui::MainWindowView* window) {
        openedFrame = window->frameGeometry();
        openedInside = window->geometry();
    });
    std::cout << "verlassen: " << leftInside << " (Rahmen " << leftFrame << "), geöffnet: " << openedInside
              << " (Rahmen " << openedFrame << ")\n";
    const bool framed = leftFrame.height() > leftInside.height();
    return framed && leftInside == QRect(100, 120, 700, 500) && openedInside == leftInside &&
                   openedFrame == leftFrame
               ? 0
               : 1;
}
