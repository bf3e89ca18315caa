#pragma once
// The interface window: port and device choice, the station data link page with the station frame, and the
// modem page.

#include "platform/controls.h"

namespace pnl {

struct FrmCOM : Window {
    // Frame "Schnittstellen"
    Frame FrCOM;
    Label LblCOMs, LabelCOMDev;
    ComboBox CboCOMs;
    ComboBox CboCOMDev;
    Button CmdCOMTest, CmdCOMSave;
    // Only tab 4 "PNLXXX Einstellungen" and tab 5 "Modem Einstellungen" are used; the others stay invisible.
    TabControl SSTabCOMs{{"", "", "", "", "PNLXXX Einstellungen", "Modem Einstellungen"}};

    // Station frame (tab 4)
    Label LblPNLAusw, LblPNLType, LblPNLBez, LblPNLSnr, LblPNLModem;
    ComboBox CboPNLBez{true};
    ComboBox CboPNLType;
    TextBox TxtPNLBez;
    MaskedField TxtPNLSnr{6};
    CheckBox ChkPNL27;
    CheckBox ChkPNLModem;
    TextBox TxtPNLModem;
    Button CmdPNLNeu, CmdPNLSave, CmdPNLDel;

    // Modem page (tab 5)
    Label LblMdmINI1, LblMdmINI2, LblMdmAnwahl, LblMdmBaud;
    TextBox TxtModemINI1, TxtModemINI2, TxtMdmAnwahl;
    ComboBox CboModemBaud;
    CheckBox ChkMdmStand, ChkMdmBIK;
};

}  // namespace pnl
