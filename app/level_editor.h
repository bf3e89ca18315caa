#pragma once
// The permission level editor (page FrLevels): shows and saves the records "LEVEL1" to "LEVEL5" of section
// "Berechtigungen" in the working copy of the settings, encrypted. Level 1 is always released.

#include <string>

namespace pnl {

class Program;
struct FrLevelsControls;

class LevelEditor {
  public:
    LevelEditor(Program& program, FrLevelsControls& form);

    // The menu "Berechtigungen" opens the page: no level chosen, the first tab in front.
    void Reset();
    void CboLVBez_Click();
    // Entering the code field puts the caret at its first position.
    void TxtLVCode_GotFocus();
    void CmdLVSave_Click();

  private:
    // Another released level (1..6) with this code, 0 when there is none.
    int levelWithCode(const std::string& code, int except);
    std::string levelName(int level) const;

    Program& program_;
    FrLevelsControls& form_;
};

}  // namespace pnl
