#include "link/interface_record.h"

#include "app/program.h"
#include "app/text.h"
#include "app/value_fields.h"

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

InterfaceRecord parseInterfaceRecord(const std::string& value) {
    const ValueFields fields(value);
    InterfaceRecord record;
    record.kindText = fields[0];
    const std::int64_t kind = leadingNumber(fields[0]);
    // Out-of-range texts can never equal an offered kind; keep them apart from 0 ("Kein Gerät").
    record.kind = kind < INT32_MIN || kind > INT32_MAX ? -1 : static_cast<int>(kind);
    record.modem = upper(fields[1]) == "TRUE";
    if (record.modem) {
        record.init1 = fields[2];
        record.init2 = fields[3];
        record.dialPrefix = fields[4];
    }
    return record;
}

std::string formatInterfaceRecord(const InterfaceRecord& record) {
    if (record.kind != kStationLink)
        return {};
    const std::string prefix = zeroPadded(record.kind, 2) + ",";
    if (!record.modem)
        return prefix + "FALSE";
    return prefix + "TRUE," + record.init1 + "," + record.init2 + "," + record.dialPrefix + ",";
}

std::string readInterfaceValue(Program& program, int port) {
    if (port < kFirstPort || port > kLastPort)
        return {};
    program.settings.setSection(kInterfaceSection);
    program.settings.setKey(portName(port));
    return program.settings.read();
}

InterfaceRecord readInterfaceRecord(Program& program, int port) {
    return parseInterfaceRecord(readInterfaceValue(program, port));
}

int CountPortsOfKind(Program& program, int kind, int exceptPort) {
    const std::string section = program.settings.section();
    const std::string key = program.settings.key();
    int count = 0;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (readInterfaceRecord(program, port).kind == kind && port != exceptPort)
            ++count;
    }
    program.settings.setSection(section);
    program.settings.setKey(key);
    return count;
}

std::optional<TransferLink> TransferPort(Program& program) {
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        // The whole value is trimmed before it is split: " 30,FALSE" is taken.
        const std::string value = trim(readInterfaceValue(program, port));
        if (value.empty())
            continue;
        const InterfaceRecord record = parseInterfaceRecord(value);
        if (record.kindText != "30")
            continue;
        return TransferLink{port, record.modem, record.init1, record.dialPrefix};
    }
    return std::nullopt;
}

}  // namespace pnl
