#pragma once
// The frames a display station understands, read from the byte stream of its line: SOH, a command character,
// upper-case hexadecimal text, EOT. Select "(" + 6 digits serial number + 2-character code; write ")" +
// 4 digits address + 16 digits data (8 bytes); query "*0000". Nothing else is a frame.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace pnl::sim {

inline constexpr char kSoh = '\x01';
inline constexpr char kEot = '\x04';

struct Frame {
    enum class Kind { Select, Write, Query };
    Kind kind = Kind::Query;
    std::uint32_t serial = 0;   // Select
    std::string code;           // Select: "01" opens, "80" closes after a transfer, "00" closes after a probe
    std::uint16_t address = 0;  // Write
    std::array<std::uint8_t, 8> data{};  // Write
};

struct Malformed {
    std::string bytes;  // the frame as received, SOH and EOT included when they were there
    std::string reason;
};

// Reads the text between SOH and EOT; false (and *reason) when it is no frame of the station.
bool parseFrame(const std::string& body, Frame* frame, std::string* reason);

// Splits the byte stream into frames. Bytes outside frames go to onOutside (a modem's command lines).
class FrameReader {
  public:
    std::function<void(const Frame&)> onFrame;
    std::function<void(const Malformed&)> onMalformed;
    std::function<void(char)> onOutside;

    void feed(const std::string& bytes);

  private:
    // Longer than any frame: what follows SOH without an EOT this long is reported and dropped.
    static constexpr std::size_t kMaxBody = 64;
    bool inFrame_ = false;
    std::string body_;
};

}  // namespace pnl::sim
