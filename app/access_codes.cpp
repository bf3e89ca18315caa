#include "app/access_codes.h"

#include <exception>

#include "app/program.h"
#include "app/records.h"
#include "app/text.h"
#include "forms/main_window.h"
#include "forms/password_dialog.h"

namespace pnl {

namespace {

// Line breaks in the dialog's texts are written line feed first, then carriage return.
constexpr const char* kBreak = "\n\r";

}  // namespace

CodeMatch MatchAccessCode(Program& program, const std::string& entry) {
    if (upper(entry) == kMasterCode)
        return {CodeMatch::Kind::Master, 6};
    SettingsFile& settings = program.originalSettings;
    settings.setFileName(program.path(kSettingsFile));
    for (int level = 1; level <= 6; ++level) {
        const LevelRecord record = readLevelRecord(settings, level);
        // The kind without regard to case, as the rights read it: "n" has no rights as "N" has none.
        if (record.enabledExactly() && entry == record.code && record.kind != "N" && !record.kind.empty())
            return {CodeMatch::Kind::Level, level};
    }
    return {};
}

AccessStep TryAccessCode(Program& program, const std::string& entry, const std::function<void()>& accepted) {
    if (entry.empty())
        return AccessStep::Ignored;
    CodeMatch match;
    try {
        match = MatchAccessCode(program, entry);
    } catch (const std::exception&) {
        return AccessStep::Failure;
    }
    if (match.kind == CodeMatch::Kind::Wrong) {
        ++program.userLevel;
        return program.userLevel >= kAccessTries ? AccessStep::Refused : AccessStep::TryAgain;
    }
    if (accepted)
        accepted();
    if (match.kind == CodeMatch::Kind::Master)
        program.msgBox("Möge die Macht mit Euch sein");
    program.userLevel = static_cast<std::uint8_t>(match.level);
    return AccessStep::Admitted;
}

PasswordDialog::PasswordDialog(Program& program, PasswordDialogForm& form, int idleMilliseconds)
    : program_(program), form_(form), idleMs_(idleMilliseconds) {}

PasswordDialog::~PasswordDialog() {
    stopTimer();
}

void PasswordDialog::load() {
    program_.userLevel = 0;
    form_.prompt.setCaption(std::string("Bitte geben Sie Ihren") + kBreak + "Zugangscode ein!");
    open_ = true;
    restartTimer();
    form_.setVisible(true);
}

bool PasswordDialog::keyPressed(int keyAscii) {
    if (!open_)
        return false;
    restartTimer();
    if (keyAscii != 13)
        return false;
    CheckAccessCode();
    return true;
}

void PasswordDialog::confirm() {
    CheckAccessCode();
}

void PasswordDialog::cancel() {
    if (open_)
        closeAndEnd();
}

void PasswordDialog::idleTimeElapsed() {
    timer_ = 0;
    if (!open_)
        return;
    announceEnd("Es wurde " + std::to_string(idleMs_ / 1000) +
                " Sekunden lang kein Zugangscode eingegeben. Das Programm wird beendet.");
    closeAndEnd();
}

void PasswordDialog::announceEnd(const std::string& why) {
    // The box closes itself, so that a program nobody attends still ends.
    program_.ask({why, "", MsgIcon::Exclamation, MsgButtons::Ok, std::nullopt, kEndNoticeSeconds});
}

void PasswordDialog::closed() {
    if (open_)
        closeAndEnd();
}

void PasswordDialog::CheckAccessCode() {
    if (!open_)
        return;
    // The idle time-out stops once a code is accepted, so it cannot end the program during its box or the
    // start.
    switch (TryAccessCode(program_, form_.code.text(), [this] { stopTimer(); })) {
        case AccessStep::Ignored:
            return;
        case AccessStep::TryAgain: {
            const int left = kAccessTries - program_.userLevel;
            form_.code.setText("");
            form_.prompt.setCaption("Zugangscode falsch – noch " + std::to_string(left) +
                                    (left == 1 ? " Versuch" : " Versuche"));
            return;
        }
        case AccessStep::Failure:
            form_.prompt.setCaption(std::string("Programmfehler! Bitte") + kBreak +
                                    "rufen Sie die Hotline an");
            return;
        case AccessStep::Refused:
            form_.code.setText("");
            stopTimer();
            announceEnd("Der Zugangscode wurde dreimal falsch eingegeben. Das Programm wird beendet.");
            closeAndEnd();
            return;
        case AccessStep::Admitted:
            break;
    }
    form_.prompt.setCaption(std::string("Code Ok!") + kBreak + "Programm wird geladen!");
    if (seams.repaint)
        seams.repaint();
    const bool running = seams.startUp ? seams.startUp() : true;
    close();
    if (!running && seams.endProgram)
        seams.endProgram();
}

void PasswordDialog::restartTimer() {
    stopTimer();
    timer_ = program_.loop.startTimer(EventLoop::Milliseconds(idleMs_), false, [this] { idleTimeElapsed(); });
}

void PasswordDialog::stopTimer() {
    if (timer_ != 0)
        program_.loop.stopTimer(timer_);
    timer_ = 0;
}

void PasswordDialog::close() {
    stopTimer();
    open_ = false;
    form_.setVisible(false);
}

void PasswordDialog::closeAndEnd() {
    close();
    if (seams.endProgram)
        seams.endProgram();
}

bool MayOnlyEditResidentData(Program& program) {
    // Upper-cased, so that a record written with a lower-case kind cannot give more rights than its letter
    // says.
    return readLevelRecord(program.settings, program.userLevel).kind == "B";
}

void ApplyLevelRights(Program& program, MainWindowForm& form) {
    const std::string kind = readLevelRecord(program.settings, program.userLevel).kind;
    const bool residentsOnly = MayOnlyEditResidentData(program);
    const bool noLevelEditor = kind == "A" || residentsOnly;

    form.interfacesMenu.setEnabled(!residentsOnly && !program.startedWithLevel);
    form.recordsMenu.setEnabled(true);
    form.levelsMenu.setEnabled(!noLevelEditor);
    // Restoring an earlier pair replaces the level records too.
    form.backupsMenu.setEnabled(!noLevelEditor);
    for (MenuItem* always : {&form.transferMenu, &form.installationsMenu, &form.infoMenu, &form.exitMenu})
        always->setEnabled(true);
    form.residentTabs.setTabEnabled(1, !residentsOnly);
    for (Control* control : std::initializer_list<Control*>{&form.serial, &form.secondSerial,
                                                            &form.deleteResident, &form.newResident})
        control->setEnabled(!residentsOnly);
}

}  // namespace pnl
