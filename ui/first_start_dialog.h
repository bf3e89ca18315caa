#pragma once
// The first-start dialog of the windowed program: when no installation folder is found, it asks for the
// folder of an existing installation, offers the window "Anlagen" when this user has opened installations
// before, or writes a sample installation into a new folder the user names.

#include "app/first_start.h"
#include "app/program.h"
#include "platform/user_settings.h"

namespace pnl::ui {

// The folder chosen (kept in the user's settings; empty when the user quit) and, for a new sample, its
// access codes.
ChosenInstallation askForInstallationFolder(const Platform& platform, UserSettings& settings);

}  // namespace pnl::ui
