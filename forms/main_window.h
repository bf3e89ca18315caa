#pragma once
// The main window: menu bar, the resident and level pages, the status bar.

#include "forms/controls.h"
#include "forms/levels_page.h"
#include "forms/overview_page.h"
#include "forms/resident_page.h"

namespace pnl {

struct MainWindowForm : Window, ResidentPageForm, LevelsPageForm, OverviewPageForm {
    MenuItem interfacesMenu, recordsMenu, levelsMenu, transferMenu, backupsMenu, installationsMenu, infoMenu,
        exitMenu;
    // The entries of the menu "Datensätze": the resident page and the resident overview.
    MenuItem residentsMenu, overviewMenu;
    StatusBar statusBar{5};

    MainWindowForm() {
        setCaption("PNL Fernwartung");
        setVisible(false);
        interfacesMenu.setCaption("Schnittstelle");
        recordsMenu.setCaption("Datensätze");
        residentsMenu.setCaption("Bewohner");
        overviewMenu.setCaption("Bewohnerübersicht");
        levelsMenu.setCaption("Berechtigungen");
        transferMenu.setCaption("PNLXXX");
        backupsMenu.setCaption("Sicherungen");
        installationsMenu.setCaption("Anlagen");
        installationsMenu.setTip("Die Anlagen, die Sie geöffnet haben: ihr Stand, eine andere öffnen");
        infoMenu.setCaption("Info");
        exitMenu.setCaption("Beenden");
        statusBar.setPanelTip(1, "Aktueller Userlevel");
        statusBar.setPanelTip(2, "Hinweise zum Protokoll");
        statusBar.setPanelTip(4, "Anzahl der verfügbaren Bewohnerdatensätze");
        statusBar.setPanelTip(5, "Aktuelle Uhrzeit");
    }
};

}  // namespace pnl
