#pragma once
// Who may run the headless probe: the access-code match of the password dialog, done on a terminal, and the
// rights of the level found. Reads the level records of the settings file itself, never the working copy.

#include <string>

namespace pnl {

class SettingsFile;

inline constexpr const char* kMasterCode = "ORION NEBEL";

// The level (1 to 5, or 6 from a LEVEL6 record or the master code) whose enabled record holds exactly this
// code and grants some rights; the lowest such level wins. 0 when none matches.
int MatchAccessCode(SettingsFile& levels, const std::string& entry);
// Field 2 of the level's record ("P", "A", "B", "N"), as stored; empty when there is none.
std::string LevelKind(SettingsFile& levels, int level);
// Levels of kind "B" (compared exactly) have no rights on the interfaces; every other level has.
bool MayUseInterfaces(SettingsFile& levels, int level);

}  // namespace pnl
