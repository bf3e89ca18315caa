#include "ui/screenshots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/main_window.h"
#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "stations/station_directory.h"
#include "stations/station_state.h"
#include "ui/info_dialog_view.h"
#include "ui/installations_window_view.h"
#include "ui/main_window_view.h"
#include "ui/overview_page_view.h"
#include "ui/password_dialog_view.h"
#include "ui/setup_application.h"

namespace pnl::ui {

namespace {

// Time for the window system to lay out and paint a window before it is photographed.
constexpr int kSettleMs = 600;

// The shown window with this caption (the views of other windows are found by what the user sees).
QWidget* shownWindow(const std::string& caption) {
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->isWindow() && widget->isVisible() &&
            widget->windowTitle() == QString::fromStdString(caption))
            return widget;
    return nullptr;
}

void report(bool saved, const QString& path) {
    std::fprintf(stderr, "%s %s\n",
                 saved ? "gespeichert:" : "nicht gespeichert:", path.toLocal8Bit().constData());
}

void save(QWidget* widget, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    report(widget && widget->grab().save(path, "PNG"), path);
}

// The whole screen as the window manager shows it, frames and stacking included, as "screen-NAME".
void saveScreen(const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath("screen-" + name);
    QScreen* screen = QGuiApplication::primaryScreen();
    report(screen && screen->grabWindow(0).save(path, "PNG"), path);
}

// Photographs the window that waits modally (with the whole screen when asked) and clicks its button of that
// text (mnemonic included).
void photographModal(const QString& folder, const QString& name, const QString& answer,
                     bool wholeScreen = false) {
    QWidget* window = QApplication::activeModalWidget();
    save(window, folder, name);
    if (wholeScreen)
        saveScreen(folder, name);
    if (window)
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (button->text() == answer) {
                button->click();
                return;
            }
}

// Runs `ask`, photographs the question it shows (with the whole screen when asked) and answers it with the
// button of that text.
void photographQuestion(QObject* run, const QString& folder, const QString& name, const QString& answer,
                        const std::function<void()>& ask, bool wholeScreen = false) {
    QTimer::singleShot(kSettleMs, run, [folder, name, answer, wholeScreen] {
        photographModal(folder, name, answer, wholeScreen);
    });
    ask();
}

// The first station as if it had been sent before the names with "ß" were spelled so and before its first
// resident came: the transfer dialog shows a difference.
void recordEarlierTransfer(Program& program) {
    const std::vector<StationRecord> stations = listedStations(program);
    if (stations.empty() || !program.residents())
        return;
    const StationRecord record = readStation(program, stations.front().number);
    StationState state;
    state.complete = true;
    state.sentAt = program.loop.clock().now();
    state.serial = static_cast<std::uint32_t>(leadingNumber(record.serial));
    state.firmware = record.olderFirmware ? Firmware::V27 : Firmware::V3;
    state.lines = transferLines(StationDirectoryOf(*program.residents(), record.number));
    if (!state.lines.empty())
        state.lines.erase(state.lines.begin());
    for (std::string& line : state.lines)
        for (std::size_t at = line.find("ß"); at != std::string::npos && at < line.find('|');
             at = line.find("ß"))
            line.replace(at, std::string("ß").size(), "ss");
    writeStationState(program, record.number, state);
}

// Runs the steps one after the other, each after the windows have settled. The steps belong to the run: they
// end with its main window, when the run ends and the program starts on another installation.
void runSteps(QObject* run, std::vector<std::function<void()>> steps, std::size_t next = 0) {
    if (next >= steps.size())
        return;
    QTimer::singleShot(kSettleMs, run, [run, steps = std::move(steps), next]() mutable {
        steps[next]();
        runSteps(run, std::move(steps), next + 1);
    });
}

// Opens the window "Anlagen" and lets it read every installation, so that the next step photographs it.
void openInstallations(SetupApplication& setup) {
    setup.mainWindow().openInstallations();
    setup.program().loop.processEventsUntil([&setup] { return !setup.installations().reading(); });
}

// The window "Anlagen", and the whole screen with it.
std::function<void()> photographInstallations(SetupApplication& setup, const QString& folder,
                                              const QString& name) {
    return [&setup, folder, name] {
        save(setup.installationsWindow(), folder, name);
        saveScreen(folder, name);
    };
}

}  // namespace

