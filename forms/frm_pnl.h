#pragma once
// The transfer dialog "Datenübertragung zur PNL": the stations as a tree with check boxes, the lines of the
// station being sent, the three buttons and the progress bar (shown only while a station is sent).

#include "platform/controls.h"

namespace pnl {

struct FrmPNL : Window {
    CheckTree TrVwPNLTrans;
    ColumnList LstPNLTrans{{"Name", "Appartement", "Seriennummer", "Code"}};
    Button CmdPNLTransStart, CmdPNLTransAll, CmdPNLTransCancel;
    ProgressBar PBarPNL;

    FrmPNL() {
        setCaption("Datenübertragung zur PNL");
        TrVwPNLTrans.setTip("Wählen Sie hier bitte die PNLXXX aus, zu denen ein Transfer stattfinden soll.");
        CmdPNLTransStart.setCaption("Transfer starten");
        CmdPNLTransStart.setTip("Datentransfer zu den ausgewählten PNL starten");
        CmdPNLTransAll.setCaption("Alle Auswählen");
        CmdPNLTransAll.setTip("Alle angezeigten PNL auswählen.");
        CmdPNLTransCancel.setCaption("Abbrechen");
        CmdPNLTransCancel.setTip("Transfer abbrechen");
        PBarPNL.setVisible(false);
    }
};

}  // namespace pnl
