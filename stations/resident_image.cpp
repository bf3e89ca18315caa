#include "stations/resident_image.h"

#include <algorithm>

namespace pnl {
namespace {

void putBigEndian(ResidentImageBytes& image, int offset, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        image[offset + i] = static_cast<std::uint8_t>(value & 0xFF);
}

void putText(ResidentImageBytes& image, int offset, const std::string& bytes, std::size_t room) {
    const std::size_t n = std::min(bytes.size(), room);
    std::copy_n(bytes.begin(), n, image.begin() + offset);
}

}  // namespace

MemoryBlock HeaderBlock(int recordCount) {
    const auto count = static_cast<std::uint16_t>(recordCount);
    return {0x01,
            0x00,
            static_cast<std::uint8_t>(count & 0xFF),
            static_cast<std::uint8_t>(count >> 8),
            0x01,
            0x00,
            0x00,
            0x00};
}

ResidentImageBytes ResidentImage(const ImageFields& fields, int record, int count, Firmware firmware) {
    ResidentImageBytes image{};
    // Byte 31 stays 0 so that the name is always terminated; the apartment number may fill all six bytes.
    putText(image, 0, stationBytes(fields.name, firmware), 31);
    putText(image, 32, stationBytes(fields.apartment, firmware), 6);
    putBigEndian(image, 38, static_cast<std::uint64_t>(fields.firstSerial), 3);
    putBigEndian(image, 41, static_cast<std::uint64_t>(fields.secondSerial), 3);
    putBigEndian(image, 44, static_cast<std::uint64_t>(record - 1), 2);
    putBigEndian(image, 46, static_cast<std::uint64_t>(record < count ? record + 1 : record), 2);
    putBigEndian(image, 48, static_cast<std::uint64_t>(fields.code), 3);
    return image;
}

MemoryBlock imageBlock(const ResidentImageBytes& image, int block) {
    MemoryBlock data{};
    std::copy_n(image.begin() + std::ptrdiff_t{8} * block, 8, data.begin());
    return data;
}

std::uint16_t imageBlockAddress(int record, int block) {
    return static_cast<std::uint16_t>(kFirstImageAddress + kImageSize * (record - 1) + 8 * block);
}

}  // namespace pnl
