#pragma once
// The interface window: port and device choice, the station data link page with the station frame, and the
// modem page. Captions, tips, the fixed type list and the state before any port is chosen are set here.

#include "forms/controls.h"

namespace pnl {

struct InterfaceWindowForm : Window {
    // Frame "Schnittstellen"
    Frame portFrame;
    Label portCaption, deviceKindCaption;
    ComboBox portChoice;
    ComboBox deviceKind;
    Button testStation, savePort;
    // The device of this PC the chosen port stands for (kept per PC and user, not in ANLAGE99.INI).
    Label portDeviceCaption;
    ComboBox portDevice;
    Button refreshDevices, otherDevice;
    // Only tab 4 "PNLXXX Einstellungen" and tab 5 "Modem Einstellungen" are used; the others stay invisible.
    static constexpr int kStationTab = 4;
    static constexpr int kModemTab = 5;
    TabControl pages{{"", "", "", "", "PNLXXX Einstellungen", "Modem Einstellungen"}};

    // Station frame (tab 4)
    Label stationChoiceCaption, stationTypeCaption, stationLabelCaption, stationSerialCaption,
        phoneNumberCaption;
    ComboBox stationChoice{true};
    ComboBox stationType;
    TextBox stationLabel;
    MaskedField stationSerial{6};
    CheckBox olderFirmware;
    CheckBox viaModem;
    TextBox phoneNumber;
    Button newStation, saveStation, deleteStation;

    // Modem page (tab 5)
    Label initString1Caption, initString2Caption, dialPrefixCaption, baudRateCaption;
    TextBox initString1, initString2, dialPrefix;
    ComboBox baudRate;
    CheckBox leasedLine, bik;

    InterfaceWindowForm() {
        setCaption("Schnittstellen");

        portFrame.setCaption("Schnittstellen");
        portCaption.setCaption("Vorhandene Schnittstellen");
        portChoice.setTip("Zeigt die auf diesem PC vorhandenen seriellen Schnittstellen an.");
        deviceKindCaption.setCaption("Geräteauswahl");
        deviceKind.setTip("Geräte die an eine serielle Schnittstelle angeschlossen werden können.");
        testStation.setCaption("Testen");
        savePort.setCaption("Sichern");
        portDeviceCaption.setCaption("Gerät am PC");
        portDevice.setTip(
            "Das Gerät dieses PCs, für das die Schnittstelle steht. Die Wahl gilt für diesen PC "
            "und Benutzer; ANLAGE99.INI bleibt unverändert.");
        refreshDevices.setCaption("Aktualisieren");
        refreshDevices.setTip("Die Geräte des PCs neu einlesen");
        otherDevice.setCaption("Anderes Gerät …");
        otherDevice.setTip("Den Pfad eines Geräts selbst angeben, z. B. eines Netzwerk-Seriell-Servers");
        // No port chosen yet: no page, nothing to test.
        testStation.setEnabled(false);
        pages.setVisible(false);
        for (int tab = 0; tab < static_cast<int>(pages.tabs().size()); ++tab)
            pages.setTabVisible(tab, false);

        stationChoiceCaption.setCaption("PNL Auswahl");
        stationChoice.setTip("Bitte wählen Sie hier eine Displaytürstation aus.");
        stationTypeCaption.setCaption("Typ");
        stationType.setTip("Typ des Displaytürstation");
        for (const char* type : {"PNL-A", "PNL-B", "PNL-C", "PNL-K"})
            stationType.addItem(type);
        stationLabelCaption.setCaption("Bezeichnung");
        stationLabel.setTip("Bezeichnung der Displaytürstation");
        stationSerialCaption.setCaption("Seriennummer");
        stationSerial.setTip("Seriennummer der ausgewählten Displaytürstation");
        olderFirmware.setCaption("Version 2.7X");
        olderFirmware.setTip("ältere PNL Version (kleiner 3.X)");
        olderFirmware.setVisible(false);
        viaModem.setCaption("Verbindung via Modem");
        phoneNumberCaption.setCaption("Modem Rufnummer");
        phoneNumber.setTip("Telefon Rufnummer des Modems an der PNL bei Modemverbindung");
        phoneNumberCaption.setVisible(false);
        phoneNumber.setVisible(false);
        newStation.setCaption("PNL Neu");
        newStation.setTip("Legt eine neue PNL an");
        saveStation.setCaption("PNL Speichern");
        saveStation.setTip("Speichert Einstellungen der aktuellen PNL");
        deleteStation.setCaption("PNL löschen");
        deleteStation.setTip("Löscht die aktuelle PNL");

        initString1Caption.setCaption("1. Initialisierungsstring ");
        initString2Caption.setCaption("2. Initialisierungsstring ");
        dialPrefixCaption.setCaption("Anwahlpräfix");
        dialPrefix.setTip("Anwahlstring des Modems");
        baudRateCaption.setVisible(false);
        baudRate.setVisible(false);
        leasedLine.setCaption("Standleitung");
        bik.setCaption("BIK");
    }
};

}  // namespace pnl
