#include "residents/resident_search.h"

#include "app/resident_table.h"
#include "platform/collation.h"

namespace pnl {

namespace {

std::string serials(std::int64_t serial) {
    if (serial <= 0)
        return {};
    return "\t" + std::to_string(serial) + "\t" + listedSerial(serial);
}

}  // namespace

std::string residentSearchText(const Resident& resident) {
    return searchableText(resident.name + "\t" + resident.firstName + "\t" + resident.apartment +
                          serials(resident.serial.value_or(0)) + serials(resident.secondSerial));
}

std::string residentCountText(int shown, int all) {
    return shown == all ? std::to_string(all) + " Bewohner"
                        : std::to_string(shown) + " von " + std::to_string(all) + " Bewohnern";
}

}  // namespace pnl
