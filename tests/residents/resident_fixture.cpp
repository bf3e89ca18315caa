#include "resident_fixture.h"

namespace pnl::test {

ResidentFixture::ResidentFixture(const std::string& schema) {
    inst.writeFile(kSettingsCopy, std::string("[PNLXXX]\n") + kStations);
    program().settings.setFileName(inst.path(kSettingsCopy));
    std::string error;
    auto database = Database::create(inst.path(kDatabaseCopy), &error);
    if (!database || !database->exec(schema, {}, &error))
        throw std::runtime_error(error);
    program().useDatabase(std::move(database));
}

std::int64_t ResidentFixture::addRow(const std::string& name, const std::string& firstName,
                                     const std::string& apartment, DbValue serial, const std::string& trigger,
                                     DbValue code, const std::string& stations) {
    EXPECT_TRUE(
        db().exec("INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?)",
                  {name, firstName, apartment, serial, trigger, code, stations}));
    return db().lastInsertId();
}

std::string ResidentFixture::first(const std::string& sql, const std::vector<DbValue>& params) {
    const auto rows = db().query(sql, params);
    if (!rows || rows->empty())
        return "<no row>";
    std::string joined;
    for (std::size_t i = 0; i < rows->front().size(); ++i)
        joined += (i ? "|" : "") + dbText(rows->front()[i]);
    return joined;
}

void ResidentFixture::choose(const std::string& text, int nth) {
    for (int i = 0; i < form.residentChoice.count(); ++i) {
        if (form.residentChoice.items()[i].text == text && nth-- == 0) {
            form.residentChoice.setListIndex(i);
            editor.residentChosen();
            return;
        }
    }
    ADD_FAILURE() << "no entry " << text;
}

}  // namespace pnl::test
