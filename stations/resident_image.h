#pragma once
// The blocks a transfer writes into station memory: the header block and one resident image per record.

#include <array>
#include <cstdint>
#include <string>

#include "link/station_frames.h"
#include "residents/charset.h"

namespace pnl {

// Station memory written by a transfer: the header block, then one 56-byte image per record from 0x0080.
inline constexpr std::uint16_t kHeaderAddress = 0x0006;
inline constexpr std::uint16_t kFirstImageAddress = 0x0080;
inline constexpr int kImageSize = 56;
inline constexpr int kBlocksPerImage = kImageSize / 8;
// The image of record 582 ends at 0x7FCF; one more would reach 0x8000, past the station's memory.
inline constexpr int kMaxRecords = 582;

// The header block: 01 00, the record count low byte first, 01 00 00 00.
MemoryBlock HeaderBlock(int recordCount);

// The fields of one resident's image: an entry of a station's directory.
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
