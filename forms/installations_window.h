#pragma once
// The window "Anlagen": the installations this user has opened, one line each with the building, its
// residents, stations, the last transfer, the state and its folder (last: a long path is cut, not the state);
// opening one, adding a folder, removing an entry.

#include "forms/controls.h"

namespace pnl {

struct InstallationsWindowForm : Window {
    TextBox search;
    ColumnList installationList{{"Anlage", "Bewohner", "PNL", "Zuletzt übertragen", "Stand", "Ordner"}, '\t'};
    // The chosen installation: its head line and one line per station.
    Label details;
    // What the window is doing ("Lese Anlage 2 von 12: …") or did last.
    Label status;
    Button open, addFolder, remove, close;

    InstallationsWindowForm() {
        setCaption("Anlagen");
        setVisible(false);
        search.setTip("Sucht in Anlage und Ordner");
        open.setCaption("Öffnen");
        open.setTip(
            "Beendet die Arbeit an der geöffneten Anlage (mit der Frage, ob die Änderungen übernommen "
            "werden) und öffnet die gewählte");
        addFolder.setCaption("Ordner hinzufügen …");
        addFolder.setTip("Nimmt den Ordner einer Anlage (mit ANLAGE99.INI und QBXDATA.MDB) in die Liste auf");
        remove.setCaption("Entfernen");
        remove.setTip("Nimmt den Eintrag aus der Liste; der Ordner und seine Dateien bleiben unverändert");
        close.setCaption("Schließen");
    }
};

}  // namespace pnl
