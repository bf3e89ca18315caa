// The shared resident cursor over table BEWOHNER, and how its columns are encoded.

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

TEST(ResidentTable, FindsOnlyWhatItIsAskedAndKeepsItsCursorAcrossWrites) {
    ResidentFixture f;
    ResidentTable& t = f.table();
    const auto oneill = f.addRow("O'Neill", "Sean", "7", std::int64_t{4711});
    const auto empty = f.addRow("", "", "", DbValue{}, "", DbValue{}, "");
    ASSERT_EQ(t.count(), 2);
    EXPECT_TRUE(t.findNameEntryAndId("O'Neill, Sean", oneill));
    // A quote can never change the query: no match, and the cursor stays on O'Neill.
    EXPECT_FALSE(t.findNameEntryAndId("x' OR '1'='1", oneill));
    EXPECT_TRUE(t.noMatch());
    EXPECT_EQ(t.value("vorname"), "Sean");           // a column name in any case
    EXPECT_FALSE(t.findApartmentAndId("7", empty));  // O'Neill's apartment under another ID
    EXPECT_TRUE(t.findId(empty));
    EXPECT_FALSE(t.noMatch());
    EXPECT_EQ(t.value("sernr"), "");      // NULL reads as empty
    EXPECT_EQ(t.value("Bemerkung"), "");  // a column the program does not name is never read

    // An insert with the cursor past the last row leaves it there: no later update lands on the new row.
    t.moveNext();
    ASSERT_TRUE(t.eof());
    const auto inserted = t.insert(row("Zander", 5000));
    ASSERT_TRUE(inserted.written && inserted.id);
    EXPECT_TRUE(t.eof());
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    // Delete: no row is current until the next move, which goes on with the row that followed.
    ASSERT_TRUE(t.findId(empty));
    ASSERT_TRUE(t.deleteCurrent());
    EXPECT_EQ(t.value("Name"), "");
    EXPECT_FALSE(t.update(row("Nobody", 1)));
    t.moveNext();
    EXPECT_EQ(t.value("ID"), std::to_string(*inserted.id));
    EXPECT_EQ(f.first("SELECT group_concat(Name) FROM BEWOHNER"), "O'Neill,Zander");
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
    EXPECT_EQ(t.value("Name") + "|" + t.value("WNR") + "|" + t.value("sernr"), "Kraus|B7|17");
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

TEST(ResidentTable, NumbersRowsOfAnIdColumnThatIsNotTheRowNumberAndIgnoresAMissingTable) {
    ResidentFixture f(kPlainIdSchema);
    ASSERT_TRUE(f.db().exec("INSERT INTO BEWOHNER (ID, Name) VALUES (41, 'Alt')"));
    const auto inserted = f.table().insert(row("Neu", 5));
    ASSERT_TRUE(inserted.id);
    EXPECT_EQ(*inserted.id, 42);
    EXPECT_TRUE(f.table().findId(42));
    EXPECT_EQ(f.table().value("Name"), "Neu");
    EXPECT_EQ(f.first("SELECT count(*) FROM sqlite_master WHERE type = 'index'"), "0");  // nor for this ID

    ResidentFixture none("CREATE TABLE ANDERE (x TEXT)");
    EXPECT_FALSE(none.table().bound());
    EXPECT_EQ(none.table().count(), 0);
    EXPECT_FALSE(none.table().findId(1));
    EXPECT_FALSE(none.table().insert(row("Neu", 5)).written);
}

TEST(ResidentFields, StationAssignmentIsSixtyFourCharactersFromTheLeft) {
    EXPECT_EQ(encodeStations(StationSet{}.set(0).set(63)), "1" + std::string(62, '0') + "1");
    EXPECT_EQ(encodeStations(StationSet{}), std::string(64, '0'));
    const std::pair<std::string, StationSet> decoded[] = {
        {"0000000001", StationSet{}.set(9)},  // ten characters
        {"", StationSet{}},
        {"    ", StationSet{}},
        {"01" + std::string(62, '0') + "1111", StationSet{}.set(1)},  // beyond 63: ignored
        {" 1", StationSet{}.set(1)},  // positions count as stored: a leading blank does not shift station 1
        {stationsWith({5, 12}), StationSet{}.set(5).set(12)},
    };
    for (const auto& [stored, stations] : decoded)
        EXPECT_EQ(decodeStations(stored), stations) << stored;
}

TEST(ResidentFields, SecondSerialNumberAndAccessCode) {
    EXPECT_EQ(encodeSecondSerial(""), ",,000000");
    EXPECT_EQ(encodeSecondSerial("4711"), ",,004711");
    EXPECT_EQ(encodeSecondSerial("0"), ",,000000");
    const std::pair<std::string, int> seconds[] = {
        {",,000000", 0}, {",,004711", 4711}, {"", 0}, {"12,34", 0}, {",,abc", 0}, {"x,y,999999,z", 999999}};
    for (const auto& [stored, serial] : seconds)
        EXPECT_EQ(decodeSecondSerial(stored), serial) << stored;
    const std::pair<std::string, int> codes[] = {{"0", 0}, {"10000", 0},   {"-5", 0},
                                                 {"", 0},  {"9999", 9999}, {"1", 1}};
    for (const auto& [stored, code] : codes)
        EXPECT_EQ(decodeCode(stored), code) << stored;
}

TEST(ResidentFields, NamesAreCleanedTrimmedAndCutToFiftyCharacters) {
    EXPECT_EQ(storedName("  Meier  "), "Meier");
    EXPECT_EQ(storedName(std::string(30, 'a') + std::string(30, 'b')),
              std::string(30, 'a') + std::string(20, 'b'));
    EXPECT_EQ(
        storedName(
            "üüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüü"),  // 60: cut to 50, not bytes
        "üüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüü");
    EXPECT_EQ(cleanText("Anna\r\nMaria\t"), "Anna  Maria");
    EXPECT_EQ(cleanText("M\xfcller"), "Müller");     // a Latin-1 byte becomes its character
    EXPECT_EQ(cleanText("a\x7f\xc2\x85z"), "a  z");  // DEL and the C1 control NEL
    EXPECT_EQ(cleanText("\xed\xa0\x80x"), "x");      // an encoded surrogate is no character
    EXPECT_EQ(cleanText("Schmidt|Meier"), "Schmidt|Meier");
    EXPECT_EQ(listedSerial(4711), "004711");
    EXPECT_EQ(listedSerial(999999), "999999");
    EXPECT_EQ(listedSerial(1234567), "1234567");  // never cut to a different number
}

}  // namespace pnl::test
