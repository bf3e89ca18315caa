#pragma once
// The window "Sicherungen": the pairs of QBXDATA.MDB and ANLAGE99.INI kept by earlier commits, and the
// restore of one of them into the working copies.

#include "platform/controls.h"

namespace pnl {

struct FrmBackups : Window {
    ColumnList LstBackups{{"Gesichert am", "Bewohner", "PNL"}};
    Button CmdRestore, CmdClose;

    FrmBackups() {
        setCaption("Sicherungen");
        setVisible(false);
        CmdRestore.setCaption("Wiederherstellen");
        CmdRestore.setTip(
            "Übernimmt die gewählte Sicherung in die Arbeitskopien. Gespeichert wird sie erst, "
            "wenn Sie beim Beenden \"Ja\" wählen.");
        CmdClose.setCaption("Schließen");
    }
};

}  // namespace pnl
