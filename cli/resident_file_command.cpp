#include "cli/resident_file_command.h"

#include <memory>
#include <ostream>

#include "app/commit.h"
#include "app/event_log.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "cli/working_copies.h"
#include "overview/resident_export.h"
#include "overview/resident_import.h"
#include "overview/resident_overview.h"
#include "platform/console_dialogs.h"

namespace pnl {
namespace {

int couldNotRun(std::ostream& out, const std::string& why) {
    out << why << "\n";
    return kFileCommandCouldNotRun;
}

// Access, lock and working copies; a message and false when the command cannot run. `lock` holds the folder.
bool prepare(Program& program, const std::string& levelText, std::ostream& out, const CodePrompt& askCode,
             std::unique_ptr<FileLock>& lock, std::string* why) {
    lock = openInstallation(program, levelText, out, askCode, why);
    if (!lock && why->empty())
        *why = "Die Bewohnerdaten bleiben unverändert.";
    return lock != nullptr;
}

}  // namespace

int RunExportCommand(Program& caller, const std::string& file, const std::string& levelText,
                     std::ostream& out, const CodePrompt& askCode) {
    ConsoleDialogs console(out);
    Program program(Platform{caller.fs, caller.loop, console, caller.serial, caller.ports}, caller.folder);
    std::unique_ptr<FileLock> lock;
    std::string why;
    if (!prepare(program, levelText, out, askCode, lock, &why))
        return couldNotRun(out, why + " Kein Export möglich!");
    int count = 0;
    if (!ExportResidents(program, file, &count, &why))
        return couldNotRun(out, why);
    out << "Exportiert: " << count << " Bewohner nach " << file << ".\n";
    return kFileCommandDone;
}

namespace {

int importFile(Program& program, const std::string& file, bool dryRun, const std::string& levelText,
               std::ostream& out, const CodePrompt& askCode) {
    std::string why;
    if (!ReadImportFile(program, file, &why))
        return couldNotRun(out, why + " Die Bewohnerdaten bleiben unverändert.");
    std::unique_ptr<FileLock> lock;
    if (!prepare(program, levelText, out, askCode, lock, &why))
        return couldNotRun(out, why + " Kein Import möglich!");
    if (!MayAssignStations(program))
        return couldNotRun(out, "Mit diesem Zugangscode dürfen keine Bewohner eingelesen werden.");

    const ImportPreview preview = PreviewImportFile(program, file);
    if (!preview.fileError.empty()) {
        out << preview.fileError << "\nEs wurde nichts eingelesen; die Bewohnerdaten sind unverändert.\n";
        return kFileCommandBadFile;
    }
    for (const ImportRow& row : preview.rows)
        if (row.status != ImportStatus::Unchanged)
            out << previewLine(row) << "\n";
    out << previewSummary(preview, false) << "\n";
    // A column of a station that is not set up needs the consent that only the window can ask for.
    if (!preview.importable() || !preview.unknownStationColumns.empty()) {
        out << "Es wurde nichts eingelesen; die Bewohnerdaten sind unverändert.\n";
        return kFileCommandBadFile;
    }
    if (dryRun) {
        out << "Probelauf (--dry-run): nichts geändert.\n";
        return kFileCommandDone;
    }
    if (preview.count(ImportStatus::New) + preview.count(ImportStatus::Changed) == 0) {
        out << "Nichts zu ändern; QBXDATA.MDB bleibt, wie sie ist.\n";
        return kFileCommandDone;
    }
    if (!ApplyImport(program, preview, false, &why))
        return couldNotRun(out, why);
    program.closeDatabase();  // the commit needs the working copy closed
    const CommitResult result = CommitWorkingCopies(program);
    if (result.outcome != CommitOutcome::Saved)
        return couldNotRun(out, result.message);
    if (!result.message.empty())
        out << result.message << "\n";
    EventLog(program, "Einstellungen gesichert");
    out << "Importiert: " << preview.count(ImportStatus::New) << " neu, "
        << preview.count(ImportStatus::Changed) << " geändert; QBXDATA.MDB ist gesichert.\n";
    return kFileCommandDone;
}

}  // namespace

int RunImportCommand(Program& caller, const std::string& file, bool dryRun, const std::string& levelText,
                     std::ostream& out, const CodePrompt& askCode) {
    ConsoleDialogs console(out);
    Program program(Platform{caller.fs, caller.loop, console, caller.serial, caller.ports}, caller.folder);
    const int status = importFile(program, file, dryRun, levelText, out, askCode);
    // The caller tells a lost log line once the command is done.
    if (caller.logProblem.empty())
        caller.logProblem = program.logProblem;
    return status;
}

}  // namespace pnl
