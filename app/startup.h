#pragma once
// Start-up: the log line, the checks of the database and the settings file, both working copies, the database
// upgrade, the resident table binding, and the steps that bring up the windows (filled in by the program's
// composition: the interface editor's lists, the main window, rights, start page).

#include <functional>
#include <string>

#include "platform/database.h"

namespace pnl {

class Program;

struct StartUpSeams {
    // Fills the interface editor's device and port lists (the window is only loaded, not shown).
    std::function<void()> prepareInterfaceEditor;
    // Shows the main window, registers the clock alarm, hides the pages, applies the level's rights, opens
    // the resident view as start page and updates the status bar.
    std::function<void()> openMainWindow;
};

enum class StartResult { Running, Ended };

// Writes QBXDATA_COPY.MDB anew from QBXDATA.MDB: a consistent copy through the database engine, after
// removing a journal a crashed run left beside the copy (it would be played into the fresh copy and spoil
// it). A file that is no database at all is copied as it is, so that opening the copy reports it like any
// other unreadable database. False when no copy could be made; *message is then the user's message: an
// original that cannot be read is a database that cannot be opened, with the German cause.
// `afterStep` hears the copy's steps (tests stop the process there).
bool MakeDatabaseWorkingCopy(Program& program, std::string* message, const CopyStepHook& afterStep = {});

// The start-up's checks of the database working copy: the table BEWOHNER exists (a table in its base form
// gets the station column), reads and sorts by apartment number, and the resident table binds; database is
// then open on the copy. False with the user's message ("... kann nicht geöffnet werden!" or "... defekt!",
// with the German cause where one is known).
bool CheckDatabaseWorkingCopy(Program& program, std::string* message);

// Opens QBXDATA_COPY.MDB, reads table BEWOHNER's columns and adds the station assignment PNL to a table in
// its base form of 16 columns. False when the table cannot be read.
bool UpgradeDatabaseCopy(Program& program);

// Ended: a fatal error was shown and the process must end (the originals are untouched).
StartResult StartUp(Program& program, const StartUpSeams& seams);

}  // namespace pnl
