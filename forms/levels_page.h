#pragma once
// The permission level page of the main window.

#include "forms/controls.h"

namespace pnl {

struct LevelsPageForm {
    Frame levelsFrame;
    Label levelChoiceCaption;
    ComboBox levelChoice;
    TabControl levelTabs{{"Codes"}};
    OptionGroup levelKinds;
    OptionButton kindResidents, kindAll, kindAllWithLevels;
    CheckBox levelEnabled;
    Label levelCodeCaption;
    MaskedField levelCode{6};
    Button saveLevel;

    LevelsPageForm() {
        levelsFrame.setCaption("Berechtigungen");
        levelChoiceCaption.setCaption("Berechtigungsstufen");
        for (const char* level : {"Level 1 (Grund)", "Level 2", "Level 3", "Level 4", "Level 5 (Supervisor)"})
            levelChoice.addItem(level);
        levelChoice.setTip("Verfügbare Berechtigungsstufen");
        levelTabs.setTip("Eigenschaften der Berechtigungsstufe");
        for (OptionButton* option : {&kindResidents, &kindAll, &kindAllWithLevels})
            option->joinGroup(levelKinds);
        kindResidents.setCaption("Bewohnerdaten editieren");
        kindResidents.setTip("Berechtigung zum Ändern der Bewohnerdaten (Klartext, Name, Vorname, Anrede)");
        kindAll.setCaption("Alle Eingaben editieren (ohne Berechtigungen)");
        kindAll.setTip("Berechtigung zum Ändern aller Programmeinstellungen");
        kindAllWithLevels.setCaption("Alle Eingaben editieren (incl. Berechtigungen)");
        levelEnabled.setCaption("Berechtigungsstufe freigegeben");
        levelEnabled.setTip("Berechtigungsstufe wird vom Visualisierungsprogramm genutzt");
        levelCodeCaption.setCaption("Numerischer Code");
        levelCode.setTip("Code für die Freischaltung dieser Berechtigungsstufe (1-999.999)");
        saveLevel.setCaption("Sichern");
        saveLevel.setTip("Sichert die gemachten Einstellungen");
    }
    // The option buttons point at their group.
    LevelsPageForm(const LevelsPageForm&) = delete;
    LevelsPageForm& operator=(const LevelsPageForm&) = delete;
};

}  // namespace pnl
