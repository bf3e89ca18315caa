#include <string>

#include "platform/serial_port.h"

namespace pnl {

std::optional<LineSettings> LineSettings::parse(const std::string& text) {
    // baud, parity letter, data bits, stop bits: "9600,N,8,1"
    std::string fields[4];
    int n = 0;
    for (char c : text) {
        if (c == ',') {
            if (++n > 3)
                return std::nullopt;
        } else {
            fields[n] += c;
        }
    }
    if (n != 3)
        return std::nullopt;
    auto number = [](const std::string& s) -> int {
        if (s.empty() || s.size() > 7 || s.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        return std::stoi(s);
    };
    LineSettings out;
    out.baud = number(fields[0]);
    out.dataBits = number(fields[2]);
    out.stopBits = number(fields[3]);
    if (fields[1].size() != 1)
        return std::nullopt;
    out.parity = static_cast<char>(fields[1][0] & ~0x20);
    static const std::string kParities = "NEOMS";
    if (out.baud <= 0 || kParities.find(out.parity) == std::string::npos)
        return std::nullopt;
    if (out.dataBits < 5 || out.dataBits > 8 || (out.stopBits != 1 && out.stopBits != 2))
        return std::nullopt;
    return out;
}

std::optional<std::pair<int, std::string>> PortMap::parseMapping(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq < 4 || text.compare(0, 3, "COM") != 0 || eq + 1 >= text.size())
        return std::nullopt;
    const std::string digits = text.substr(3, eq - 3);
    if (digits.size() != 1 || digits[0] < '1' || digits[0] > '8')
        return std::nullopt;
    return std::make_pair(digits[0] - '0', text.substr(eq + 1));
}

std::optional<ChosenDevice> PortMap::chosen(int number) const {
    const auto it = chosen_.find(number);
    if (it == chosen_.end())
        return std::nullopt;
    return it->second;
}

std::string PortMap::pathOf(int number) const {
    if (const auto it = paths_.find(number); it != paths_.end())
        return it->second;
    if (const auto it = chosen_.find(number); it != chosen_.end())
        return it->second.path;
    return builtInPath(number);
}

std::string PortMap::adapterOf(int number) const {
    if (isMapped(number))
        return {};
    const auto it = chosen_.find(number);
    return it == chosen_.end() ? std::string() : it->second.adapter;
}

}  // namespace pnl
