#include "residents/resident_list.h"

#include <algorithm>

#include "app/program.h"
#include "platform/collation.h"
#include "residents/resident_search.h"

namespace pnl {

bool ResidentList::read(Program& program) {
    ResidentTable* table = program.residents();
    const std::uint64_t generation = program.databaseGeneration();
    const std::uint64_t revision = table ? table->revision() : 0;
    if (table && generation_ == generation && revision == revision_)
        return false;
    generation_ = generation;
    revision_ = revision;
    residents_.clear();
    searchTexts_.clear();
    std::vector<std::string> keys;
    if (table && table->count() > 0) {
        residents_.reserve(static_cast<std::size_t>(table->count()));
        for (table->moveFirst(); !table->eof(); table->moveNext()) {
            Resident resident = table->current();
            if (!resident.id)
                continue;
            // The drop-down's entry in the name mode; a resident without a name comes first.
            keys.push_back(resident.name.empty() ? std::string()
                                                 : sortKey(resident.name + ", " + resident.firstName));
            residents_.push_back(std::move(resident));
        }
    }
    // Sorting positions, not residents: each resident is moved once.
    nameOrder_.resize(residents_.size());
    for (std::size_t i = 0; i < nameOrder_.size(); ++i)
        nameOrder_[i] = i;
    std::stable_sort(nameOrder_.begin(), nameOrder_.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return true;
}

std::vector<TableList::Row> ResidentList::rows() const {
    std::vector<TableList::Row> rows;
    rows.reserve(nameOrder_.size());
    for (const std::size_t i : nameOrder_) {
        const Resident& resident = residents_[i];
        std::string name = resident.name;
        if (!resident.firstName.empty())
            name += (name.empty() ? "" : ", ") + resident.firstName;
        rows.push_back({*resident.id,
                        {std::move(name), resident.apartment,
                         resident.serial ? std::to_string(*resident.serial) : std::string()}});
    }
    return rows;
}

std::vector<int> ResidentList::matching(const std::string& typed) {
    const TextSearch search(typed);
    if (!search.empty() && searchTexts_.size() != nameOrder_.size()) {
        searchTexts_.reserve(nameOrder_.size());
        for (const std::size_t i : nameOrder_)
            searchTexts_.push_back(residentSearchText(residents_[i]));
    }
    std::vector<int> rows;
    for (std::size_t row = 0; row < nameOrder_.size(); ++row)
        if (search.empty() || search.matches(searchTexts_[row]))
            rows.push_back(static_cast<int>(row));
    return rows;
}

}  // namespace pnl
