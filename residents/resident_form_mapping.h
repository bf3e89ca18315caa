#pragma once
// How the resident page's form shows a resident and reads one back: the names, the serial numbers and the
// access code as the fields can hold them, the apartment number another program stored (kept unless the user
// edits the field), and the ticks of the station tree.

#include <string>

#include "app/resident_table.h"

namespace pnl {

struct ResidentPageForm;

class ResidentFormMapping {
  public:
    explicit ResidentFormMapping(ResidentPageForm& form) : form_(form) {}

    // Fills the fields and the ticks from the resident.
    void show(const Resident& resident);
    // Blanks every field and unticks every station.
    void clear();
    // The resident as the form holds it, ready to be written (no ID).
    Resident read() const;
    // Changes whenever a field or a tick does: the form differs from what it showed when this differs.
    std::string state() const;

    void showStations(const StationSet& stations);
    StationSet readStations() const;

  private:
    ResidentPageForm& form_;
    // The apartment number as the table holds it and as the field shows it: another program may store one
    // that the mask cannot show, which a save without editing the field keeps unchanged.
    std::string storedApartment_;
    std::string shownApartment_;
};

}  // namespace pnl
