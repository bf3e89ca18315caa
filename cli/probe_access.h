#pragma once
// Who may run a headless command (the probe, the transfer): the level from the command line, or the access
// code typed on the terminal by the rules of the password dialog (three tries, the master code), and whether
// that level has rights on the interfaces. The level records are read from the installation's settings file
// itself, never from a working copy.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/access_codes.h"

namespace pnl {

class Program;
class SettingsFile;

// Asks for the access code without showing it; nothing when the input has ended.
using CodePrompt = std::function<std::optional<std::string>(const std::string& prompt)>;

// The level of the run: the command line's (1 to 6; program.startedWithLevel is then set), or the one whose
// access code is typed within three tries (an empty entry is no try). 0 when none was given. The master code
// prints "Möge die Macht mit Euch sein".
int TerminalAccessLevel(Program& program, const std::string& levelText, const CodePrompt& askCode,
                        std::ostream& out);

// Levels of kind "B" (in either case) have no rights on the interfaces; every other level has.
bool MayUseInterfaces(SettingsFile& levels, int level);

}  // namespace pnl
