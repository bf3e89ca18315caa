#pragma once
// The permission level editor (page levelsFrame): shows and saves the records "LEVEL1" to "LEVEL5" of section
// "Berechtigungen" in the working copy of the settings, encrypted. Level 1 is always released.

#include <string>

namespace pnl {

class Program;
struct LevelsPageForm;

class LevelEditor {
  public:
    LevelEditor(Program& program, LevelsPageForm& form);

    // The menu "Berechtigungen" opens the page: no level chosen, the first tab in front.
    void Reset();
    void levelChosen();
    // Entering the code field puts the caret at its first position.
    void levelCodeFocused();
    void save();

  private:
    // Another released level (1..6) with this code, 0 when there is none.
    int levelWithCode(const std::string& code, int except);
    std::string levelName(int level) const;

    Program& program_;
    LevelsPageForm& form_;
};

}  // namespace pnl
