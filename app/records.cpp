#include "app/records.h"

#include "app/program.h"
#include "app/settings_file.h"
#include "platform/cipher.h"

namespace pnl {

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
