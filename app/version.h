#pragma once
// The program's version information, as the project information dialog shows it.

#include <string>

namespace pnl {

struct VersionInfo {
    const char* fileDescription;
    const char* copyright;
    int major, minor, revision;
};

inline constexpr VersionInfo kVersion{"PNL Fernwartung – Einrichtung der Display-Türstationen",
                                      "Copyright © 2026 Entwicklerteam PNL Fernwartung", 2, 0, 14};

// "Version: " + major + "." + minor + revision with no separator: 2.0 revision 14 reads "Version: 2.014".
inline std::string versionLabel(const VersionInfo& version = kVersion) {
    return "Version: " + std::to_string(version.major) + "." + std::to_string(version.minor) +
           std::to_string(version.revision);
}

}  // namespace pnl
