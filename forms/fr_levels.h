#pragma once
// The permission level page of the main window.

#include "platform/controls.h"

namespace pnl {

struct FrLevelsControls {
    Frame FrLevels;
    Label LblLVBez;
    ComboBox CboLVBez;
    TabControl SSTabLV{{"Codes"}};
    OptionGroup levelKinds;
    OptionButton OptLVBewo, OptLVAll, OptLVPwd;
    CheckBox ChkLVEn;
    Label LblLVCode;
    MaskedField TxtLVCode{6};
    Button CmdLVSave;

    FrLevelsControls() {
        FrLevels.setCaption("Berechtigungen");
        LblLVBez.setCaption("Berechtigungsstufen");
        for (const char* level : {"Level 1 (Grund)", "Level 2", "Level 3", "Level 4", "Level 5 (Supervisor)"})
            CboLVBez.addItem(level);
        CboLVBez.setTip("Verfügbare Berechtigungsstufen");
        SSTabLV.setTip("Eigenschaften der Berechtigungsstufe");
        for (OptionButton* option : {&OptLVBewo, &OptLVAll, &OptLVPwd})
            option->joinGroup(levelKinds);
        OptLVBewo.setCaption("Bewohnerdaten editieren");
        OptLVBewo.setTip("Berechtigung zum Ändern der Bewohnerdaten (Klartext, Name, Vorname, Anrede)");
        OptLVAll.setCaption("Alle Eingaben editieren (ohne Berechtigungen)");
        OptLVAll.setTip("Berechtigung zum Ändern aller Programmeinstellungen");
        OptLVPwd.setCaption("Alle Eingaben editieren (incl. Berechtigungen)");
        ChkLVEn.setCaption("Berechtigungsstufe freigegeben");
        ChkLVEn.setTip("Berechtigungsstufe wird vom Visualisierungsprogramm genutzt");
        LblLVCode.setCaption("Numerischer Code");
        TxtLVCode.setTip("Code für die Freischaltung dieser Berechtigungsstufe (1-999.999)");
        CmdLVSave.setCaption("Sichern");
        CmdLVSave.setTip("Sichert die gemachten Einstellungen");
    }
    // The option buttons point at their group.
    FrLevelsControls(const FrLevelsControls&) = delete;
    FrLevelsControls& operator=(const FrLevelsControls&) = delete;
};

}  // namespace pnl
