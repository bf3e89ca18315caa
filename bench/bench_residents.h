#pragma once
// The working copies of a benchmark installation: a settings file with the given stations and a resident
// table of the other program's 16 columns plus the station column, filled with `count` residents with
// distinct serial numbers, each assigned to one of the first `stationChoices` stations.

#include <string>

#include "support/installation.h"

namespace pnl::bench {

void fillResidents(test::Installation& inst, const std::string& stations, int count, int stationChoices);

}  // namespace pnl::bench
