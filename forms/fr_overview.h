#pragma once
// The resident overview page of the main window: a search field over a table of every resident, the buttons
// for the stations of the chosen rows, export and import.

#include "platform/controls.h"

namespace pnl {

struct FrOverviewControls {
    Frame FrOverview;
    TextBox TxtSearch;
    Button CmdAssign, CmdUnassign, CmdExport, CmdImport;
    // How many residents the table shows; the outcome of the last action.
    Label LblCount, LblOutcome;

    FrOverviewControls() {
        FrOverview.setCaption("Bewohnerübersicht");
        TxtSearch.setTip("Sucht in Name, Vorname, Wohnungsnummer und Seriennummern");
        CmdAssign.setCaption("PNL zuordnen …");
        CmdAssign.setTip("Die markierten Bewohner einer PNL zuordnen");
        CmdUnassign.setCaption("Von PNL entfernen …");
        CmdUnassign.setTip("Die markierten Bewohner von einer PNL entfernen");
        CmdExport.setCaption("Exportieren …");
        CmdExport.setTip("Alle Bewohner als CSV-Datei für Tabellenprogramme speichern");
        CmdImport.setCaption("Importieren …");
        CmdImport.setTip("Bewohner aus einer CSV-Datei einlesen");
    }
};

}  // namespace pnl
