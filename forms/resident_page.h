#pragma once
// The resident page of the main window. A field's caption is the text of the label beside it.

#include "forms/controls.h"

namespace pnl {

struct ResidentPageForm {
    static constexpr int kTabResident = 0;  // "Bewohner"
    static constexpr int kTabPlace = 1;     // "Ort": apartment number and station assignment

    Frame residentFrame;
    Frame displayModeFrame;
    OptionGroup displayModes;
    OptionButton byName, bySerial, byApartment;
    ComboBox residentChoice{true};
    TabControl residentTabs{{"Bewohner", "Ort"}};
    TextBox lastName, firstName;
    MaskedField serial{6}, secondSerial{6}, accessCode{4};
    MaskedField apartment{8, MaskedField::Kind::LettersAndDigits};
    // Below the name fields: the name as the stations show it (read-only).
    Label displayCaption, displayText;
    Label stationTreeCaption;
    CheckTree stationTree;
    Button selectAllStations, selectNoStations;
    Button newResident, saveResident, deleteResident;
    // Beside the form: every resident, found by the resident search; choosing a row shows the resident.
    TextBox listSearch;
    // The headers of the longer names take two lines, so that the list leaves the form its room.
    TableList residentList{{"Name", "Wohnungs-\nnummer", "Serien-\nnummer 1"}};
    Label listCount;

    ResidentPageForm() {
        residentFrame.setCaption("Bewohnerdaten");
        displayModeFrame.setCaption("Anzeigen nach:");
        for (auto [option, caption] : {std::pair{&byName, "Name"}, std::pair{&bySerial, "Seriennummer"},
                                       std::pair{&byApartment, "Wohnungsnummer"}}) {
            option->setCaption(caption);
            option->joinGroup(displayModes);
        }
        label(lastName, "Name", "Name des Bewohners");
        label(firstName, "Vorname", "Vorname des Bewohners");
        // The table keeps 50 characters of each name: the fields take no more.
        lastName.setMaxLength(50);
        firstName.setMaxLength(50);
        label(serial, "Seriennummer 1", "1. Seriennummer für Türruf");
        label(secondSerial, "Seriennummer 2", "2. Seriennummer für Türruf");
        label(accessCode, "Zugangscode", "Zugangscode für PNL (nur bei PNL Modul)");
        label(apartment, "Wohnungsnummer", "");
        displayCaption.setCaption("Anzeige an der PNL:");
        stationTreeCaption.setCaption("PNL Auswahl");
        stationTree.setTip("Wählen Sie hier die PNL aus, in die dieser Bewohner übertragen werden soll.");
        label(selectAllStations, "Alle PNL auswählen", "Alle PNL für datenübernahme auswählen");
        label(selectNoStations, "Keine PNL auswählen", "Keine PNL für Datenübernahme auswählen");
        newResident.setCaption("Bewohner neu");
        saveResident.setCaption("Bewohner sichern");
        deleteResident.setCaption("Bewohner löschen");
        listSearch.setTip("Sucht in Name, Vorname, Wohnungsnummer und Seriennummern");
        residentList.setTip("Wählen Sie einen Bewohner, um ihn im Formular zu zeigen.");
    }
    // The option buttons point at their group: the page is never copied.
    ResidentPageForm(const ResidentPageForm&) = delete;
    ResidentPageForm& operator=(const ResidentPageForm&) = delete;

  private:
    static void label(Control& control, const char* caption, const char* tip) {
        control.setCaption(caption);
        control.setTip(tip);
    }
};

}  // namespace pnl
