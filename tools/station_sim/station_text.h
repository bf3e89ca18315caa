#pragma once
// The character set of a display station's display, read back from its memory: the station firmware decides
// which byte stands for which special character (older firmware 2.7X, current 3.x).

#include <cstdint>
#include <string>
#include <vector>

namespace pnl::sim {

enum class Firmware { V27, V3 };

// "2.7X" or "3.x".
std::string firmwareName(Firmware firmware);

// The UTF-8 text of station bytes. Bytes that the firmware cannot show are collected in *unknown and appear
// as
// "?" in the text.
std::string textOf(const std::uint8_t* bytes, std::size_t count, Firmware firmware,
                   std::vector<std::uint8_t>* unknown);

}  // namespace pnl::sim
