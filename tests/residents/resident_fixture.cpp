#include "resident_fixture.h"

namespace pnl::test {

ResidentFixture::ResidentFixture(const std::string& schema) {
    inst.writeFile(kSettingsCopy, std::string("[PNLXXX]\n") + kStations);
    program().InitX.setFileName(inst.path(kSettingsCopy));
    std::string error;
    program().DataBewo = Database::create(inst.path(kDatabaseCopy), &error);
    if (!program().DataBewo || !db().exec(schema, {}, &error))
        throw std::runtime_error(error);
    program().residents = std::make_shared<ResidentTable>(db());
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

std::string ResidentFixture::ticked() const {
    std::string keys;
    for (const auto& node : form.TrVwPNL.nodes())
        if (node.checked)
            keys += (keys.empty() ? "" : " ") + node.key;
    return keys;
}

void ResidentFixture::expectLastBox(const Message& expected) const {
    ASSERT_FALSE(inst.dialogs.shown.empty());
    const Message& box = inst.dialogs.last();
    EXPECT_EQ(box.text, expected.text);
    EXPECT_EQ(box.title, expected.title);
    EXPECT_EQ(box.icon, expected.icon);
    EXPECT_EQ(box.buttons, expected.buttons);
    EXPECT_EQ(box.defaultAnswer, expected.defaultAnswer);
}

}  // namespace pnl::test
