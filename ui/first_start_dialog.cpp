#include "ui/first_start_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/program.h"
#include "forms/installations_window.h"
#include "stations/installations_window.h"
#include "tools/sample/sample_installation.h"
#include "ui/installations_window_view.h"

namespace pnl::ui {

namespace {

// The sample's folder as a text field, the proposal filled in: Enter takes it, a typed folder that does not
// exist yet is created; "Durchsuchen …" picks the place.
class SampleFolderDialog : public QDialog {
  public:
    explicit SampleFolderDialog(const QString& proposed) {
        setWindowTitle("Beispielinstallation anlegen");
        auto* caption = new QLabel("&Ordner für die Beispielinstallation:", this);
        folder_ = new QLineEdit(proposed, this);
        folder_->setMinimumWidth(folder_->fontMetrics().averageCharWidth() * 50);
        caption->setBuddy(folder_);
        auto* browseButton = new QPushButton("&Durchsuchen …", this);
        browseButton->setAutoDefault(false);
        auto* hint = new QLabel(
            "Ein Ordner, den es noch nicht gibt, wird angelegt. Die Beispielinstallation braucht einen neuen "
            "oder leeren Ordner.",
            this);
        hint->setWordWrap(true);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* create = buttons->addButton("An&legen", QDialogButtonBox::AcceptRole);
        buttons->addButton("&Abbrechen", QDialogButtonBox::RejectRole);
        create->setDefault(true);

        auto* row = new QHBoxLayout;
        row->addWidget(folder_, 1);
        row->addWidget(browseButton);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(caption);
        layout->addLayout(row);
        layout->addWidget(hint);
        layout->addWidget(buttons);

        connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        folder_->selectAll();
    }

    QString folder() const { return folder_->text(); }

  private:
    // A folder that holds files already gets the sample in a new folder below it.
    void browse() {
        QString start = QFileInfo(folder_->text()).dir().absolutePath();
        if (!QDir(start).exists())
            start = QDir::homePath();
        const QString chosen = QFileDialog::getExistingDirectory(this, "Ort der Beispielinstallation", start);
        if (chosen.isEmpty())
            return;
        folder_->setText(QDir(chosen).isEmpty() ? chosen : QDir(chosen).filePath(kSampleFolderName));
    }

    QLineEdit* folder_;
};

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

    std::optional<std::string> pickSampleFolder(const std::string& proposed) override {
        SampleFolderDialog dialog(QString::fromStdString(proposed));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.folder().toStdString();
    }

  private:
    Platform platform_;
    UserSettings& settings_;
};

}  // namespace

ChosenInstallation askForInstallationFolder(const Platform& platform, UserSettings& settings) {
    QtFirstStartPrompt prompt(platform, settings);
    return chooseInstallationFolder({platform.fs, platform.dialogs, settings, prompt, writeFirstStartSample,
                                     QDir::homePath().toStdString()});
}

}  // namespace pnl::ui
