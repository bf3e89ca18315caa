#include "stations/station_directory.h"

#include <algorithm>

#include "app/program.h"
#include "app/resident_table.h"
#include "app/text.h"
#include "platform/collation.h"
#include "residents/station_name.h"

namespace pnl {
namespace {

std::string withoutBars(std::string text) {
    std::erase(text, '|');
    return text;
}

// The entry of a resident; nothing for a resident without a name.
std::optional<ImageFields> directoryEntry(const Resident& resident) {
    std::string name = stationName(resident.name, resident.firstName);
    if (name.empty())
        return std::nullopt;
    return ImageFields{std::move(name), leftChars(trim(withoutBars(resident.apartment)), kApartmentChars),
                       resident.serial.value_or(0), resident.serial ? resident.secondSerial : 0,
                       resident.code};
}

}  // namespace

void sortDirectory(StationDirectory& directory) {
    struct Keyed {
        CollationKey key;
        ImageFields entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(directory.size());
    for (ImageFields& entry : directory)
        keyed.push_back(Keyed{collationKey(entry.name), std::move(entry)});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        directory[i] = std::move(keyed[i].entry);
}

StationDirectory StationDirectoryOf(ResidentTable& table, int station) {
    StationDirectory directory;
    if (table.count() == 0 || station < 0 || station >= kStationCount)
        return directory;
    for (table.moveFirst(); !table.eof(); table.moveNext()) {
        const Resident resident = table.current();
        if (!resident.stations.test(static_cast<std::size_t>(station)))
            continue;
        if (auto entry = directoryEntry(resident))
            directory.push_back(std::move(*entry));
    }
    sortDirectory(directory);
    return directory;
}

std::string transferLine(const ImageFields& entry) {
    return entry.name + "|" + entry.apartment + "|" + std::to_string(entry.firstSerial) + "|" +
           std::to_string(entry.secondSerial) + "|" + std::to_string(entry.code);
}

std::vector<std::string> transferLines(const StationDirectory& directory) {
    std::vector<std::string> lines;
    lines.reserve(directory.size());
    for (const ImageFields& entry : directory)
        lines.push_back(transferLine(entry));
    return lines;
}

const StationDirectory& StationDirectories::of(int station) {
    ResidentTable* table = program_.residents();
    // Another table (bound again after a failed commit) or changed rows: everything is built again.
    const std::uint64_t generation = program_.databaseGeneration();
    const std::uint64_t revision = table ? table->revision() : 0;
    if (generation != generation_ || revision != revision_) {
        built_.clear();
        generation_ = generation;
        revision_ = revision;
    }
    auto found = built_.find(station);
    if (found == built_.end())
        found =
            built_.emplace(station, table ? StationDirectoryOf(*table, station) : StationDirectory{}).first;
    return found->second;
}

}  // namespace pnl
