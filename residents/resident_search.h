#pragma once
// What the resident search of the overview and the resident page looks in: the resident's name, first name,
// apartment number and serial numbers (also as the six digits the lists show), searched with TextSearch
// (platform/collation.h).

#include <string>

namespace pnl {

struct Resident;

// Kept with the resident's row, so that a keystroke does not fold 20,000 names again.
std::string residentSearchText(const Resident& resident);

// "41 Bewohner", or "3 von 41 Bewohnern" while a search hides the others.
std::string residentCountText(int shown, int all);

}  // namespace pnl
