#include "app/records.h"

#include "app/program.h"
#include "app/settings_file.h"
#include "app/text.h"
#include "app/value_fields.h"
#include "platform/cipher.h"

namespace pnl {

bool LevelRecord::enabledAnyCase() const {
    return upper(enabled) == "TRUE";
}

LevelRecord parseLevelRecord(const std::string& plain) {
    const ValueFields fields(plain);
    return LevelRecord{fields[0], fields[1], upper(fields[2])};
}

std::string formatLevelRecord(const LevelRecord& record) {
    return (record.enabledExactly() ? "TRUE," + record.code + "," : std::string("FALSE,,")) + record.kind;
}

LevelRecord readLevelRecord(SettingsFile& settings, int level) {
    selectLevelRecord(settings, level);
    return parseLevelRecord(readEncrypted(settings));
}

bool writeLevelRecord(SettingsFile& settings, int level, const LevelRecord& record) {
    selectLevelRecord(settings, level);
    return writeEncrypted(settings, formatLevelRecord(record));
}

std::string readEncrypted(SettingsFile& settings) {
    const std::string sealed = settings.read();
    if (sealed.empty())
        return {};
    return cDecrypt(sealed, kCipherKey).value_or(std::string());
}

bool writeEncrypted(SettingsFile& settings, const std::string& plain) {
    const std::string sealed = cEncrypt(plain, kCipherKey);
    if (sealed.empty())
        return false;
    return settings.write(sealed);
}

void selectLevelRecord(SettingsFile& settings, int level) {
    settings.setSection("Berechtigungen");
    settings.setKey("LEVEL" + std::to_string(level));
}

}  // namespace pnl
