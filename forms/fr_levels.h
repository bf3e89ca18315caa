#pragma once
// The permission level page of the main window.

#include "platform/controls.h"

namespace pnl {

struct FrLevelsControls {
    Frame FrLevels;
    ComboBox CboLVBez;
    TabControl SSTabLV{{"Codes"}};
    OptionGroup levelKinds;
    OptionButton OptLVBewo, OptLVAll, OptLVPwd;
    CheckBox ChkLVEn;
    MaskedField TxtLVCode{6};
    Button CmdLVSave;
};

}  // namespace pnl
