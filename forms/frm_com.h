#pragma once
// The interface window: port and device choice, the station data link page with the station frame, and the
// modem page. Captions, tips, the fixed type list and the state before any port is chosen are set here.

#include "platform/controls.h"

namespace pnl {

struct FrmCOM : Window {
    // Frame "Schnittstellen"
    Frame FrCOM;
    Label LblCOMs, LabelCOMDev;
    ComboBox CboCOMs;
    ComboBox CboCOMDev;
    Button CmdCOMTest, CmdCOMSave;
    // The device of this PC the chosen port stands for (kept per PC and user, not in ANLAGE99.INI).
    Label portDeviceLabel;
    ComboBox portDevice;
    Button refreshDevices, otherDevice;
    // Only tab 4 "PNLXXX Einstellungen" and tab 5 "Modem Einstellungen" are used; the others stay invisible.
    static constexpr int kStationTab = 4;
    static constexpr int kModemTab = 5;
    TabControl SSTabCOMs{{"", "", "", "", "PNLXXX Einstellungen", "Modem Einstellungen"}};

    // Station frame (tab 4)
    Label LblPNLAusw, LblPNLType, LblPNLBez, LblPNLSnr, LblPNLModem;
    ComboBox CboPNLBez{true};
    ComboBox CboPNLType;
    TextBox TxtPNLBez;
    MaskedField TxtPNLSnr{6};
    CheckBox ChkPNL27;
    CheckBox ChkPNLModem;
    TextBox TxtPNLModem;
    Button CmdPNLNeu, CmdPNLSave, CmdPNLDel;

    // Modem page (tab 5)
    Label LblMdmINI1, LblMdmINI2, LblMdmAnwahl, LblMdmBaud;
    TextBox TxtModemINI1, TxtModemINI2, TxtMdmAnwahl;
    ComboBox CboModemBaud;
    CheckBox ChkMdmStand, ChkMdmBIK;

    FrmCOM() {
        setCaption("Schnittstellen");

        FrCOM.setCaption("Schnittstellen");
        LblCOMs.setCaption("Vorhandene Schnittstellen");
        CboCOMs.setTip("Zeigt die auf diesem PC vorhandenen seriellen Schnittstellen an.");
        LabelCOMDev.setCaption("Geräteauswahl");
        CboCOMDev.setTip("Geräte die an eine serielle Schnittstelle angeschlossen werden können.");
        CmdCOMTest.setCaption("Testen");
        CmdCOMSave.setCaption("Sichern");
        portDeviceLabel.setCaption("Gerät am PC");
        portDevice.setTip(
            "Das Gerät dieses PCs, für das die Schnittstelle steht. Die Wahl gilt für diesen PC "
            "und Benutzer; ANLAGE99.INI bleibt unverändert.");
        refreshDevices.setCaption("Aktualisieren");
        refreshDevices.setTip("Die Geräte des PCs neu einlesen");
        otherDevice.setCaption("Anderes Gerät …");
        otherDevice.setTip("Den Pfad eines Geräts selbst angeben, z. B. eines Netzwerk-Seriell-Servers");
        // No port chosen yet: no page, nothing to test.
        CmdCOMTest.setEnabled(false);
        SSTabCOMs.setVisible(false);
        for (int tab = 0; tab < static_cast<int>(SSTabCOMs.tabs().size()); ++tab)
            SSTabCOMs.setTabVisible(tab, false);

        LblPNLAusw.setCaption("PNL Auswahl");
        CboPNLBez.setTip("Bitte wählen Sie hier eine Displaytürstation aus.");
        LblPNLType.setCaption("Typ");
        CboPNLType.setTip("Typ des Displaytürstation");
        for (const char* type : {"PNL-A", "PNL-B", "PNL-C", "PNL-K"})
            CboPNLType.addItem(type);
        LblPNLBez.setCaption("Bezeichnung");
        TxtPNLBez.setTip("Bezeichnung der Displaytürstation");
        LblPNLSnr.setCaption("Seriennummer");
        TxtPNLSnr.setTip("Seriennummer der ausgewählten Displaytürstation");
        ChkPNL27.setCaption("Version 2.7X");
        ChkPNL27.setTip("ältere PNL Version (kleiner 3.X)");
        ChkPNL27.setVisible(false);
        ChkPNLModem.setCaption("Verbindung via Modem");
        LblPNLModem.setCaption("Modem Rufnummer");
        TxtPNLModem.setTip("Telefon Rufnummer des Modems an der PNL bei Modemverbindung");
        LblPNLModem.setVisible(false);
        TxtPNLModem.setVisible(false);
        CmdPNLNeu.setCaption("PNL Neu");
        CmdPNLNeu.setTip("Legt eine neue PNL an");
        CmdPNLSave.setCaption("PNL Speichern");
        CmdPNLSave.setTip("Speichert Einstellungen der aktuellen PNL");
        CmdPNLDel.setCaption("PNL löschen");
        CmdPNLDel.setTip("Löscht die aktuelle PNL");

        LblMdmINI1.setCaption("1. Initialisierungsstring ");
        LblMdmINI2.setCaption("2. Initialisierungsstring ");
        LblMdmAnwahl.setCaption("Anwahlpräfix");
        TxtMdmAnwahl.setTip("Anwahlstring des Modems");
        LblMdmBaud.setVisible(false);
        CboModemBaud.setVisible(false);
        ChkMdmStand.setCaption("Standleitung");
        ChkMdmBIK.setCaption("BIK");
    }
};

}  // namespace pnl
