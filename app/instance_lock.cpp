#include "app/instance_lock.h"

#include "app/program.h"
#include "app/text.h"

namespace pnl {

std::unique_ptr<FileLock> lockInstallation(Program& program) {
    auto lock = std::make_unique<FileLock>();
    std::string holder;
    const auto result = lock->tryLock(program.path(kLockFile), currentProcessId(), &holder);
    if (result != FileLock::Result::HeldElsewhere)
        return lock;
    std::string text = "Das Setupprogramm läuft bereits für die Anlage in " + program.folder;
    if (leadingNumber(holder) > 0)
        text += " (Prozess " + std::to_string(leadingNumber(holder)) + ")";
    text += ".\nEin zweiter Start ist nicht möglich; bitte beenden Sie zuerst das laufende Programm.";
    program.msgBox(text, MsgIcon::Exclamation, MsgButtons::Ok);
    return nullptr;
}

}  // namespace pnl
