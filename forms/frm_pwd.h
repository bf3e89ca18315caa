#pragma once
// The password dialog.

#include "platform/controls.h"

namespace pnl {

struct FrmPwd : Window {
    Label LblPwd;
    TextBox TxtPwd;
    Button CmdPwdOk;
    Button CmdPwdCancel;
};

}  // namespace pnl
