#include "link/station_frames.h"

#include "app/text.h"

namespace pnl {

std::string SelectFrame(std::uint32_t serialNumber, const std::string& code) {
    std::string frame(1, kFrameStart);
    frame += '(';
    frame += hexDigits(serialNumber, 6);
    frame += code;
    frame += kFrameEnd;
    return frame;
}

std::string WriteFrame(std::uint16_t address, const MemoryBlock& data) {
    std::string frame(1, kFrameStart);
    frame += ')';
    frame += hexDigits(address, 4);
    for (std::uint8_t byte : data)
        frame += hexDigits(byte, 2);
    frame += kFrameEnd;
    return frame;
}

}  // namespace pnl
