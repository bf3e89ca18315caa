#include "bench_residents.h"

#include <random>

#include "app/resident_table.h"
#include "app/text.h"

namespace pnl::bench {

void fillResidents(test::Installation& inst, const std::string& stations, int count, int stationChoices) {
    Program& program = *inst.program;
    inst.writeFile(kSettingsCopy, "[PNLXXX]\n" + stations + "[Berechtigungen]\n");
    program.settings.setFileName(inst.path(kSettingsCopy));
    auto database = Database::create(inst.path(kDatabaseCopy));
    Database& db = *database;
    db.exec(
        "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50), "
        "Vorname VARCHAR(50), Wnr VARCHAR(8), sernr INTEGER, AUSLOESUNG VARCHAR(50), code INTEGER, "
        "Anrede TEXT, Klartext TEXT, Etage TEXT, Haus TEXT, Telefon TEXT, Sprache TEXT, Gruppe TEXT, "
        "Aktiv INTEGER, Bemerkung TEXT, PNL VARCHAR(100))");
    std::mt19937 random(4711);
    DatabaseTransaction transaction(db);
    for (int i = 0; i < count; ++i) {
        std::string assigned(64, '0');
        assigned[random() % static_cast<unsigned>(stationChoices)] = '1';
        db.exec(
            "INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL, Bemerkung) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            {"Müller-Bewohner " + zeroPadded(random() % 100000, 5), std::string("Françoise"),
             "W" + zeroPadded(i, 5), std::int64_t(i + 1), std::string(",,000000"),
             std::int64_t(random() % 10000), assigned, std::string("Bemerkung des anderen Programms")});
    }
    transaction.commit();
    program.useDatabase(std::move(database));
}

}  // namespace pnl::bench
