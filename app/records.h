#pragma once
// Encrypted records of the settings file (the level records).

#include <string>

namespace pnl {

class SettingsFile;

// Reads the current key's value and decrypts it; empty when missing or when it does not decrypt.
std::string readEncrypted(SettingsFile& settings);
// Encrypts the plain value list and writes it as the current key's value.
bool writeEncrypted(SettingsFile& settings, const std::string& plain);

// Selects the level record of a level: section "Berechtigungen", key "LEVEL" followed by the level number.
void selectLevelRecord(SettingsFile& settings, int level);

}  // namespace pnl
