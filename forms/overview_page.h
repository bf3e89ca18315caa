#pragma once
// The resident overview page of the main window: a search field over a table of every resident, the buttons
// for the stations of the chosen rows, export and import.

#include "forms/controls.h"

namespace pnl {

struct OverviewPageForm {
    Frame overviewFrame;
    TextBox search;
    Button assign, unassign, exportResidents, importResidents;
    // How many residents the table shows; the outcome of the last action.
    Label residentCount, outcome;

    OverviewPageForm() {
        overviewFrame.setCaption("Bewohnerübersicht");
        search.setTip("Sucht in Name, Vorname, Wohnungsnummer und Seriennummern");
        assign.setCaption("PNL zuordnen …");
        assign.setTip("Die markierten Bewohner einer PNL zuordnen");
        unassign.setCaption("Von PNL entfernen …");
        unassign.setTip("Die markierten Bewohner von einer PNL entfernen");
        exportResidents.setCaption("Exportieren …");
        exportResidents.setTip("Alle Bewohner als CSV-Datei für Tabellenprogramme speichern");
        importResidents.setCaption("Importieren …");
        importResidents.setTip("Bewohner aus einer CSV-Datei einlesen");
    }
};

}  // namespace pnl
