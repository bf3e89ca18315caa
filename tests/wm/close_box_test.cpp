// Under a real window manager (run by tests/wm/run-under-openbox): a new resident with the serial number of
// an existing one, saved; the question that follows is closed by the window manager's close box, clicked with
// the mouse, or (argument "enter") answered by Enter. Both mean "Abbrechen": no second resident with that
// serial number, and the typed resident is kept.

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/resident_table.h"
#include "platform/file_system.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/serial_port.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/setup_application.h"
#include "wm/window_manager_actions.h"

namespace {

int rowsWithSerial(pnl::ResidentTable& table, std::int64_t serial) {
    int rows = 0;
    for (table.moveFirst(); !table.eof(); table.moveNext())
        rows += table.current().serial == serial;
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("pnl-wm-" + std::to_string(QCoreApplication::applicationPid()));
    std::string error;
    if (!pnl::writeSampleInstallation(folder.string(), &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    int status = 1;
    {
        pnl::PosixFileSystem fs;
        pnl::QtEventLoop loop;
        pnl::QtDialogs dialogs;
        pnl::test::TestPortDevices devices;
        const auto serial = pnl::makePosixSerialPort(loop, devices.map);
        const auto ports = pnl::makePosixPortQueries(devices.map);
        pnl::ui::SetupApplication setup(pnl::Platform{fs, loop, dialogs, *serial, *ports}, devices.services,
                                        folder.string());
        setup.start(5);
        pnl::ResidentTable& table = *setup.program().residents();
        table.moveFirst();
        const std::int64_t taken = table.current().serial.value_or(0);
        const int before = rowsWithSerial(table, taken);

        pnl::MainWindowForm& form = setup.mainForm();
        setup.residentEditor().newResident();
        form.lastName.setText("Doppelt");
        form.apartment.setText("X99");
        form.serial.setText(std::to_string(taken));

        const bool enter = argc > 1 && std::string(argv[1]) == "enter";
        QTimer::singleShot(0, [enter] {
            // Enter chooses the question's default button.
            const std::string question = "^Datensatz sichern$";
            const std::string act =
                enter ? pnl::test::pressKeys(question, "Return") : pnl::test::clickCloseBox(question);
            QProcess::startDetached("sh", {"-c", QString::fromStdString(act)});
        });
        // A box the close box did not close fails the test rather than hanging it.
        QTimer::singleShot(30000, [] {
            std::cerr << "Die Frage wurde nicht geschlossen.\n";
            std::_Exit(1);
        });
        setup.residentEditor().save();

        const int after = rowsWithSerial(table, taken);
        std::cout << "Seriennummer " << taken << ": vorher " << before << " Bewohner, nachher " << after
                  << '\n';
        status = after == before && setup.residentEditor().hasUnsavedChanges() ? 0 : 1;
    }
    std::filesystem::remove_all(folder);
    return status;
}
