#pragma once
// Shutdown: asks whether the run's changes are kept. "Ja" replaces QBXDATA.MDB and ANLAGE99.INI by the
// working copies as one step (both or neither), "Nein" leaves them untouched, "Abbrechen" keeps the program
// running.

#include <string>

#include "platform/dialogs.h"

namespace pnl {

class Program;

// Returns true when the closing is cancelled and the program keeps running ("Abbrechen", or a commit that
// could not complete: the user was told and both originals are as they were).
bool ShutDown(Program& program);

}  // namespace pnl
