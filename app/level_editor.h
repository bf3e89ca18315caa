#pragma once
// The permission level editor (page levelsFrame): shows and saves the records "LEVEL1" to "LEVEL5" of section
// "Berechtigungen" in the working copy of the settings, encrypted. Level 1 is always released.

#include <string>

#include "app/records.h"

namespace pnl {

class Program;
struct LevelsPageForm;

class LevelEditor {
  public:
    LevelEditor(Program& program, LevelsPageForm& form);

    // The menu "Berechtigungen" opens the page: no level chosen, the first tab in front.
    void Reset();
    // Shows the chosen level. Changes typed for the level shown before are asked about first (see
    // leaveLevel); when they stay, so does that level.
    void levelChosen();
    // Entering the code field puts the caret at its first position.
    void levelCodeFocused();
    void save();
    // True when the form shows changes of the level shown that are not saved.
    bool hasUnsavedChanges() const;
    // Before the user leaves the level shown with unsaved changes: "Ja" saves them (a refused code is told
    // and the level stays), "Nein" drops them, "Abbrechen" stays. True when the user may leave.
    bool leaveLevel();

  private:
    // Saves the form as the record of the level shown; false when refused or not written (a box said why).
    bool saveShown();
    // The record the form stands for (a level not released keeps no code).
    LevelRecord formRecord() const;
    // Another released level (1..6) with this code, 0 when there is none.
    int levelWithCode(const std::string& code, int except);
    std::string levelName(int level) const;

    Program& program_;
    LevelsPageForm& form_;
    // The level the form shows (1..5, 0 for none) and its record as shown when it was loaded or saved, as
    // stored ("TRUE,123456,A").
    int shownLevel_ = 0;
    std::string shownRecord_;
};

}  // namespace pnl
