#include <gtest/gtest.h>

#include "resident_fixture.h"

namespace pnl::test {

namespace {

// A table made by another program: 16 columns, the program's seven under other cases and in another order,
// nine columns of its own, no PNL column.
constexpr const char* kForeignSchema =
    "CREATE TABLE bewohner (Etage TEXT, \"NAME\" TEXT, Telefon TEXT, id INTEGER PRIMARY KEY, SERNR INTEGER, "
    "wnr TEXT, VORNAME TEXT, Haus TEXT, Ausloesung TEXT, CODE INTEGER, Sprache TEXT DEFAULT 'de', "
    "Gruppe TEXT, Aktiv INTEGER DEFAULT 1, Bemerkung TEXT, Klartext TEXT, Anrede TEXT)";

ResidentRow row(const std::string& name, std::int64_t serial) {
    return {name, "Eva", "12", serial, ",,000000", 0, stationsWith({})};
}

}  // namespace

TEST(ResidentTable, WalksFindsAndWritesInTableOrder) {
    ResidentFixture f;
    ResidentTable& t = f.table();
    EXPECT_TRUE(t.bound());
    EXPECT_EQ(t.count(), 0);
    t.moveFirst();
    EXPECT_TRUE(t.eof());

    // Rows added behind the cursor's back are seen at the next count.
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    const auto oneill = f.addRow("O'Neill", "Sean", "7", std::int64_t{4711});
    const auto empty = f.addRow("", "", "", DbValue{}, "", DbValue{}, "");
    ASSERT_EQ(t.count(), 3);
    std::vector<std::string> names;
    for (t.moveFirst(); !t.eof(); t.moveNext())
        names.push_back(t.value("name"));  // any case
    EXPECT_EQ(names, (std::vector<std::string>{"Meier", "O'Neill", ""}));

    EXPECT_TRUE(t.findSerial(4711));
    EXPECT_EQ(t.value("ID"), std::to_string(meier));  // the first in table order
    EXPECT_TRUE(t.findNameAndId("O'Neill", oneill));
    EXPECT_EQ(t.value("Vorname"), "Sean");
    // A quote can never change the query: no match, and the cursor stays on O'Neill.
    EXPECT_FALSE(t.findNameAndId("x' OR '1'='1", oneill));
    EXPECT_TRUE(t.noMatch());
    EXPECT_EQ(t.value("Name"), "O'Neill");
    EXPECT_TRUE(t.findApartmentAndId("12", meier));
    EXPECT_FALSE(t.findApartmentAndId("12", oneill));
    EXPECT_TRUE(t.findSerialAndId(4711, oneill));
    EXPECT_TRUE(t.findNameEntryAndId("O'Neill, Sean", oneill));
    EXPECT_TRUE(t.findId(empty));
    EXPECT_FALSE(t.noMatch());
    EXPECT_EQ(t.value("sernr"), "");      // NULL reads as empty
    EXPECT_EQ(t.value("Bemerkung"), "");  // a column the program does not name is never read
    EXPECT_EQ(f.rowCount(), 3);

    // Insert: the database's ID; the cursor stays on its row; other columns keep their defaults.
    const auto inserted = t.insert(row("Zander", 5000));
    ASSERT_TRUE(inserted.written && inserted.id);
    EXPECT_GT(*inserted.id, empty);
    EXPECT_EQ(t.value("ID"), std::to_string(empty));
    EXPECT_EQ(f.column(*inserted.id, "Name, Bemerkung, Aktiv"), "Zander|frei|1");
    EXPECT_EQ(t.count(), 4);

    // Update touches the program's columns only.
    ASSERT_TRUE(f.db().exec("UPDATE BEWOHNER SET Bemerkung = 'Rollstuhl' WHERE ID = ?", {meier}));
    ASSERT_TRUE(t.findId(meier));
    ASSERT_TRUE(t.update(row("Meyer", 4712)));
    EXPECT_EQ(f.column(meier, "Name, sernr, Bemerkung"), "Meyer|4712|Rollstuhl");
    EXPECT_EQ(t.value("Name"), "Meyer");

    // Delete: no row is current until the next move, which goes on with the row that followed.
    ASSERT_TRUE(t.findId(oneill));
    ASSERT_TRUE(t.deleteCurrent());
    EXPECT_EQ(t.value("Name"), "");
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    t.moveNext();
    EXPECT_EQ(t.value("ID"), std::to_string(empty));
    EXPECT_EQ(f.rowCount(), 3);
    EXPECT_EQ(t.count(), 3);

    // Binding adds nothing to the schema: the file goes back into the shared database at a commit.
    EXPECT_EQ(f.first("SELECT count(*) FROM sqlite_master WHERE type = 'index'"), "0");
}

TEST(ResidentTable, SeesAnotherConnectionAndADeletedRowStaysGoneAcrossAChangeOfTheTable) {
    ResidentFixture f;
    const auto meier = f.addRow("Meier", "Anna", "12", std::int64_t{4711});
    const auto kraus = f.addRow("Kraus", "Otto", "14", std::int64_t{5000});
    ResidentTable& t = f.table();
    ASSERT_EQ(t.count(), 2);
    auto other = Database::open(f.inst.path(kDatabaseCopy));
    ASSERT_TRUE(other->exec("INSERT INTO BEWOHNER (Name, sernr) VALUES ('Lang', 99)"));
    EXPECT_EQ(t.count(), 3);
    EXPECT_TRUE(t.findSerial(99));
    EXPECT_EQ(t.value("Name"), "Lang");

    ASSERT_TRUE(t.findId(meier));
    ASSERT_TRUE(t.deleteCurrent());
    // Another program adds a column: the cursor reads the table again, and still no row is current.
    ASSERT_TRUE(other->exec("ALTER TABLE BEWOHNER ADD COLUMN Extra TEXT"));
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.value("Name"), "");
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    EXPECT_EQ(f.column(kraus, "Name"), "Kraus");
    t.moveNext();
    EXPECT_EQ(t.value("ID"), std::to_string(kraus));
}

