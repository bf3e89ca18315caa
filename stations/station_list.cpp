#include "stations/station_list.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/controls.h"

namespace pnl {

int LowestFreeSlot(Program& program) {
    for (int number = 0; number < kStationSlots; ++number)
        if (program.settings.read(kStationSection, stationKey(number)).empty())
            return number;
    return kStationSlots;
}

void LoadStationList(Program& program, ComboBox& list) {
    list.clear();
    for (const StationRecord& station : listedStations(program))
        list.addItem(station.label, station.number);
}

}  // namespace pnl
