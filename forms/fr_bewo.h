#pragma once
// The resident page of the main window.

#include "platform/controls.h"

namespace pnl {

struct FrBewoControls {
    Frame FrBewo;
    Frame FrBWAnzeige;
    OptionGroup displayModes;
    OptionButton OptBWName, OptBWSNR, OptBWWNr;
    ComboBox CboBewo{true};
    TabControl SSTabBewo{{"Bewohner", "Ort"}};
    TextBox TxtBWName, TxtBWVorn;
    MaskedField TxtBWSnr{6}, txtBwtSnr{6}, TxtBWCode{4};
    MaskedField TxtBWWNr{8, MaskedField::Kind::LettersAndDigits};
    Label LblVwPNL;
    CheckTree TrVwPNL;
    Button CmdPNLALLSet, CmdPNLALLDel;
    Button CmdBWNeu, CmdBWSave, CmdBWDel;
};

}  // namespace pnl
