#pragma once
// The resident directory a display station holds, read from its 64 KiB memory: the header block at 0x0006
// (01 00, the count low byte first, 01 00 00 00) and 56-byte records from 0x0080, followed by their links
// from record 1. Everything in a record is big-endian: name (32 bytes, zero-terminated), apartment number
// (6), door-call serial numbers (3 + 3), preceding and following record (2 + 2), access code (3), 5 zero
// bytes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/station_sim/station_text.h"

namespace pnl::sim {

using Memory = std::array<std::uint8_t, 0x10000>;

inline constexpr std::uint16_t kHeaderAddress = 0x0006;
inline constexpr std::uint16_t kFirstRecordAddress = 0x0080;
inline constexpr int kRecordSize = 56;
inline constexpr int kMaxRecords = 582;  // the last record ends below 0x8000

struct DirectoryRecord {
    int number = 0;  // where it lies in memory (1 = 0x0080)
    std::string name;
    std::string apartment;
    std::uint32_t serial1 = 0;
    std::uint32_t serial2 = 0;
    std::uint32_t code = 0;
    int prev = 0;
    int next = 0;
    bool operator==(const DirectoryRecord&) const = default;
};

struct Directory {
    std::uint32_t serial = 0;
    Firmware firmware = Firmware::V3;
    int count = 0;                         // as the header block says
    std::vector<DirectoryRecord> records;  // in link order
    std::vector<std::string> errors;       // whatever does not fit the layout
};

Directory decodeDirectory(std::uint32_t serial, Firmware firmware, const Memory& memory);

// One heading line, one line per record ("  1 Müller, Anna|12|4711|0|0  (0 -> 2)") and one per error.
std::string directoryText(const Directory& directory);
// A JSON array with one object per station: serial, firmware, count, records [{name, apartment, serial1,
// serial2, code, prev, next}], errors.
std::string directoriesJson(const std::vector<Directory>& directories);

}  // namespace pnl::sim
