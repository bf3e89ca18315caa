#include "ui/first_start_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/first_start.h"
#include "app/program.h"
#include "tools/sample/sample_installation.h"

namespace pnl::ui {

namespace {

class QtFirstStartPrompt : public FirstStartPrompt {
  public:
    FirstStartChoice ask() override {
        QMessageBox box(QMessageBox::Question, kProgramTitle,
                        "Es ist noch kein Installationsordner eingerichtet.\n\n"
                        "Wählen Sie den Ordner einer vorhandenen Installation (mit ANLAGE99.INI und "
                        "QBXDATA.MDB), oder legen Sie zum Kennenlernen eine Beispielinstallation an.");
        QPushButton* existing = box.addButton("&Vorhandene Installation wählen …", QMessageBox::AcceptRole);
        QPushButton* sample = box.addButton("&Beispielinstallation anlegen …", QMessageBox::ActionRole);
        QPushButton* quit = box.addButton("&Abbrechen", QMessageBox::RejectRole);
        box.setDefaultButton(existing);
        box.setEscapeButton(quit);
        box.exec();
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

std::string askForInstallationFolder(FileSystem& fs, Dialogs& dialogs, UserSettings& settings) {
    QtFirstStartPrompt prompt;
    return chooseInstallationFolder({fs, dialogs, settings, prompt, writeSample});
}

}  // namespace pnl::ui
