#include "app/station_records.h"

#include "app/program.h"
#include "app/text.h"
#include "app/value_fields.h"

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

StationRecord parseStationRecord(int number, const std::string& value) {
    const ValueFields fields(value);
    StationRecord record;
    record.number = number;
    record.value = value;
    record.type = fields[0];
    record.label = fields[1];
    record.serial = fields[2];
    record.phone = fields[3];
    record.olderFirmware = upper(fields[4]) == "TRUE";
    return record;
}

std::string formatStationRecord(const StationRecord& record) {
    return record.type + "," + record.label + "," + record.serial + "," + record.phone + "," +
           (record.olderFirmware ? "TRUE" : "FALSE");
}

StationRecord readStation(Program& program, int number) {
    if (number < 0 || number >= kStationSlots)
        return parseStationRecord(number, "");
    return parseStationRecord(number, program.settings.read(kStationSection, stationKey(number)));
}

std::vector<int> stationNumbers(const std::vector<StationRecord>& stations) {
    std::vector<int> numbers;
    numbers.reserve(stations.size());
    for (const StationRecord& station : stations)
        numbers.push_back(station.number);
    return numbers;
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
