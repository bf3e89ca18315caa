#pragma once
// A sample installation for the demo, the tests and training: ANLAGE99.INI with the five level records, the
// station data link on COM1 and three labelled stations, and QBXDATA.MDB with about forty residents.

#include <string>

#include "app/first_start.h"

namespace pnl {

struct SampleLevel {
    int level;
    const char* code;  // the access code typed in the password dialog
    const char* kind;  // the level's kind of rights: "B", "A" or "P"
};

// The sample's level records (README, "Sample installation").
inline constexpr SampleLevel kSampleLevels[] = {
    {1, "111111", "B"}, {2, "222222", "B"}, {3, "333333", "A"}, {4, "444444", "A"}, {5, "555555", "P"},
};

// The sample's stations, as "PNLnn" values.
inline constexpr const char* kSampleStations[] = {
    "PNL-B,Haupteingang,012345,,FALSE",
    "PNL-A,Nebeneingang,023456,,TRUE",
    "PNL-K,Tiefgarage,034567,,FALSE",
};

struct SampleOptions {
    // The table gets its 17th column PNL with station assignments (as after a first run of the program);
    // otherwise it is written in its 16-column base form.
    bool assigned = false;
    // Replace QBXDATA.MDB and ANLAGE99.INI when they exist; otherwise an existing installation is refused.
    bool overwrite = false;
};

// Writes the sample into folder (created when missing, its parent must exist). False with *error set (German)
// when the folder holds an installation already or a file cannot be written; nothing is then left
// half-written.
bool writeSampleInstallation(const std::string& folder, std::string* error, bool assigned = false);
bool writeSampleInstallation(const std::string& folder, std::string* error, const SampleOptions& options);

// The sample as the first start writes it: its residents assigned to its stations, so that the first transfer
// sends them. On success the message lists the access codes of the five levels.
SampleWritten writeFirstStartSample(const std::string& folder);

}  // namespace pnl
