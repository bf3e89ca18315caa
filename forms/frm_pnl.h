#pragma once
// The transfer dialog.

#include "platform/controls.h"

namespace pnl {

struct FrmPNL : Window {
    CheckTree TrVwPNLTrans;
    ColumnList LstPNLTrans{{"Name", "Appartement", "Seriennummer", "Code"}};
    Button CmdPNLTransStart, CmdPNLTransAll, CmdPNLTransCancel;
    ProgressBar PBarPNL;
};

}  // namespace pnl
