#include "cli/probe_access.h"

#include <exception>
#include <ostream>

#include "app/command_line.h"
#include "app/program.h"
#include "app/records.h"
#include "app/settings_file.h"
#include "app/text.h"

namespace pnl {

int TerminalAccessLevel(Program& program, const std::string& levelText, const CodePrompt& askCode,
                        std::ostream& out) {
    if (const int given = levelFromCommandLine(levelText); given > 0) {
        program.startedWithLevel = true;
        return given;
    }
    program.startedWithLevel = false;
    int failures = 0;
    while (failures < kAccessTries) {
        const std::optional<std::string> entry = askCode("Bitte geben Sie Ihren Zugangscode ein: ");
        if (!entry)
            return 0;
        if (entry->empty())
            continue;  // an empty entry is no try
        CodeMatch match;
        try {
            match = pnl::MatchAccessCode(program, *entry);
        } catch (const std::exception&) {
            out << "Programmfehler! Bitte rufen Sie die Hotline an\n";
            return 0;
        }
        if (match.kind == CodeMatch::Kind::Master)
            out << "Möge die Macht mit Euch sein\n";
        if (match.kind != CodeMatch::Kind::Wrong)
            return match.level;
        ++failures;
    }
    return 0;
}

bool MayUseInterfaces(SettingsFile& levels, int level) {
    // Upper-cased as the main window's rights do: a lower-case "b" gives no more rights than "B".
    return readLevelRecord(levels, level).kind != "B";
}

}  // namespace pnl
