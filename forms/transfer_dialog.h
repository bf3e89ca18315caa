#pragma once
// The transfer dialog "Datenübertragung zur PNL": the stations as a tree with check boxes, the lines of the
// station being sent, the buttons, the progress bar (shown only while a station is sent), the run's
// status line and the presence check.

#include "forms/controls.h"

namespace pnl {

struct TransferDialogForm : Window {
    CheckTree stationTree;
    ColumnList transferList{{"Name", "Appartement", "Seriennummer", "Code"}};
    Button start, selectAll, cancel;
    ProgressBar progress;
    // Per station of the tree: label, state against the resident data, date of the last transfer.
    ColumnList stationStates{{"PNL", "Stand", "Letzte Übertragung"}};
    Button selectChanged, selectNone;
    // The run's one status line: which station, which record, the time left of the whole run.
    Label status;
    // Ask each station on a direct line whether it answers before sending to it.
    CheckBox checkPresence;

    TransferDialogForm() {
        setCaption("Datenübertragung zur PNL");
        stationTree.setTip("Wählen Sie hier bitte die PNLXXX aus, zu denen ein Transfer stattfinden soll.");
        start.setCaption("Transfer starten");
        start.setTip("Datentransfer zu den ausgewählten PNL starten");
        selectAll.setCaption("Alle Auswählen");
        selectAll.setTip("Alle angezeigten PNL auswählen.");
        selectNone.setCaption("Keine auswählen");
        selectNone.setTip("Alle PNL abwählen.");
        selectChanged.setCaption("Geänderte auswählen");
        selectChanged.setTip("Alle PNL auswählen, deren Stand von den Bewohnerdaten abweicht.");
        cancel.setCaption("Abbrechen");
        cancel.setTip("Transfer abbrechen");
        progress.setVisible(false);
        checkPresence.setCaption("Erreichbarkeit vor dem Senden prüfen");
        checkPresence.setTip(
            "Vor jeder PNL an direkter Leitung fragen, ob sie antwortet; sonst erhält sie nichts.");
    }
};

}  // namespace pnl
