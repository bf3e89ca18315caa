#include "overview/overview_page.h"

#include "app/program.h"
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

void OverviewPage::SetStation(const std::vector<std::int64_t>& ids, int station, bool assign) {
    if (ids.empty() || !form_.assign.enabled())
        return;
    const auto changed = SetStationOfResidents(program_, ids, station, assign);
    if (!changed)
        return;
    form_.outcome.setCaption(std::to_string(*changed) + " Bewohner " + (assign ? "der " : "von der ") +
                             stationKey(station) + (assign ? " zugeordnet." : " entfernt."));
    reload();
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
