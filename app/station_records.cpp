#include "app/station_records.h"

#include "app/program.h"
#include "app/text.h"

namespace pnl {

std::string stationKey(int number) {
    return "PNL" + zeroPadded(number, 2);
}

std::string stationNodeKey(int number) {
    return "S" + zeroPadded(number, 2);
}

int stationOfNodeKey(const std::string& key) {
    return static_cast<int>(leadingNumber(rightBytes(key, 2)));
}

StationRecord readStation(Program& program, int number) {
    StationRecord record;
    record.number = number;
    if (number < 0 || number >= kStationSlots)
        return record;
    record.value = program.settings.read(kStationSection, stationKey(number));
    FieldOf(program, record.value);
    const ValueFields& fields = program.fieldTable;
    record.type = fields[0];
    record.label = fields[1];
    record.serial = fields[2];
    record.phone = fields[3];
    record.olderFirmware = upper(fields[4]) == "TRUE";
    return record;
}

std::vector<StationRecord> listedStations(Program& program) {
    std::vector<StationRecord> stations;
    for (int number = 0; number < kStationSlots; ++number) {
        StationRecord record = readStation(program, number);
        if (record.listed())
            stations.push_back(std::move(record));
    }
    return stations;
}

}  // namespace pnl
