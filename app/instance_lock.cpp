#include "app/instance_lock.h"

#include "app/program.h"
#include "app/text.h"

namespace pnl {

std::unique_ptr<FileLock> lockInstallation(Program& program) {
    auto lock = std::make_unique<FileLock>();
    const std::string path = program.path(kLockFile);
    std::string holder;
    LockFailure failure;
    std::string text;
    switch (program.fs.lockFile(*lock, path, currentProcessId(), &holder, &failure)) {
        case FileLock::Result::Locked:
            return lock;
        case FileLock::Result::HeldElsewhere:
            text = runningElsewhereText(program.folder, holder) +
                   "\nEin zweiter Start ist nicht möglich; bitte beenden Sie zuerst das laufende Programm.";
            break;
        case FileLock::Result::Failed:
            // Without the lock two programs could work on the folder at once.
            text = "Die Sperrdatei " + path +
                   (failure.owner.empty() ? "" : " (Besitzer: " + failure.owner + ")") +
                   " kann nicht geöffnet werden: " + failure.cause +
                   "\nOhne sie ist nicht sicher, dass kein anderes Programm an der Anlage arbeitet; das "
                   "Setupprogramm startet deshalb nicht. Bitte lassen Sie die Datei für alle Benutzer "
                   "beschreibbar machen, oder löschen, wenn kein Setupprogramm mehr läuft.";
            break;
    }
    program.msgBox(text, MsgIcon::Exclamation, MsgButtons::Ok);
    return nullptr;
}

bool heldByAnotherRun(Program& program, std::string* holder) {
    FileLock probe;
    return program.fs.lockFile(probe, program.path(kLockFile), currentProcessId(), holder, nullptr) ==
           FileLock::Result::HeldElsewhere;
}

std::string runningElsewhereText(const std::string& folder, const std::string& holder) {
    std::string text = "Das Setupprogramm läuft bereits für die Anlage in " + folder;
    if (leadingNumber(holder) > 0)
        text += " (Prozess " + std::to_string(leadingNumber(holder)) + ")";
    return text + ".";
}

}  // namespace pnl
