#pragma once
// The window "Sicherungen": the pairs of QBXDATA.MDB and ANLAGE99.INI kept by earlier commits, what differs
// between the chosen one and today's residents, and the restore of one of them into the working copies.

#include "forms/controls.h"

namespace pnl {

struct BackupsWindowForm : Window {
    ColumnList backupList{{"Stand vor dem Sichern am", "Bewohner", "PNL"}};
    // Said where a list is empty, or what the difference list shows.
    Label backupNote;
    ColumnList differenceList{{"Bewohner", "in der Sicherung", "jetzt"}};
    Label differenceNote;
    Button restore, close;

    BackupsWindowForm() {
        setCaption("Sicherungen");
        setVisible(false);
        restore.setCaption("Wiederherstellen");
        restore.setTip(
            "Setzt Bewohner und Einstellungen auf den Stand der gewählten Sicherung zurück. Endgültig "
            "gespeichert wird er erst, wenn Sie beim Beenden \"Ja\" wählen.");
        close.setCaption("Schließen");
    }
};

}  // namespace pnl
