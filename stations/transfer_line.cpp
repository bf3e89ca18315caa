#include "stations/transfer_line.h"

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

std::string firstColumn(const std::string& line) {
    return line.substr(0, line.find('|'));
}

}  // namespace

bool assignedTo(const std::string& assignment, int station) {
    return station >= 0 && static_cast<std::size_t>(station) < assignment.size() &&
           assignment[station] == '1';
}

std::optional<std::string> TransferLine(Program& program, const ResidentColumns& row) {
    const std::string name = stationName(row.name, row.firstName);
    if (name.empty())
        return std::nullopt;

    const std::string apartment = leftChars(trim(withoutBars(row.apartment)), kApartmentChars);

    std::int64_t firstSerial = 0;
    std::int64_t secondSerial = 0;
    if (!row.serial.empty()) {
        firstSerial = leadingNumber(row.serial);
        FieldOf(program, row.trigger);
        secondSerial = leadingNumber(program.fieldTable[2]);
    }

    std::int64_t code = row.code.empty() ? 0 : leadingNumber(row.code);
    if (code < 0 || code > kMaxAccessCode)
        code = 0;

    return name + "|" + apartment + "|" + std::to_string(firstSerial) + "|" + std::to_string(secondSerial) +
           "|" + std::to_string(code);
}

ImageFields splitTransferLine(Program& program, const std::string& line) {
    program.fieldTable.split(line, '|');
    const ValueFields& f = program.fieldTable;
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
        if (!assignedTo(table->value("PNL"), station))
            continue;
        const ResidentColumns row{table->value("Name"),  table->value("Vorname"),    table->value("Wnr"),
                                  table->value("sernr"), table->value("AUSLOESUNG"), table->value("code")};
        if (auto line = TransferLine(program, row))
            lines.push_back(std::move(*line));
    }
    sortTransferLines(lines);
    transferList.setLines(std::move(lines));
}

}  // namespace pnl
