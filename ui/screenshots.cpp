#include "ui/screenshots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/main_window.h"
#include "ui/info_dialog_view.h"
#include "ui/main_window_view.h"
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

void save(QWidget* widget, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    const bool saved = widget && widget->grab().save(path, "PNG");
    std::fprintf(stderr, "%s %s\n",
                 saved ? "gespeichert:" : "nicht gespeichert:", path.toLocal8Bit().constData());
}

// Photographs the window that waits modally and clicks its button of that text (mnemonic included).
void photographModal(const QString& folder, const QString& name, const QString& answer) {
    QWidget* window = QApplication::activeModalWidget();
    save(window, folder, name);
    if (window)
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (button->text() == answer) {
                button->click();
                return;
            }
}

// Runs `ask`, photographs the question it shows and answers it with the button of that text.
void photographQuestion(const QString& folder, const QString& name, const QString& answer,
                        const std::function<void()>& ask) {
    QTimer::singleShot(kSettleMs, [folder, name, answer] { photographModal(folder, name, answer); });
    ask();
}

// Runs the steps one after the other, each after the windows have settled.
void runSteps(std::vector<std::function<void()>> steps, std::size_t next = 0) {
    if (next >= steps.size())
        return;
    QTimer::singleShot(kSettleMs, [steps = std::move(steps), next]() mutable {
        steps[next]();
        runSteps(std::move(steps), next + 1);
    });
}

}  // namespace

void scheduleScreenshots(SetupApplication& setup, const QString& folder) {
    QDir().mkpath(folder);
    if (setup.ended())
        return;
    // The pictures end the run, not the shutdown question.
    auto finish = [&setup] { setup.endProgram(); };
    if (setup.passwordForm().visible()) {
        // After a first start the dialog also shows the new sample's access codes.
        const QString name =
            setup.passwordForm().accessCodes.visible() ? "first-start-password.png" : "password.png";
        runSteps({[&setup, folder, name] { save(setup.passwordWindow(), folder, name); }, finish});
        return;
    }
    runSteps({
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
            setup.mainWindow().openResidents();
            setup.mainWindow().openTransfer();
        },
        [&setup, folder] { save(shownWindow(setup.transferForm().caption()), folder, "transfer.png"); },
        [&setup, folder] { save(setup.mainWindowView(), folder, "residents.png"); },
        [&setup] {
            setup.transferForm().setVisible(false);
            setup.mainForm().residentChoice.setListIndex(0);
            setup.residentEditor().residentChosen();
        },
        [&setup, folder] {
            photographQuestion(folder, "delete-question.png", "&Nein",
                               [&setup] { setup.residentEditor().deleteResident(); });
        },
        [&setup, folder] {
            ResidentPageForm& page = setup.mainForm();
            page.firstName.setText(page.firstName.text() + " Maria");
            photographQuestion(folder, "unsaved-question.png", "&Nein",
                               [&setup] { setup.residentEditor().newResident(); });
        },
        [&setup] { setup.mainWindow().openOverview(); },
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
        [&setup, folder] {
            photographQuestion(folder, "restore-question.png", "&Nein",
                               [&setup] { setup.backupsController().restore(); });
        },
        [&setup] { setup.backupsController().close(); },
        // --- Further windows are photographed here. ---
        finish,
    });
}

void scheduleFirstStartScreenshots(const QString& folder) {
    QDir().mkpath(folder);
    runSteps({
        [folder] { photographModal(folder, "first-start.png", "&Beispielinstallation anlegen …"); },
        [folder] { photographModal(folder, "first-start-folder.png", "An&legen"); },
    });
}

}  // namespace pnl::ui
