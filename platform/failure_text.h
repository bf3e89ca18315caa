#pragma once
// German sentences for the failures that the operating system and the database engine report: no English
// system or database text reaches the user.

#include <string>

namespace pnl {

// The cause behind an errno value.
std::string systemFailureText(int errnoValue);
// The cause behind an SQLite result code (primary or extended).
std::string databaseFailureText(int resultCode);
// True when the SQLite result code means that the file is damaged or no database.
bool isDamagedDatabaseCode(int resultCode);
// True when the SQLite result code means that another connection held the database longer than was waited.
bool isHeldDatabaseCode(int resultCode);

}  // namespace pnl
