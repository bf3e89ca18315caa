#pragma once
// The program's version information (a property of the process), as the project information dialog and
// --version show it. The three numbers are the project's one source of its version: the build reads them from
// here for the package.

#include <string>

namespace pnl {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 0;

struct VersionInfo {
    const char* fileDescription;
    const char* copyright;
    int major, minor, revision;
};

inline constexpr VersionInfo kVersion{"PNL Fernwartung – Einrichtung der Display-Türstationen",
                                      "Copyright © 2026 Entwicklerteam PNL Fernwartung", kVersionMajor,
                                      kVersionMinor, kVersionRevision};

// "Version: " + major + "." + minor + revision with no separator: 2.0 revision 14 reads "Version: 2.014".
inline std::string versionLabel(const VersionInfo& version = kVersion) {
    return "Version: " + std::to_string(version.major) + "." + std::to_string(version.minor) +
           std::to_string(version.revision);
}

// The line --version prints: the program's name and the package version ("pnl-setup 2.1.0").
inline std::string versionLine(const std::string& program) {
    return program + " " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

}  // namespace pnl
