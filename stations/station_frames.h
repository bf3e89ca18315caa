#pragma once
// The frames of the station link and the blocks they write into station memory. Frames are plain ASCII: 0x01,
// a command character, upper-case hexadecimal text, 0x04; no checksum, no answer. Numbers keep only their low
// bits (a serial number its low 24, an address its low 16).

#include <array>
#include <cstdint>
#include <string>

#include "stations/charset.h"

namespace pnl {

using MemoryBlock = std::array<std::uint8_t, 8>;

inline constexpr char kFrameStart = 0x01;
inline constexpr char kFrameEnd = 0x04;
// Opens a station before its data and closes it after.
inline constexpr const char* kSelectOpen = "01";
inline constexpr const char* kSelectClose = "80";

// Station memory written by a transfer: the header block, then one 56-byte image per record from 0x0080.
inline constexpr std::uint16_t kHeaderAddress = 0x0006;
inline constexpr std::uint16_t kFirstImageAddress = 0x0080;
inline constexpr int kImageSize = 56;
inline constexpr int kBlocksPerImage = kImageSize / 8;
// The image of record 582 ends at 0x7FCF; one more would reach 0x8000, past the station's memory.
inline constexpr int kMaxRecords = 582;

// 11 bytes: 0x01 "(" serial number (6 hex) code 0x04.
std::string SelectFrame(std::uint32_t serialNumber, const std::string& code);
// 23 bytes: 0x01 ")" address (4 hex) eight data bytes (16 hex) 0x04.
std::string WriteFrame(std::uint16_t address, const MemoryBlock& data);

// The header block: 01 00, the record count low byte first, 01 00 00 00.
MemoryBlock HeaderBlock(int recordCount);

// The five fields of one transfer line, as numbers where the station stores numbers.
struct ImageFields {
    std::string name;       // at most 31 characters
    std::string apartment;  // at most 6 characters
    std::int64_t firstSerial = 0;
    std::int64_t secondSerial = 0;
    std::int64_t code = 0;
};

using ResidentImageBytes = std::array<std::uint8_t, kImageSize>;

// The 56-byte image of record r (1..count): name at 0 (zero-terminated, 32 bytes), apartment at 32 (6 bytes),
// serial numbers at 38 and 41 (24 bits big-endian), preceding record at 44 and following record at 46 (16
// bits big-endian; 0 before the first, the record itself after the last), access code at 48 (24 bits).
ResidentImageBytes ResidentImage(const ImageFields& fields, int record, int count, Firmware firmware);

// Block j (0..6) of an image.
MemoryBlock imageBlock(const ResidentImageBytes& image, int block);
// The address of block j of record r.
std::uint16_t imageBlockAddress(int record, int block);

}  // namespace pnl
