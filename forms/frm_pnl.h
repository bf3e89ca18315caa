#pragma once
// The transfer dialog "Datenübertragung zur PNL": the stations as a tree with check boxes, the lines of the
// station being sent, the three buttons, the progress bar (shown only while a station is sent), the run's
// status line and the presence check.

#include "platform/controls.h"

namespace pnl {

struct FrmPNL : Window {
    CheckTree TrVwPNLTrans;
    ColumnList LstPNLTrans{{"Name", "Appartement", "Seriennummer", "Code"}};
    Button CmdPNLTransStart, CmdPNLTransAll, CmdPNLTransCancel;
    ProgressBar PBarPNL;
    // Per station of the tree: label, state against the resident data, date of the last transfer.
    ColumnList LstPNLState{{"PNL", "Stand", "Letzte Übertragung"}};
    Button CmdPNLTransChanged;
    // The run's one status line: which station, which record, the time left of the whole run.
    Label LblPNLStatus;
    // Ask each station on a direct line whether it answers before sending to it.
    CheckBox ChkPNLCheck;

    FrmPNL() {
        setCaption("Datenübertragung zur PNL");
        TrVwPNLTrans.setTip("Wählen Sie hier bitte die PNLXXX aus, zu denen ein Transfer stattfinden soll.");
        CmdPNLTransStart.setCaption("Transfer starten");
        CmdPNLTransStart.setTip("Datentransfer zu den ausgewählten PNL starten");
        CmdPNLTransAll.setCaption("Alle Auswählen");
        CmdPNLTransAll.setTip("Alle angezeigten PNL auswählen.");
        CmdPNLTransChanged.setCaption("Geänderte auswählen");
        CmdPNLTransChanged.setTip("Alle PNL auswählen, deren Stand von den Bewohnerdaten abweicht.");
        CmdPNLTransCancel.setCaption("Abbrechen");
        CmdPNLTransCancel.setTip("Transfer abbrechen");
        PBarPNL.setVisible(false);
        ChkPNLCheck.setCaption("Erreichbarkeit vor dem Senden prüfen");
        ChkPNLCheck.setTip(
            "Vor jeder PNL an direkter Leitung fragen, ob sie antwortet; sonst erhält sie nichts.");
    }
};

}  // namespace pnl
