// pnl-hold-database FILE: another program on the same PC that keeps an SQLite database open through one
// connection for as long as it runs. It reads requests from standard input, one a line, and answers each with
// one line: "read" the apartment number of O'Neill, "hold" begins a read and keeps the database locked (ok),
// "release" ends it (ok); "?" when a request fails.

#include <iostream>
#include <string>

#include "platform/database.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Aufruf: pnl-hold-database DATEI\n";
        return 2;
    }
    const auto db = pnl::Database::open(argv[1]);
    for (std::string request; std::getline(std::cin, request);) {
        std::string answer = "?";
        if (db && request == "read") {
            const auto rows = db->query("SELECT Wnr FROM BEWOHNER WHERE Name = 'O''Neill'");
            if (rows && !rows->empty())
                answer = pnl::dbText(rows->at(0).at(0));
        } else if (db && request == "hold") {
            if (db->exec("BEGIN") && db->query("SELECT count(*) FROM BEWOHNER"))
                answer = "ok";
        } else if (db && request == "release") {
            if (db->exec("COMMIT"))
                answer = "ok";
        }
        std::cout << answer << std::endl;
    }
    return db ? 0 : 1;
}
