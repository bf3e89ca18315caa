#include "overview/overview_page.h"

#include <unordered_set>

#include "app/program.h"
#include "app/station_records.h"
#include "overview/resident_export.h"
#include "residents/resident_search.h"

namespace pnl {

const std::string& OverviewPage::folder() const {
    return program_.folder;
}

void OverviewPage::Open() {
    const bool mayAssign = MayAssignStations(program_);
    form_.assign.setEnabled(mayAssign);
    form_.unassign.setEnabled(mayAssign);
    // An import creates, renumbers and removes residents: what the resident page allows such a level only.
    form_.importResidents.setEnabled(mayAssign);
    form_.outcome.setCaption("");
    reload();
}

void OverviewPage::reload() {
    overview_ = LoadOverview(program_);
    ShowCount(static_cast<int>(overview_.rows.size()));
    if (reloaded)
        reloaded();
}

void OverviewPage::ShowCount(int shown) {
    form_.residentCount.setCaption(residentCountText(shown, static_cast<int>(overview_.rows.size())));
}

bool OverviewPage::mayAssign() const {
    return form_.assign.enabled();
}

std::string OverviewPage::stationName(int station) const {
    for (const StationRecord& record : overview_.stations)
        if (record.number == station)
            return stationColumn(record);
    return stationKey(station);
}

void OverviewPage::applyChange(const StationChange& change, int station, bool assign) {
    // The unchanged ones too: another program may have set them since the page was read.
    std::unordered_set<std::int64_t> written(change.changed.begin(), change.changed.end());
    written.insert(change.unchanged.begin(), change.unchanged.end());
    std::optional<std::size_t> first, last;
    for (std::size_t i = 0; i < overview_.rows.size(); ++i) {
        OverviewRow& row = overview_.rows[i];
        if (!written.contains(row.id))
            continue;
        row.stations.set(static_cast<std::size_t>(station), assign);
        row.display = displayName(row.name, row.firstName, overview_.stations, row.stations);
        first = first.value_or(i);
        last = i;
    }
    if (first && rowsChanged)
        rowsChanged(*first, *last);
}

void OverviewPage::SetStation(const std::vector<std::int64_t>& ids, int station, bool assign) {
    if (ids.empty() || !mayAssign())
        return;
    const auto change = SetStationOfResidents(program_, ids, station, assign);
    if (!change)
        return;
    const int changed = static_cast<int>(change->changed.size());
    const int unchanged = static_cast<int>(change->unchanged.size());
    const int missing = static_cast<int>(ids.size()) - changed - unchanged;
    std::string outcome = std::to_string(ids.size()) + " markiert: " + std::to_string(changed) +
                          (assign ? " zugeordnet" : " entfernt");
    if (unchanged > 0)
        outcome += ", " + std::to_string(unchanged) + (unchanged == 1 ? " war" : " waren") +
                   (assign ? " es schon" : " es nicht");
    if (missing > 0)
        outcome += ", " + std::to_string(missing) + " nicht mehr vorhanden";
    form_.outcome.setCaption(outcome + " (" + stationName(station) + ").");
    applyChange(*change, station, assign);
}

void OverviewPage::TickStation(std::size_t row, int station, bool assign) {
    if (row >= overview_.rows.size() || !mayAssign())
        return;
    const OverviewRow& resident = overview_.rows[row];
    const auto change = SetStationOfResidents(program_, {resident.id}, station, assign);
    if (!change)
        return;
    const std::string name = fullName(resident.name, resident.firstName);
    form_.outcome.setCaption(change->changed.empty() && change->unchanged.empty()
                                 ? name + " ist nicht mehr vorhanden."
                                 : name + (assign ? " der " : " von der ") + stationName(station) +
                                       (assign ? " zugeordnet." : " entfernt."));
    applyChange(*change, station, assign);
}

void OverviewPage::Export(const std::string& path) {
    int count = 0;
    std::string error;
    if (!ExportResidents(program_, path, &count, &error)) {
        program_.msgBox(error, MsgIcon::Critical, MsgButtons::Ok, "Export");
        return;
    }
    form_.outcome.setCaption("Exportiert: " + std::to_string(count) + " Bewohner nach " + path);
}

ImportPreview OverviewPage::PreviewImport(const std::string& path) {
    return PreviewImportFile(program_, path);
}

bool OverviewPage::Import(const ImportPreview& preview, bool removeMissing) {
    if (!form_.importResidents.enabled())
        return false;
    if (!preview.unknownStationColumns.empty() &&
        program_.ask(
            Message(unknownStationsWarning(preview) +
                        "\nDie Zuordnungen dieser Spalten werden trotzdem gespeichert; eine solche PNL "
                        "erhält sie, sobald sie angelegt ist.\nTrotzdem importieren?",
                    "Import", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No)) != MsgAnswer::Yes)
        return false;
    std::string error;
    if (!ApplyImport(program_, preview, removeMissing, &error)) {
        program_.msgBox(error, MsgIcon::Critical, MsgButtons::Ok, "Import");
        return false;
    }
    form_.outcome.setCaption("Importiert: " + std::to_string(preview.count(ImportStatus::New)) + " neu, " +
                             std::to_string(preview.count(ImportStatus::Changed)) + " geändert" +
                             (removeMissing && !preview.missing.empty()
                                  ? ", " + std::to_string(preview.missing.size()) + " entfernt."
                                  : "."));
    reload();
    return true;
}

}  // namespace pnl
