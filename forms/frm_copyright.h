#pragma once
// The project information dialog.

#include "platform/controls.h"

namespace pnl {

struct FrmCopyright : Window {
    Label LblPTitle, LblPCopyright, LblPVersion, LblCopyright;
    Button CmdPInfoCancel;
};

}  // namespace pnl
