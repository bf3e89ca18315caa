#pragma once
// The directory of a display station: one entry per resident assigned to it, the fields of the resident's
// image (name, apartment number, first and second serial number, access code), sorted by name. The station
// numbers its records in this order. The transfer sends it, the station state records it as transfer lines
// ("Müller, Anna|12|4711|0|0"), and the transfer dialog shows it.
//
// Sort order: names compare first without regard to case and accents, German style: ä, à, á, â, å sort as a,
// ö and ø as o, ü as u, é and è as e, ç as c, ß as ss, æ as ae. Names equal under that rule compare by their
// exact characters ("Muller" before "Müller", "meier" after "Meier"), and residents with identical names keep
// the order of the table. A caretaker finds "Müller" among the M's next to "Muller", not after "Zander".

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "stations/resident_image.h"

namespace pnl {

class Program;
class ResidentTable;

inline constexpr std::size_t kApartmentChars = 6;

using StationDirectory = std::vector<ImageFields>;

// Sorts entries by name in the order described above.
void sortDirectory(StationDirectory& directory);

// The sorted directory of the station (0..63): an entry for every resident assigned to it that has a name.
// The name is "Name, Vorname" trimmed and cut to 31 characters, the apartment number trimmed and cut to 6,
// both without "|" (the separator of a transfer line); without a first serial number the second one is not
// sent either. Walks the shared resident cursor from the first row and leaves it past the last.
StationDirectory StationDirectoryOf(ResidentTable& table, int station);

// "Müller, Anna|12|4711|0|0": an entry as the station state records it and the dialog lists it.
std::string transferLine(const ImageFields& entry);
std::vector<std::string> transferLines(const StationDirectory& directory);

// The directories of the stations as the resident table holds them now: each built when first asked for and
// kept until the rows change, or until forgotten (a dialog opens again, a run has ended). A directory handed
// out stays valid only until the next call: whoever pauses while using one keeps a copy.
class StationDirectories {
  public:
    explicit StationDirectories(Program& program) : program_(program) {}

    const StationDirectory& of(int station);
    void forget() { built_.clear(); }

  private:
    Program& program_;
    std::map<int, StationDirectory> built_;
    std::uint64_t generation_ = 0;  // of the working database they were built from
    std::uint64_t revision_ = 0;
};

}  // namespace pnl
