#pragma once
// The line "Anzeige an der PNL:" of the resident page: the name in the fields as the ticked stations will
// show it, with dropped characters and the cut marked. It follows every change of the name fields and the
// ticks.

#include <vector>

#include "app/station_records.h"

namespace pnl {

class Program;
struct ResidentPageForm;

class DisplayLine {
  public:
    DisplayLine(Program& program, ResidentPageForm& form);
    ~DisplayLine();
    DisplayLine(const DisplayLine&) = delete;
    DisplayLine& operator=(const DisplayLine&) = delete;

    void update();

  private:
    Program& program_;
    ResidentPageForm& form_;
    std::vector<StationRecord> stations_;  // read again whenever the station tree changes
    int nameHandle_, firstNameHandle_, treeHandle_;
};

}  // namespace pnl
