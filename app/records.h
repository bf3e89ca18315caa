#pragma once
// The level records of section "Berechtigungen": key "LEVEL" followed by the level number, stored sealed by
// the cipher. Plain, a record is a value list of three fields: the enabled flag ("TRUE" or "FALSE"), the
// access code (digits, empty when the level is disabled) and the kind of rights ("P", "A", "B"; "N" or empty:
// none).

#include <string>

namespace pnl {

class SettingsFile;

struct LevelRecord {
    std::string enabled;  // field 0 as stored
    std::string code;     // field 1
    std::string kind;     // field 2 upper-cased: a lower-case letter gives no other rights than its capital

    // The password check admits a level only when its flag is exactly "TRUE"; the level editor also takes
    // "true" as enabled.
    bool enabledExactly() const { return enabled == "TRUE"; }
    bool enabledAnyCase() const;
};

LevelRecord parseLevelRecord(const std::string& plain);
// "TRUE," + code + "," + kind, or "FALSE,," + kind: a disabled level keeps no code.
std::string formatLevelRecord(const LevelRecord& record);

// Reads and decrypts the record of a level; a missing record, or one that does not decrypt, has empty fields.
LevelRecord readLevelRecord(SettingsFile& settings, int level);
// Seals the record and writes it under the level's key; false when it cannot be written.
bool writeLevelRecord(SettingsFile& settings, int level, const LevelRecord& record);

// Reads the current key's value and decrypts it; empty when missing or when it does not decrypt.
std::string readEncrypted(SettingsFile& settings);
// Encrypts the plain value list and writes it as the current key's value.
bool writeEncrypted(SettingsFile& settings, const std::string& plain);

// Selects the level record of a level: section "Berechtigungen", key "LEVEL" followed by the level number.
void selectLevelRecord(SettingsFile& settings, int level);

}  // namespace pnl
