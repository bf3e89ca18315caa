#pragma once
// The password dialog.

#include "platform/controls.h"

namespace pnl {

struct FrmPwd : Window {
    Label LblPwd;
    TextBox TxtPwd;
    Button CmdPwdOk;
    Button CmdPwdCancel;

    FrmPwd() {
        setCaption("QBX Setup");
        setVisible(false);
        CmdPwdOk.setCaption("Bestätigen");
        CmdPwdCancel.setCaption("Abbrechen");
    }
};

}  // namespace pnl
