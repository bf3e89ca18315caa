#pragma once
// The main window: menu bar, the resident and level pages, the status bar.

#include "forms/fr_bewo.h"
#include "forms/fr_levels.h"
#include "platform/controls.h"

namespace pnl {

struct FrmSetup : Window, FrBewoControls, FrLevelsControls {
    MenuItem PCCOM, Bewo, Passwords, Pnl, Info, Ende;
    StatusBar SBarSetup{5};
};

}  // namespace pnl