void scheduleScreenshots(SetupApplication& setup, const QString& folder, int run) {
    QDir().mkpath(folder);
    if (setup.ended())
        return;
    // The pictures end the run, not the shutdown question.
    auto finish = [&setup] { setup.endProgram(); };
    QObject* context = setup.mainWindowView();
    if (setup.passwordForm().visible()) {
        // After a first start the dialog also shows the new sample's access codes.
        const QString name =
            setup.passwordForm().accessCodes.visible() ? "first-start-password.png" : "password.png";
        runSteps(context, {[&setup, folder, name] { save(setup.passwordWindow(), folder, name); }, finish});
        return;
    }
    if (run > 1) {
        runSteps(context,
                 {
                     [&setup, folder] { save(setup.mainWindowView(), folder, "main-after-switch.png"); },
                     [&setup] { openInstallations(setup); },
                     photographInstallations(setup, folder, "installations-after-switch.png"),
                     finish,
                 });
        return;
    }
    runSteps(
        context,
        {
            [&setup, folder] { save(setup.mainWindowView(), folder, "main.png"); },
            [&setup] {
                setup.mainWindow().openLevels();
                setup.mainForm().levelChoice.setListIndex(4);
                setup.levelEditor().levelChosen();
            },
            [&setup, folder] { save(setup.mainWindowView(), folder, "levels.png"); },
            [&setup] {
                // Shown without its modal loop, which would hold up the steps.
                FillProjectInfo(setup.infoForm());
                setup.infoWindow()->show();
            },
            [&setup, folder] {
                save(setup.infoWindow(), folder, "info.png");
                setup.infoWindow()->hide();
            },
            [&setup] { setup.mainWindow().openInterfaces(); },
            [&setup, folder] {
                save(shownWindow(setup.interfaceForm().caption()), folder, "interface-start.png");
            },
            [&setup] {
                InterfaceWindowForm& com = setup.interfaceForm();
                com.portChoice.setListIndex(com.portChoice.findText("COM1"));
                if (!com.portChoice.text().empty())
                    setup.interfaceController().portChosen();
            },
            [&setup, folder] { save(shownWindow(setup.interfaceForm().caption()), folder, "interface.png"); },
            [&setup] {
                recordEarlierTransfer(setup.program());
                setup.mainWindow().openResidents();
                setup.mainWindow().openTransfer();
                setup.transferController().stationHighlighted(0);
            },
            [&setup, folder] { save(shownWindow(setup.transferForm().caption()), folder, "transfer.png"); },
            [&setup] {
                // The list beside the form, searched, with the resident chosen in it.
                MainWindowForm& page = setup.mainForm();
                page.listSearch.setText("mül");
                setup.residentEditor().listSearchChanged();
                if (!page.residentList.shown().empty())
                    page.residentList.setChosen(
                        page.residentList.rows().at(page.residentList.shown().front()).key);
                setup.residentEditor().residentPicked();
            },
            [&setup, folder] { save(setup.mainWindowView(), folder, "residents.png"); },
            [&setup] {
                setup.transferForm().setVisible(false);
                setup.mainForm().residentChoice.setListIndex(0);
                setup.residentEditor().residentChosen();
            },
            [&setup, folder, context] {
                photographQuestion(context, folder, "delete-question.png", "&Nein",
                                   [&setup] { setup.residentEditor().deleteResident(); });
            },
            [&setup, folder, context] {
                ResidentPageForm& page = setup.mainForm();
                page.firstName.setText(page.firstName.text() + " Maria");
                photographQuestion(context, folder, "unsaved-question.png", "&Nein",
                                   [&setup] { setup.residentEditor().newResident(); });
            },
            [&setup] {
                // Three rows marked, then a tick box clicked: the tick and the marking both show.
                setup.mainWindow().openOverview();
                QTableView* table = setup.overviewView()->table();
                table->selectionModel()->select(
                    QItemSelection(table->model()->index(0, 0), table->model()->index(2, 0)),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
                const auto& stations = setup.overviewPage().overview().stations;
                if (stations.size() > 1)
                    setup.overviewPage().TickStation(1, stations[1].number, true);
            },
            [&setup, folder] { save(setup.mainWindowView(), folder, "overview.png"); },
            [&setup] {
                // A resident moved since the backup the script put there: "Sicherungen" shows the difference.
                setup.mainWindow().openResidents();
                ResidentPageForm& page = setup.mainForm();
                page.residentChoice.setListIndex(1);
                setup.residentEditor().residentChosen();
                page.apartment.setText("C007");
                setup.residentEditor().save();
                setup.mainWindow().openBackups();
                setup.backupsForm().backupList.setListIndex(0);
                setup.backupsController().backupChosen();
            },
            [&setup, folder] { save(shownWindow(setup.backupsForm().caption()), folder, "backups.png"); },
            [&setup, folder, context] {
                photographQuestion(context, folder, "restore-question.png", "&Nein",
                                   [&setup] { setup.backupsController().restore(); });
            },
            [&setup] { setup.backupsController().close(); },
            // --- Further windows are photographed here. ---
            [&setup] { openInstallations(setup); },
            photographInstallations(setup, folder, "installations.png"),
            [&setup] {
                // The next installation of the list (the first that is not this one): opening it ends this
                // run.
                InstallationsWindowForm& form = setup.installationsForm();
                for (int line = 0; line < form.installationList.count(); ++line)
                    if (form.installationList.line(line).find("(geöffnet)") == std::string::npos) {
                        form.installationList.setListIndex(line);
                        break;
                    }
                setup.installations().entryChosen();
            },
            [&setup, folder, context] {
                save(setup.installationsWindow(), folder, "installations-chosen.png");
                photographQuestion(
                    context, folder, "switch-question.png", "&Nein",
                    [&setup] { setup.installations().open(); }, true);
            },
        });
}

void scheduleFirstStartScreenshots(const QString& folder) {
    QDir().mkpath(folder);
    runSteps(QCoreApplication::instance(),
             {
                 [folder] { photographModal(folder, "first-start.png", "&Beispielinstallation anlegen …"); },
                 [folder] { photographModal(folder, "first-start-folder.png", "An&legen"); },
             });
}

}  // namespace pnl::ui
