#pragma once
// Pictures of the windows for the documentation and for review: with "--screenshots DIR" the program, once
// started, saves PNGs of what it shows into DIR and ends without the shutdown question (the working copies
// are left as they are, the originals untouched). Started without a level it takes the password dialog;
// started with a level, the main window, its pages and windows, and last the window "Anlagen", from which it
// opens the next installation of the list with the exit question answered "Nein"; the run on that one then
// takes the main window and "Anlagen" again. Without an installation folder it takes the first start first.

#include <QString>

namespace pnl::ui {

class SetupApplication;

// Schedules the pictures after start(); the program ends by itself once they are saved. `run` counts the runs
// of the process, 1 for the first.
void scheduleScreenshots(SetupApplication& setup, const QString& folder, int run);
// Before the first-start dialog: photographs its question and the sample's folder dialog, choosing the
// sample in the proposed folder; the password dialog that follows (with the sample's access codes) is
// photographed by scheduleScreenshots.
void scheduleFirstStartScreenshots(const QString& folder);

}  // namespace pnl::ui
