#include "porttest/probe_access.h"

#include "app/field_table.h"
#include "app/records.h"
#include "app/settings_file.h"
#include "app/text.h"

namespace pnl {

namespace {

constexpr const char* kLevelSection = "Berechtigungen";
constexpr int kHighestLevel = 6;

ValueFields levelRecord(SettingsFile& levels, int level) {
    levels.setSection(kLevelSection);
    levels.setKey("LEVEL" + std::to_string(level));
    ValueFields fields;
    fields.split(readEncrypted(levels));
    return fields;
}

}  // namespace

int MatchAccessCode(SettingsFile& levels, const std::string& entry) {
    if (entry.empty())
        return 0;
    if (upper(entry) == kMasterCode)
        return kHighestLevel;
    for (int level = 1; level <= kHighestLevel; ++level) {
        const ValueFields fields = levelRecord(levels, level);
        if (fields[0] == "TRUE" && fields[1] == entry && !fields[2].empty() && fields[2] != "N")
            return level;
    }
    return 0;
}

std::string LevelKind(SettingsFile& levels, int level) {
    return levelRecord(levels, level)[2];
}

bool MayUseInterfaces(SettingsFile& levels, int level) {
    return LevelKind(levels, level) != "B";
}

}  // namespace pnl
