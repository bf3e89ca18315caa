#pragma once
// The frames of the station link. Frames are plain ASCII: 0x01, a command character, upper-case hexadecimal
// text, 0x04; no checksum, no answer. Numbers keep only their low bits (a serial number its low 24, an
// address its low 16).

#include <array>
#include <cstdint>
#include <string>

namespace pnl {

using MemoryBlock = std::array<std::uint8_t, 8>;

inline constexpr char kFrameStart = 0x01;
inline constexpr char kFrameEnd = 0x04;
// Opens a station before its data and closes it after.
inline constexpr const char* kSelectOpen = "01";
inline constexpr const char* kSelectClose = "80";

// 11 bytes: 0x01 "(" serial number (6 hex) code 0x04.
std::string SelectFrame(std::uint32_t serialNumber, const std::string& code);
// 23 bytes: 0x01 ")" address (4 hex) eight data bytes (16 hex) 0x04.
std::string WriteFrame(std::uint16_t address, const MemoryBlock& data);

}  // namespace pnl
