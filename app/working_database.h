#pragma once
// The connection on the database working copy and the one resident cursor on it. The cursor is made from the
// connection and always closed before it, whoever closes them and however the program ends.

#include <cstdint>
#include <memory>

#include "platform/database.h"

namespace pnl {

class ResidentTable;

class WorkingDatabase {
  public:
    WorkingDatabase();
    ~WorkingDatabase();
    WorkingDatabase(const WorkingDatabase&) = delete;
    WorkingDatabase& operator=(const WorkingDatabase&) = delete;

    // Closes what is open, takes the connection (none: stays closed) and binds the resident cursor on it;
    // false when there is no connection or its table cannot be bound.
    bool open(std::unique_ptr<Database> connection);
    void close();

    // Nothing while closed.
    Database* connection() const { return connection_.get(); }
    ResidentTable* residents() const { return residents_.get(); }
    // Changes with every open and close: what was built from an earlier cursor is out of date.
    std::uint64_t generation() const { return generation_; }

  private:
    std::unique_ptr<Database> connection_;
    std::unique_ptr<ResidentTable> residents_;
    std::uint64_t generation_ = 0;
};

}  // namespace pnl
