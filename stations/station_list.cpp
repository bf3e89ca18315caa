#include "stations/station_list.h"

#include "app/program.h"
#include "app/text.h"
#include "platform/controls.h"

namespace pnl {

std::string stationKey(int number) {
    return "PNL" + zeroPadded(number, 2);
}

StationRecord readStation(Program& program, int number) {
    StationRecord record;
    record.number = number;
    if (number < 0 || number >= kStationSlots)
        return record;
    record.value = program.InitX.read(kStationSection, stationKey(number));
    FieldOf(program, record.value);
    const ValueFields& fields = program.FieldTable;
    record.type = fields[0];
    record.label = fields[1];
    record.serial = fields[2];
    record.phone = fields[3];
    record.olderFirmware = upper(fields[4]) == "TRUE";
    return record;
}

int LowestFreeSlot(Program& program) {
    for (int number = 0; number < kStationSlots; ++number)
        if (program.InitX.read(kStationSection, stationKey(number)).empty())
            return number;
    return kStationSlots;
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

void LoadStationList(Program& program, ComboBox& list) {
    list.clear();
    for (const StationRecord& station : listedStations(program))
        list.addItem(station.label, station.number);
}

}  // namespace pnl
