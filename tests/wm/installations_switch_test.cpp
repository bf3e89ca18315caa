// Under a real window manager (run by tests/wm/run-under-openbox): the program runs on one installation with
// a change in its working copies, opens "Anlagen" (three entries, one missing) and opens the second. The exit
// question closed by its close box means "Abbrechen": the run goes on. Answered "Nein" (Alt+N), the run ends
// without writing the first installation's files and the program starts on the second in this process: its
// lock held, the first one's given up, the second now first in the user's list and the folder opened last.

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/program.h"
#include "forms/installations_window.h"
#include "platform/file_lock.h"
#include "stations/installations_window.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/installations_window_view.h"
#include "ui/main_window_view.h"
#include "ui/setup_application.h"
#include "ui/windows_runs.h"
#include "wm/window_manager_actions.h"

namespace {

using Strings = std::vector<std::string>;
// Time for the window manager to place the main window, as it has long done when a user opens a menu.
constexpr int kPlaced = 1000;
// The title starts with a letter of two bytes, which the pattern of xdotool does not take as one.
const std::string kQuestion = "^.*nderungen speichern$";

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void act(const std::string& script) {
    QProcess::startDetached("sh", {"-c", QString::fromStdString(script)});
}

struct Scene {
    pnl::test::TempFolder root;
    const std::string first = root.path() + "/Eichenweg";
    const std::string second = root.path() + "/Lindenhof";
    const std::string vanished = root.path() + "/Birkenweg";
    pnl::PosixFileSystem fs;
    pnl::XdgUserSettings settings{fs, root.path() + "/config"};
    std::string settingsBefore, databaseBefore;
    Strings faults;

    void expect(bool holds, const std::string& what) {
        if (!holds)
            faults.push_back(what);
    }
    bool firstUnchanged() const {
        return contentOf(first + "/ANLAGE99.INI") == settingsBefore &&
               contentOf(first + "/QBXDATA.MDB") == databaseBefore;
    }
    pnl::FileLock::Result probeLock(const std::string& folder) const {
        pnl::FileLock probe;
        return probe.tryLock(folder + "/PNLSETUP.LCK", "probe");
    }

    void firstRun(pnl::ui::SetupApplication& setup) {
        expect(setup.program().settings.write("PNLXXX", "PNL00", "PNL-B,Haupteingang Nord,012345,,FALSE"),
               "Änderung der Arbeitskopie");
        setup.mainWindow().openInstallations();
    }

    // Back in the event loop the window manager has placed the window and it has read every installation.
    void switchToSecond(pnl::ui::SetupApplication& setup) {
        pnl::InstallationsWindowForm& form = setup.installationsForm();
        expect(form.installationList.count() == 3 && form.status.caption() == "3 Anlagen, davon 1 fehlt",
               "drei Anlagen, eine fehlt: " + form.status.caption());
        form.installationList.setListIndex(1);
        setup.installations().entryChosen();

        act(pnl::test::clickCloseBox(kQuestion));
        setup.installations().open();
        expect(setup.nextFolder().empty() && setup.mainForm().visible() && form.visible(),
               "Schließfeld der Frage: der Lauf geht weiter");
        // The window stands framed over the main window, as the window manager placed it.
        const QRect frame = setup.installationsWindow()->frameGeometry();
        const QPoint offset = frame.center() - setup.mainWindowView()->frameGeometry().center();
        expect(frame != setup.installationsWindow()->geometry() && offset.manhattanLength() < 40,
               "das Fenster \"Anlagen\" gerahmt über dem Hauptfenster");

        act(pnl::test::pressKeys(kQuestion, "alt+n"));
        setup.installations().open();
        expect(setup.nextFolder() == second, "\"Nein\" öffnet " + second + ", nicht " + setup.nextFolder());
        expect(firstUnchanged(), "ANLAGE99.INI und QBXDATA.MDB der ersten Anlage unverändert");
    }

    void secondRun(pnl::ui::SetupApplication& setup) {
        expect(setup.program().folder == second, "zweiter Lauf auf " + second);
        expect(probeLock(second) == pnl::FileLock::Result::HeldElsewhere,
               "Sperre der zweiten Anlage gehalten");
        expect(probeLock(first) == pnl::FileLock::Result::Locked, "Sperre der ersten Anlage frei");
        expect(settings.lastFolder() == second, "zuletzt geöffnet: " + settings.lastFolder());
        expect(settings.installations() == Strings{second, first, vanished}, "die zweite Anlage zuerst");
        expect(firstUnchanged(), "erste Anlage unverändert");
        setup.endProgram();
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Scene scene;
    std::string error;
    if (!pnl::writeSampleInstallation(scene.first, &error) ||
        !pnl::writeSampleInstallation(scene.second, &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    scene.settingsBefore = contentOf(scene.first + "/ANLAGE99.INI");
    scene.databaseBefore = contentOf(scene.first + "/QBXDATA.MDB");
    scene.settings.setInstallations({scene.first, scene.second, scene.vanished});

    // A question nobody closed fails the test rather than hanging it.
    QTimer::singleShot(60000, [] {
        std::cerr << "Eine Frage wurde nicht geschlossen.\n";
        std::_Exit(1);
    });
    pnl::PortMap ports;
    int runs = 0;
    const int status = pnl::ui::RunWindows(
        ports, scene.settings, scene.first, "5", [&scene, &runs](pnl::ui::SetupApplication& setup, int run) {
            runs = run;
            QTimer::singleShot(kPlaced, setup.mainWindowView(), [&scene, &setup, run] {
                if (run == 1)
                    scene.firstRun(setup);
                else
                    scene.secondRun(setup);
            });
            if (run == 1)
                QTimer::singleShot(2 * kPlaced, setup.mainWindowView(),
                                   [&scene, &setup] { scene.switchToSecond(setup); });
        });
    scene.expect(status == 0 && runs == 2, "zwei Läufe, Rückgabe 0");
    for (const std::string& fault : scene.faults)
        std::cout << "Fehler: " << fault << '\n';
    return scene.faults.empty() ? 0 : 1;
}
