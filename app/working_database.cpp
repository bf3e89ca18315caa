#include "app/working_database.h"

#include "app/resident_table.h"

namespace pnl {

WorkingDatabase::WorkingDatabase() = default;

WorkingDatabase::~WorkingDatabase() {
    close();
}

bool WorkingDatabase::open(std::unique_ptr<Database> connection) {
    close();
    if (!connection)
        return false;
    connection_ = std::move(connection);
    residents_ = std::make_unique<ResidentTable>(*connection_);
    ++generation_;
    return residents_->bound();
}

void WorkingDatabase::close() {
    if (!connection_)
        return;
    residents_.reset();
    connection_.reset();
    ++generation_;
}

}  // namespace pnl
