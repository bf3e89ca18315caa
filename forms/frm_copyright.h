#pragma once
// The project information dialog.

#include "platform/controls.h"

namespace pnl {

struct FrmCopyright : Window {
    Label LblPTitle, LblPCopyright, LblPVersion, LblCopyright;
    Button CmdPInfoCancel;

    FrmCopyright() {
        setCaption("Info");
        setVisible(false);
        // Shown in a symbol font beside the texts.
        LblCopyright.setCaption("©");
        CmdPInfoCancel.setCaption("Ok");
    }
};

}  // namespace pnl
