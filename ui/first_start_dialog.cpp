#include "ui/first_start_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/first_start.h"
#include "app/program.h"
#include "forms/installations_window.h"
#include "stations/installations_window.h"
#include "tools/sample/sample_installation.h"
#include "ui/installations_window_view.h"

namespace pnl::ui {

namespace {

class QtFirstStartPrompt : public FirstStartPrompt {
  public:
    QtFirstStartPrompt(const Platform& platform, UserSettings& settings)
        : platform_(platform), settings_(settings) {}

    FirstStartChoice ask() override {
        const bool listed = !settings_.installations().empty();
        QMessageBox box(
            QMessageBox::Question, kProgramTitle,
            listed
                ? "Es ist kein Installationsordner gewählt, oder der zuletzt gewählte ist nicht mehr da.\n\n"
                  "Wählen Sie eine der Anlagen, die Sie geöffnet haben, den Ordner einer "
                  "vorhandenen Installation (mit ANLAGE99.INI und QBXDATA.MDB), oder legen "
                  "Sie zum Kennenlernen eine Beispielinstallation an."
                : "Es ist noch kein Installationsordner eingerichtet.\n\n"
                  "Wählen Sie den Ordner einer vorhandenen Installation (mit ANLAGE99.INI und "
                  "QBXDATA.MDB), oder legen Sie zum Kennenlernen eine Beispielinstallation an.");
        QPushButton* installations = listed ? box.addButton("A&nlagen …", QMessageBox::AcceptRole) : nullptr;
        QPushButton* existing = box.addButton("&Vorhandene Installation wählen …", QMessageBox::AcceptRole);
        QPushButton* sample = box.addButton("&Beispielinstallation anlegen …", QMessageBox::ActionRole);
        QPushButton* quit = box.addButton("&Abbrechen", QMessageBox::RejectRole);
        box.setDefaultButton(installations ? installations : existing);
        box.setEscapeButton(quit);
        box.exec();
        if (installations && box.clickedButton() == installations)
            return FirstStartChoice::Installations;
        if (box.clickedButton() == existing)
            return FirstStartChoice::Existing;
        if (box.clickedButton() == sample)
            return FirstStartChoice::Sample;
        return FirstStartChoice::Quit;
    }

    std::optional<std::string> pickFolder(const std::string& title) override {
        const QString folder =
            QFileDialog::getExistingDirectory(nullptr, QString::fromStdString(title), QDir::homePath());
        if (folder.isEmpty())
            return std::nullopt;
        return folder.toStdString();
    }

    // The window "Anlagen" on no open installation: "Öffnen" takes the chosen one.
    std::optional<std::string> pickInstallation() override {
        Program noRun(platform_, "");
        InstallationsWindowForm form;
        InstallationsWindowController controller(noRun, form, settings_);
        std::optional<std::string> chosen;
        controller.seams.startOn = [&chosen](const std::string& folder) { chosen = folder; };
        InstallationsWindowView view(form, controller);
        controller.load();
        form.setVisible(true);
        view.exec();
        return chosen;
    }

  private:
    Platform platform_;
    UserSettings& settings_;
};

SampleWritten writeSample(const std::string& folder) {
    std::string error;
    if (!writeSampleInstallation(folder, &error))
        return {false, "Die Beispielinstallation wurde nicht angelegt: " + error};
    std::string codes;
    for (const SampleLevel& level : kSampleLevels)
        codes += "\n  Level " + std::to_string(level.level) + ": " + level.code;
    return {true, "Die Beispielinstallation liegt in " + folder + ".\n\nIhre Zugangscodes:" + codes};
}

}  // namespace

std::string askForInstallationFolder(const Platform& platform, UserSettings& settings) {
    QtFirstStartPrompt prompt(platform, settings);
    return chooseInstallationFolder({platform.fs, platform.dialogs, settings, prompt, writeSample});
}

}  // namespace pnl::ui
