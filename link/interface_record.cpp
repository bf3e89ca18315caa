#include "link/interface_record.h"

#include "app/program.h"
#include "app/text.h"

namespace pnl {

std::string portName(int port) {
    return "COM" + std::to_string(port);
}

int portNumberOf(const std::string& name) {
    if (name.size() != 4 || name.compare(0, 3, "COM") != 0)
        return 0;
    const char digit = name[3];
    if (digit < '0' + kFirstPort || digit > '0' + kLastPort)
        return 0;
    return digit - '0';
}

std::string readInterfaceRecord(Program& program, int port) {
    if (port < kFirstPort || port > kLastPort)
        return {};
    program.settings.setSection(kInterfaceSection);
    program.settings.setKey(portName(port));
    return program.settings.read();
}

int LoadInterfaceRecord(Program& program, int port) {
    FieldOf(program, readInterfaceRecord(program, port));
    return DeviceKind(program);
}

int DeviceKind(const Program& program) {
    const std::int64_t kind = leadingNumber(program.fieldTable[0]);
    // Out-of-range texts can never equal an offered kind; keep them apart from 0 ("Kein Gerät").
    if (kind < INT32_MIN || kind > INT32_MAX)
        return -1;
    return static_cast<int>(kind);
}

int CountPortsOfKind(Program& program, int kind, int exceptPort) {
    const std::string section = program.settings.section();
    const std::string key = program.settings.key();
    int count = 0;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (LoadInterfaceRecord(program, port) == kind && port != exceptPort)
            ++count;
    }
    program.settings.setSection(section);
    program.settings.setKey(key);
    return count;
}

std::optional<TransferLink> TransferPort(Program& program) {
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const std::string value = trim(readInterfaceRecord(program, port));
        if (value.empty())
            continue;
        ValueFields fields;
        fields.split(value);
        if (fields[0] != "30")
            continue;
        TransferLink link;
        link.port = port;
        link.modem = upper(fields[1]) == "TRUE";
        if (link.modem) {
            link.init = fields[2];
            link.dialPrefix = fields[4];
        }
        return link;
    }
    return std::nullopt;
}

}  // namespace pnl
