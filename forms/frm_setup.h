#pragma once
// The main window: menu bar, the resident and level pages, the status bar.

#include "forms/fr_bewo.h"
#include "forms/fr_levels.h"
#include "forms/fr_overview.h"
#include "platform/controls.h"

namespace pnl {

struct FrmSetup : Window, FrBewoControls, FrLevelsControls, FrOverviewControls {
    MenuItem PCCOM, Bewo, Passwords, Pnl, Backups, Info, Ende;
    // The entries of the menu "Datensätze": the resident page and the resident overview.
    MenuItem BewoEdit, BewoOverview;
    StatusBar SBarSetup{5};

    FrmSetup() {
        setCaption("PNL Fernwartung");
        setVisible(false);
        PCCOM.setCaption("Schnittstelle");
        Bewo.setCaption("Datensätze");
        BewoEdit.setCaption("Bewohner");
        BewoOverview.setCaption("Bewohnerübersicht");
        Passwords.setCaption("Berechtigungen");
        Pnl.setCaption("PNLXXX");
        Backups.setCaption("Sicherungen");
        Info.setCaption("Info");
        Ende.setCaption("Beenden");
        SBarSetup.setPanelTip(1, "Aktueller Userlevel");
        SBarSetup.setPanelTip(2, "Hinweise zum Protokoll");
        SBarSetup.setPanelTip(4, "Anzahl der verfügbaren Bewohnerdatensätze");
        SBarSetup.setPanelTip(5, "Aktuelle Uhrzeit");
    }
};

}  // namespace pnl
