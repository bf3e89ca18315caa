#pragma once
// One run per installation folder: a second start would overwrite the working copies that the first run uses.

#include <memory>

#include "platform/file_lock.h"

namespace pnl {

class Program;

// The lock file in the installation folder; it holds the process id of the run that owns the folder.
inline constexpr const char* kLockFile = "PNLSETUP.LCK";

// Takes the installation folder's lock for this run and returns it (keep it until the program ends). When
// another run holds it, shows a box saying so and returns nothing: the program then ends without touching any
// file. A folder where no lock file can be made gets an unheld lock: the start goes on and reports its own
// errors.
std::unique_ptr<FileLock> lockInstallation(Program& program);

}  // namespace pnl
