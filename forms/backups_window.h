#pragma once
// The window "Sicherungen": the pairs of QBXDATA.MDB and ANLAGE99.INI kept by earlier commits, and the
// restore of one of them into the working copies.

#include "forms/controls.h"

namespace pnl {

struct BackupsWindowForm : Window {
    ColumnList backupList{{"Gesichert am", "Bewohner", "PNL"}};
    Button restore, close;

    BackupsWindowForm() {
        setCaption("Sicherungen");
        setVisible(false);
        restore.setCaption("Wiederherstellen");
        restore.setTip(
            "Übernimmt die gewählte Sicherung in die Arbeitskopien. Gespeichert wird sie erst, "
            "wenn Sie beim Beenden \"Ja\" wählen.");
        close.setCaption("Schließen");
    }
};

}  // namespace pnl
