#include "app/access_codes.h"

#include <exception>

#include "app/program.h"
#include "app/records.h"
#include "app/text.h"
#include "forms/frm_pwd.h"
#include "forms/frm_setup.h"

namespace pnl {

namespace {

// Line breaks in the dialog's texts are written line feed first, then carriage return.
constexpr const char* kBreak = "\n\r";

}  // namespace

CodeMatch MatchAccessCode(Program& program, const std::string& entry) {
    if (upper(entry) == kMasterCode)
        return {CodeMatch::Kind::Master, 6};
    SettingsFile& settings = program.InitPwd;
    settings.setFileName(program.path(kSettingsFile));
    for (int level = 1; level <= 6; ++level) {
        selectLevelRecord(settings, level);
        FieldOf(program, readEncrypted(settings));
        const ValueFields& fields = program.FieldTable;
        // Without regard to case, as the rights read the kind: "n" has no rights as "N" has none.
        const std::string kind = upper(fields[2]);
        if (fields[0] == "TRUE" && entry == fields[1] && kind != "N" && !kind.empty())
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
        ++program.UserLevel;
        return program.UserLevel >= kAccessTries ? AccessStep::Refused : AccessStep::TryAgain;
    }
    if (accepted)
        accepted();
    if (match.kind == CodeMatch::Kind::Master)
        program.msgBox("Möge die Macht mit Euch sein");
    program.UserLevel = static_cast<std::uint8_t>(match.level);
    return AccessStep::Admitted;
}

PasswordDialog::PasswordDialog(Program& program, FrmPwd& form, int idleMilliseconds)
    : program_(program), form_(form), idleMs_(idleMilliseconds) {}

PasswordDialog::~PasswordDialog() {
    stopTimer();
}

void PasswordDialog::Form_Load() {
    program_.UserLevel = 0;
    form_.LblPwd.setCaption(std::string("Bitte geben Sie Ihren") + kBreak + "Zugangscode ein!");
    open_ = true;
    restartTimer();
    form_.setVisible(true);
}

bool PasswordDialog::Form_KeyPress(int keyAscii) {
    if (!open_)
        return false;
    restartTimer();
    if (keyAscii != 13)
        return false;
    CheckAccessCode();
    return true;
}

void PasswordDialog::CmdPwdOk_Click() {
    CheckAccessCode();
}

void PasswordDialog::CmdPwdCancel_Click() {
    if (open_)
        closeAndEnd();
}

void PasswordDialog::TimerPWD_Timer() {
    timer_ = 0;
    if (open_)
        closeAndEnd();
}

void PasswordDialog::Form_Unload() {
    if (open_)
        closeAndEnd();
}

void PasswordDialog::CheckAccessCode() {
    if (!open_)
        return;
    // The idle time-out stops once a code is accepted, so it cannot end the program during its box or the
    // start.
    switch (TryAccessCode(program_, form_.TxtPwd.text(), [this] { stopTimer(); })) {
        case AccessStep::Ignored:
        case AccessStep::TryAgain:
            return;
        case AccessStep::Failure:
            form_.LblPwd.setCaption(std::string("Programmfehler! Bitte") + kBreak +
                                    "rufen Sie die Hotline an");
            return;
        case AccessStep::Refused:
            closeAndEnd();
            return;
        case AccessStep::Admitted:
            break;
    }
    form_.LblPwd.setCaption(std::string("Code Ok!") + kBreak + "Programm wird geladen!");
    if (seams.repaint)
        seams.repaint();
    const bool running = seams.startUp ? seams.startUp() : true;
    close();
    if (!running && seams.endProgram)
        seams.endProgram();
}

void PasswordDialog::restartTimer() {
    stopTimer();
    timer_ = program_.loop.startTimer(EventLoop::Milliseconds(idleMs_), false, [this] { TimerPWD_Timer(); });
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

void ApplyLevelRights(Program& program, FrmSetup& form) {
    SettingsFile& settings = program.InitX;
    selectLevelRecord(settings, program.UserLevel);
    FieldOf(program, readEncrypted(settings));
    // Upper-cased, so that a record written with a lower-case kind cannot give more rights than its letter
    // says.
    const std::string kind = upper(program.FieldTable[2]);
    const bool residentsOnly = kind == "B";
    const bool noLevelEditor = kind == "A" || residentsOnly;

    form.PCCOM.setEnabled(!residentsOnly && !program.StartedWithLevel);
    form.Bewo.setEnabled(true);
    form.Passwords.setEnabled(!noLevelEditor);
    for (MenuItem* always : {&form.Pnl, &form.Info, &form.Ende})
        always->setEnabled(true);
    form.SSTabBewo.setTabEnabled(1, !residentsOnly);
    for (Control* control :
         std::initializer_list<Control*>{&form.TxtBWSnr, &form.txtBwtSnr, &form.CmdBWDel, &form.CmdBWNeu})
        control->setEnabled(!residentsOnly);
}

}  // namespace pnl