TEST(ResidentTable, WorksOnAForeignSixteenColumnTableWithNulls) {
    ResidentFixture f(kForeignSchema);
    ASSERT_TRUE(
        f.db().exec("INSERT INTO bewohner (Etage, NAME, SERNR, wnr, Bemerkung) VALUES (3, 'Kraus', 17, "
                    "'B7', 'Hund')"));
    ASSERT_TRUE(f.db().exec("INSERT INTO bewohner (Etage) VALUES (1)"));  // NULL in every program column
    ResidentTable& t = f.table();
    ASSERT_TRUE(t.bound());
    ASSERT_EQ(t.count(), 2);
    t.moveFirst();
    EXPECT_EQ(t.value("Name"), "Kraus");
    EXPECT_EQ(t.value("WNR"), "B7");
    EXPECT_EQ(t.value("sernr"), "17");
    EXPECT_EQ(t.value("Pnl"), "");  // the table has no such column
    t.moveNext();
    for (const char* c : {"ID", "Name", "Vorname", "Wnr", "sernr", "AUSLOESUNG", "code", "PNL"})
        EXPECT_EQ(t.value(c), c == std::string("ID") ? "2" : "") << c;

    // Writes leave the other program's columns alone and skip the missing PNL.
    ASSERT_TRUE(t.findSerial(17));
    ASSERT_TRUE(t.update(row("Krause", 18)));
    EXPECT_EQ(f.first("SELECT Etage, Bemerkung, NAME, VORNAME FROM bewohner WHERE id = 1"),
              "3|Hund|Krause|Eva");
    const auto inserted = t.insert(row("Neu", 19));
    ASSERT_TRUE(inserted.id);
    EXPECT_EQ(*inserted.id, 3);
    EXPECT_EQ(f.first("SELECT Sprache, Aktiv FROM bewohner WHERE id = 3"), "de|1");

    // The start-up adds PNL to a 16-column table: the bound cursor picks it up.
    ASSERT_TRUE(f.db().exec("ALTER TABLE bewohner ADD COLUMN PNL VARCHAR(100)"));
    ASSERT_TRUE(t.findId(3));
    ResidentRow assigned = row("Neu", 19);
    assigned.stations = stationsWith({0});
    ASSERT_TRUE(t.update(assigned));
    EXPECT_EQ(f.first("SELECT PNL FROM bewohner WHERE id = 3"), assigned.stations);
    EXPECT_EQ(t.value("pnl"), assigned.stations);
}

TEST(ResidentTable, NumbersRowsOfAnIdColumnThatIsNotTheRowNumber) {
    ResidentFixture f(kPlainIdSchema);
    ASSERT_TRUE(f.db().exec("INSERT INTO BEWOHNER (ID, Name) VALUES (41, 'Alt')"));
    const auto inserted = f.table().insert(row("Neu", 5));
    ASSERT_TRUE(inserted.id);
    EXPECT_EQ(*inserted.id, 42);
    EXPECT_TRUE(f.table().findId(42));
    EXPECT_EQ(f.table().value("Name"), "Neu");
    EXPECT_EQ(f.first("SELECT count(*) FROM sqlite_master WHERE type = 'index'"), "0");  // nor for this ID
}

TEST(ResidentTable, AMissingTableIsAnEmptyUnboundTable) {
    ResidentFixture f("CREATE TABLE ANDERE (x TEXT)");
    EXPECT_FALSE(f.table().bound());
    EXPECT_EQ(f.table().count(), 0);
    EXPECT_FALSE(f.table().findId(1));
    EXPECT_FALSE(f.table().insert(row("Neu", 5)).written);
}

}  // namespace pnl::test
