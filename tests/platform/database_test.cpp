#include <gtest/gtest.h>

#include "platform/database.h"
#include "support/installation.h"

namespace pnl {
namespace {

TEST(Database, BindsValuesBacksUpAndRefusesFilesThatAreNoDatabase) {
    test::Installation inst;
    std::string error;
    EXPECT_FALSE(Database::open(inst.path("fehlt.db"), &error));
    EXPECT_FALSE(inst.exists("fehlt.db"));  // open never creates
    inst.writeFile("text.db", "Dies ist keine Datenbank, sondern ein Text mit genug Bytes für einen Kopf.");
    EXPECT_FALSE(Database::open(inst.path("text.db"), &error));
    EXPECT_FALSE(error.empty());

    auto db = Database::create(inst.path("a.db"), &error);
    ASSERT_TRUE(db) << error;
    EXPECT_FALSE(Database::create(inst.path("a.db")));
    ASSERT_TRUE(
        db->exec("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, n INTEGER, r REAL)"));
    const std::string hostile = "O'Neill'); DROP TABLE T; --";
    ASSERT_TRUE(db->exec("INSERT INTO T (Name, n, r) VALUES (?, ?, ?)", {hostile, std::int64_t{42}, 1.5}));
    EXPECT_EQ(db->lastInsertId(), 1);
    ASSERT_TRUE(db->exec("INSERT INTO T (Name) VALUES (?)", {std::string("Müller")}));
    EXPECT_FALSE(db->exec("INSERT INTO T (Name) VALUES (?)", {}, &error));  // parameter missing
    EXPECT_FALSE(db->exec("INSERT INTO T (Name) VALUES (?)", {std::string("a"), std::string("b")}));

    const auto rows = db->query("SELECT Name, n, r FROM T ORDER BY ID");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ(dbText((*rows)[0][0]), hostile);
    EXPECT_EQ(dbText((*rows)[0][1]), "42");
    EXPECT_EQ(dbText((*rows)[0][2]), "1.5");
    EXPECT_EQ(dbText((*rows)[1][0]), "Müller");
    EXPECT_EQ(dbText((*rows)[1][1]), "");
    EXPECT_FALSE(db->query("SELECT * FROM Fehlt", {}, &error));
    EXPECT_EQ(db->columns("t"), (std::vector<std::string>{"ID", "Name", "n", "r"}));
    EXPECT_TRUE(db->columns("Fehlt").empty());

    // The backup overwrites its target while the source stays open; a failed one leaves it as it was.
    inst.writeFile("copy.db", "old content");
    ASSERT_TRUE(Database::backup(inst.path("a.db"), inst.path("copy.db"), &error)) << error;
    EXPECT_FALSE(Database::backup(inst.path("text.db"), inst.path("copy.db"), &error));
    EXPECT_FALSE(Database::backup(inst.path("fehlt.db"), inst.path("copy.db"), &error));
    auto copy = Database::open(inst.path("copy.db"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->query("SELECT count(*) FROM T")->at(0).at(0), DbValue(std::int64_t{2}));
}

}  // namespace
}  // namespace pnl
