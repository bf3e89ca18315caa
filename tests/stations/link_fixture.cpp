#include "link_fixture.h"

#include <gtest/gtest.h>

#include "app/resident_table.h"
#include "app/text.h"

namespace pnl::test {

LinkFixture::LinkFixture() {
    writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Haupteingang,123456,,FALSE");
}

void LinkFixture::writeSettings(const std::string& interfaces, const std::string& stations) {
    inst.writeFile(kSettingsCopy, "[Schnittstellen]\n" + interfaces + "\n[PNLXXX]\n" + stations + "\n");
    program().settings.setFileName(inst.path(kSettingsCopy));
}

void LinkFixture::createResidents() {
    auto database = Database::create(inst.path(kDatabaseCopy));
    ASSERT_TRUE(database);
    // A test database need not survive a power cut: no waiting for the disk.
    database->exec("PRAGMA synchronous = OFF");
    ASSERT_TRUE(database->exec(
        "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY AUTOINCREMENT, Anrede TEXT, Name TEXT, Vorname TEXT, "
        "Wnr TEXT, sernr INTEGER, AUSLOESUNG TEXT, code INTEGER, Etage TEXT, PNL VARCHAR(100))"));
    program().useDatabase(std::move(database));
}

void LinkFixture::addResident(const std::string& name, const std::string& firstName,
                              const std::string& apartment, DbValue serial, const std::string& trigger,
                              DbValue code, const std::string& stations) {
    ASSERT_TRUE(
        program().database()->exec("INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                                   {name, firstName, apartment, serial, trigger, code, stations}));
}

void LinkFixture::addResidentsOf(int station, int count) {
    std::string stations(64, '0');
    stations[station] = '1';
    for (int i = 1; i <= count; ++i)
        addResident("Bewohner " + zeroPadded(i, 3), "", std::to_string(i), std::int64_t{100000 + i},
                    ",,000000", std::int64_t{0}, stations);
}

bool LinkFixture::anyTicked() const {
    for (const auto& node : form.stationTree.nodes())
        if (node.checked)
            return true;
    return false;
}

std::string framed(const std::string& text) {
    return "\x01" + text + "\x04";
}

}  // namespace pnl::test
