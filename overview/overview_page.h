#pragma once
// The logic of the page "Bewohnerübersicht": it loads the residents for the table, sets the stations of the
// chosen residents, writes the export and runs the import. The choice of station, of a file and the import
// preview are the window's; it hands their answers in here.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/overview_page.h"
#include "overview/resident_import.h"
#include "overview/resident_overview.h"

namespace pnl {

class Program;

class OverviewPage {
  public:
    OverviewPage(Program& program, OverviewPageForm& form) : program_(program), form_(form) {}

    // The page is shown: every resident is read anew, the buttons follow the level's rights.
    void Open();
    const Overview& overview() const { return overview_; }
    // Where the file dialogs of export and import start.
    const std::string& folder() const;

    // The table shows `shown` of the residents (the search filters the rest).
    void ShowCount(int shown);

    // The marked residents get (or lose) the station, in one transaction; the rows change in place, so the
    // table keeps its marking. The outcome says how many changed and how many were so already.
    void SetStation(const std::vector<std::int64_t>& ids, int station, bool assign);
    // A tick box of the table: the row's resident gets (or loses) the station, in a transaction of its own.
    void TickStation(std::size_t row, int station, bool assign);
    // The level may assign stations: the buttons and the ticks work.
    bool mayAssign() const;

    void Export(const std::string& path);
    ImportPreview PreviewImport(const std::string& path);
    // Writes the previewed rows; false when nothing was written (a box said why, or the user did not agree to
    // a column of a station that is not set up).
    bool Import(const ImportPreview& preview, bool removeMissing);

    // Runs after the residents were read anew (the window's table model resets then).
    std::function<void()> reloaded;
    // Runs after the rows first to last (in the overview's order) changed in place.
    std::function<void(std::size_t first, std::size_t last)> rowsChanged;

  private:
    void reload();
    // The changed residents' rows take the assignment that was written.
    void applyChange(const StationChange& change, int station, bool assign);
    // "PNL02 Tiefgarage".
    std::string stationName(int station) const;

    Program& program_;
    OverviewPageForm& form_;
    Overview overview_;
};

}  // namespace pnl
