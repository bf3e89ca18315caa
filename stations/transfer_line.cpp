#include "stations/transfer_line.h"

#include <algorithm>

#include "app/program.h"
#include "app/text.h"
#include "app/value_fields.h"
#include "platform/collation.h"
#include "residents/resident_table.h"
#include "residents/station_name.h"

namespace pnl {
namespace {

std::string withoutBars(std::string text) {
    std::erase(text, '|');
    return text;
}

std::string firstColumn(const std::string& line) {
    return line.substr(0, line.find('|'));
}

}  // namespace

std::optional<std::string> TransferLine(const Resident& resident) {
    const std::string name = stationName(resident.name, resident.firstName);
    if (name.empty())
        return std::nullopt;
    const std::string apartment = leftChars(trim(withoutBars(resident.apartment)), kApartmentChars);
    const std::int64_t firstSerial = resident.serial.value_or(0);
    const std::int64_t secondSerial = resident.serial ? resident.secondSerial : 0;
    return name + "|" + apartment + "|" + std::to_string(firstSerial) + "|" + std::to_string(secondSerial) +
           "|" + std::to_string(resident.code);
}

ImageFields splitTransferLine(Program& /*program*/, const std::string& line) {
    const ValueFields f(line, '|');
    return ImageFields{f[0], f[1], leadingNumber(f[2]), leadingNumber(f[3]), leadingNumber(f[4])};
}

void sortTransferLines(std::vector<std::string>& lines) {
    struct Keyed {
        CollationKey key;
        std::string line;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(lines.size());
    for (std::string& line : lines)
        keyed.push_back(Keyed{collationKey(firstColumn(line)), std::move(line)});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        lines[i] = std::move(keyed[i].line);
}

void EncodeStation(Program& program, ColumnList& transferList, int station) {
    transferList.clear();
    ResidentTable* table = program.residents.get();
    if (!table || table->count() == 0)
        return;

    std::vector<std::string> lines;
    for (table->moveFirst(); !table->eof(); table->moveNext()) {
        const Resident resident = table->current();
        if (station < 0 || station >= kStationCount || !resident.stations.test(station))
            continue;
        if (auto line = TransferLine(resident))
            lines.push_back(std::move(*line));
    }
    sortTransferLines(lines);
    transferList.setLines(std::move(lines));
}

}  // namespace pnl
