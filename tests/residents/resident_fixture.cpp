#include "resident_fixture.h"

#include <gtest/gtest.h>

namespace pnl::test {

ResidentFixture::ResidentFixture(const std::string& schema, const std::string& stations) {
    inst.writeFile(kSettingsCopy, "[PNLXXX]\n" + stations);
    program().InitX.setFileName(inst.path(kSettingsCopy));
    std::string error;
    program().DataBewo = Database::create(inst.path(kDatabaseCopy), &error);
    if (!program().DataBewo)
        throw std::runtime_error(error);
    if (!db().exec(schema, {}, &error))
        throw std::runtime_error(error);
    program().residents = std::make_shared<ResidentTable>(db());
}

std::int64_t ResidentFixture::addRow(const std::string& name, const std::string& firstName,
                                     const std::string& apartment, DbValue serial, const std::string& trigger,
                                     DbValue code, const std::string& stations) {
    std::string error;
    EXPECT_TRUE(
        db().exec("INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?)",
                  {name, firstName, apartment, serial, trigger, code, stations}, &error))
        << error;
    return db().lastInsertId();
}

std::string ResidentFixture::column(std::int64_t id, const std::string& name) {
    const auto rows = db().query("SELECT \"" + name + "\" FROM BEWOHNER WHERE ID = ?", {id});
    if (!rows || rows->empty())
        return "<no row>";
    return dbText(rows->front().at(0));
}

std::int64_t ResidentFixture::rowCount() {
    const auto rows = db().query("SELECT count(*) FROM BEWOHNER");
    return rows ? std::get<std::int64_t>(rows->front().at(0)) : -1;
}

std::vector<std::string> ResidentFixture::entries() const {
    std::vector<std::string> texts;
    for (const auto& item : form.CboBewo.items())
        texts.push_back(item.text);
    return texts;
}

void ResidentFixture::choose(const std::string& text, int nth) {
    for (int i = 0; i < form.CboBewo.count(); ++i) {
        if (form.CboBewo.items()[i].text == text && nth-- == 0) {
            form.CboBewo.setListIndex(i);
            editor.CboBewo_Click();
            return;
        }
    }
    ADD_FAILURE() << "no entry " << text;
}

void ResidentFixture::type(const std::string& name, const std::string& firstName,
                           const std::string& apartment, const std::string& serial,
                           const std::string& secondSerial, const std::string& code) {
    form.TxtBWName.setText(name);
    form.TxtBWVorn.setText(firstName);
    EXPECT_TRUE(form.TxtBWWNr.setText(apartment));
    EXPECT_TRUE(form.TxtBWSnr.setText(serial));
    EXPECT_TRUE(form.txtBwtSnr.setText(secondSerial));
    EXPECT_TRUE(form.TxtBWCode.setText(code));
}

std::vector<std::string> ResidentFixture::logTexts() const {
    return inst.logTexts();
}

}  // namespace pnl::test
