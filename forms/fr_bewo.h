#pragma once
// The resident page of the main window. A field's caption is the text of the label beside it.

#include "platform/controls.h"

namespace pnl {

struct FrBewoControls {
    static constexpr int kTabResident = 0;  // "Bewohner"
    static constexpr int kTabPlace = 1;     // "Ort": apartment number and station assignment

    Frame FrBewo;
    Frame FrBWAnzeige;
    OptionGroup displayModes;
    OptionButton OptBWName, OptBWSNR, OptBWWNr;
    ComboBox CboBewo{true};
    TabControl SSTabBewo{{"Bewohner", "Ort"}};
    TextBox TxtBWName, TxtBWVorn;
    MaskedField TxtBWSnr{6}, txtBwtSnr{6}, TxtBWCode{4};
    MaskedField TxtBWWNr{8, MaskedField::Kind::LettersAndDigits};
    // Below the name fields: the name as the stations show it (read-only).
    Label LblBWAnzeige, LblBWAnzeigeText;
    Label LblVwPNL;
    CheckTree TrVwPNL;
    Button CmdPNLALLSet, CmdPNLALLDel;
    Button CmdBWNeu, CmdBWSave, CmdBWDel;

    FrBewoControls() {
        FrBewo.setCaption("Bewohnerdaten");
        FrBWAnzeige.setCaption("Anzeigen nach:");
        for (auto [option, caption] : {std::pair{&OptBWName, "Name"}, std::pair{&OptBWSNR, "Seriennummer"},
                                       std::pair{&OptBWWNr, "Wohnungsnummer"}}) {
            option->setCaption(caption);
            option->joinGroup(displayModes);
        }
        label(TxtBWName, "Name", "Name des Bewohners");
        label(TxtBWVorn, "Vorname", "Vorname des Bewohners");
        // The table keeps 50 characters of each name: the fields take no more.
        TxtBWName.setMaxLength(50);
        TxtBWVorn.setMaxLength(50);
        label(TxtBWSnr, "Seriennummer 1", "1. Seriennummer für Türruf");
        label(txtBwtSnr, "Seriennummer 2", "2. Seriennummer für Türruf");
        label(TxtBWCode, "Zugangscode", "Zugangscode für PNL (nur bei PNL Modul)");
        label(TxtBWWNr, "Wohnungsnummer", "");
        LblBWAnzeige.setCaption("Anzeige an der PNL:");
        LblVwPNL.setCaption("PNL Auswahl");
        TrVwPNL.setTip("Wählen Sie hier die PNL aus, in die dieser Bewohner übertragen werden soll.");
        label(CmdPNLALLSet, "Alle PNL auswählen", "Alle PNL für datenübernahme auswählen");
        label(CmdPNLALLDel, "Keine PNL auswählen", "Keine PNL für Datenübernahme auswählen");
        CmdBWNeu.setCaption("Bewohner neu");
        CmdBWSave.setCaption("Bewohner sichern");
        CmdBWDel.setCaption("Bewohner löschen");
    }
    // The option buttons point at their group: the page is never copied.
    FrBewoControls(const FrBewoControls&) = delete;
    FrBewoControls& operator=(const FrBewoControls&) = delete;

  private:
    static void label(Control& control, const char* caption, const char* tip) {
        control.setCaption(caption);
        control.setTip(tip);
    }
};

}  // namespace pnl
