// The platform layer on real files and timers: the event loop, sorted lists, the log cipher, the database,
// the folder that the commit works through and the INI files shared with the other program.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "platform/cipher.h"
#include "platform/database.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/poll_event_loop.h"
#include "support/installation.h"

namespace pnl {
namespace {

using std::chrono::milliseconds;

TEST(PollEventLoop, TimersFireInDueOrderAndRepeatUntilStopped) {
    PollEventLoop loop;
    std::vector<std::string> fired;
    loop.startTimer(milliseconds(30), false, [&] { fired.push_back("late"); });
    loop.startTimer(milliseconds(5), false, [&] { fired.push_back("early"); });
    loop.startTimer(milliseconds(5), false, [&] { fired.push_back("early, started second"); });
    int ticks = 0;
    int repeating = 0;
    repeating = loop.startTimer(milliseconds(2), true, [&] {
        if (++ticks == 3)
            loop.stopTimer(repeating);
    });
    const int stopped = loop.startTimer(milliseconds(1), false, [&] { fired.push_back("stopped"); });
    loop.stopTimer(stopped);

    loop.processEventsUntil([&] { return fired.size() == 3 && ticks >= 3; });  // ticks lag on a busy machine
    EXPECT_EQ(fired, (std::vector<std::string>{"early", "early, started second", "late"}));
    EXPECT_EQ(ticks, 3);

    // Nothing left that could end the wait: it returns instead of hanging.
    loop.processEventsUntil([] { return false; });
}

std::vector<std::string> texts(const ComboBox& list) {
    std::vector<std::string> out;
    for (const auto& item : list.items())
        out.push_back(item.text);
    return out;
}

TEST(SortedList, ReadsInGermanDictionaryOrderWhetherFilledAtOnceOrOneByOne) {
    const std::vector<std::string> names = {"Zander, Paul", "de Vries, Jan", "Özdemir, Ayşe", "Abel, Tom",
                                            "Ärger, Kai",   "Straße, Eva",   "Strasse, Eva",  "abel, Tom"};
    const std::vector<std::string> expected = {"Abel, Tom",     "abel, Tom",     "Ärger, Kai",
                                               "de Vries, Jan", "Özdemir, Ayşe", "Strasse, Eva",
                                               "Straße, Eva",   "Zander, Paul"};

    ComboBox oneByOne(true);
    std::vector<ComboBox::Item> items;
    for (const auto& name : names) {
        oneByOne.addItem(name);
        items.push_back({name, 0});
    }
    EXPECT_EQ(texts(oneByOne), expected);
    ComboBox atOnce(true);
    atOnce.setItems(items);
    EXPECT_EQ(texts(atOnce), expected);

    // Zero-padded serial numbers sort by value; equal texts keep the order they came in (each with its row).
    ComboBox serials(true);
    serials.addItem("012345", 1);
    serials.addItem("004711", 2);
    serials.addItem("004711", 3);
    EXPECT_EQ(texts(serials), (std::vector<std::string>{"004711", "004711", "012345"}));
    EXPECT_EQ(serials.itemData(0), 2);
    EXPECT_EQ(serials.itemData(1), 3);
}

constexpr const char* kKey = "07145226318";

TEST(Cipher, RoundTripsInIniSafeCharactersWithAFreshNonce) {
    for (const std::string& plain :
         {std::string(), std::string("TRUE,123456,P"),
          std::string("09:30:00  Bewohnerdatensatz: Müller, O'Neill; a=b [x]\r\n"), std::string(5000, 'x')}) {
        const std::string sealed = cEncrypt(plain, kKey);
        EXPECT_EQ(
            sealed.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
            std::string::npos);
        EXPECT_EQ(cDecrypt(sealed, kKey), plain);
    }
    EXPECT_EQ(cEncrypt("", kKey).size(), 54u);  // nonce and tag
    EXPECT_NE(cEncrypt("TRUE,123456,P", kKey), cEncrypt("TRUE,123456,P", kKey));
}

TEST(Cipher, RefusesTamperedForeignAndGarbageTexts) {
    const std::string sealed = cEncrypt("TRUE,123456,P", kKey);
    EXPECT_FALSE(cDecrypt(sealed, "07145226319"));
    for (std::size_t i = 0; i < sealed.size(); i += 7) {
        std::string tampered = sealed;
        tampered[i] = tampered[i] == 'A' ? 'B' : 'A';
        EXPECT_FALSE(cDecrypt(tampered, kKey)) << "position " << i;
    }
    for (const std::string& garbage : {sealed.substr(0, sealed.size() - 1), sealed + "A", sealed + "\r",
                                       std::string(), std::string("TRUE,123456,P"), std::string("AAAA")})
        EXPECT_FALSE(cDecrypt(garbage, kKey)) << garbage;
}

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
    std::vector<std::string> cells;
    for (const auto& row : *rows)
        cells.insert(cells.end(), {dbText(row[0]), dbText(row[1]), dbText(row[2])});
    EXPECT_EQ(cells, (std::vector<std::string>{hostile, "42", "1.5", "Müller", "", ""}));
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

    // The content digest tells contents apart, not files: a copy has the original's, a changed value another.
    const auto digest = Database::contentDigest(inst.path("a.db"));
    ASSERT_TRUE(digest);
    EXPECT_EQ(digest->size(), 64u);
    EXPECT_EQ(Database::contentDigest(inst.path("copy.db")), digest);
    ASSERT_TRUE(copy->exec("UPDATE T SET n = 43 WHERE ID = 1"));
    EXPECT_NE(Database::contentDigest(inst.path("copy.db")), digest);
}

TEST(FileSystem, WritesCopiesAppendsAndDeletes) {
    test::Installation inst;
    PosixFileSystem& fs = inst.fs;
    const std::string a = inst.path("a.txt");
    EXPECT_FALSE(fs.fileExists(a));
    EXPECT_FALSE(fs.readFile(a));
    ASSERT_TRUE(fs.writeFileAtomic(a, std::string("eins\0zwei", 9)));
    EXPECT_EQ(fs.readFile(a), std::string("eins\0zwei", 9));
    ASSERT_TRUE(fs.writeFileAtomic(a, "kurz"));
    ASSERT_TRUE(fs.copyFile(a, inst.path("b.txt")));
    EXPECT_FALSE(fs.copyFile(inst.path("fehlt"), inst.path("b.txt")));
    EXPECT_EQ(inst.readFile("b.txt"), "kurz");

    EXPECT_FALSE(fs.appendLine(inst.path("log/x.log"), "ohne Ordner"));  // never creates the folder
    EXPECT_FALSE(fs.folderExists(inst.path("log")));
    ASSERT_TRUE(fs.createFolder(inst.path("log")));
    EXPECT_TRUE(fs.createFolder(inst.path("log")));  // already there
    EXPECT_TRUE(fs.folderExists(inst.path("log")));
    EXPECT_FALSE(fs.fileExists(inst.path("log")));
    ASSERT_TRUE(fs.appendLine(inst.path("log/x.log"), "eins"));
    ASSERT_TRUE(fs.appendLine(inst.path("log/x.log"), "zwei"));
    EXPECT_EQ(inst.readFile("log/x.log"), "eins\r\nzwei\r\n");
    EXPECT_FALSE(fs.readFile(inst.path("log")));  // a folder is no file

    EXPECT_TRUE(fs.deleteFile(a));
    EXPECT_FALSE(fs.deleteFile(a));
    EXPECT_EQ(fs.openFolder(inst.folder.path(), nullptr)->names(),
              (std::vector<std::string>{"b.txt", "log"}));
}

// What another user's process gets from a lock file of this user in mode `mode`: "Locked", or the failure's
// cause and owner. As the administrator the child process becomes "nobody"; as anyone else the file is made
// read-only, which that user cannot open for writing either.
std::string lockAsAnotherUser(const std::string& folder, const std::string& path, mode_t mode) {
    ::chmod(folder.c_str(), 0777);
    ::chmod(path.c_str(), ::geteuid() == 0 ? mode : 0444);
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        FileLock lock;
        LockFailure failure;
        const auto result = lock.tryLock(path, "2", nullptr, &failure);
        const std::string said =
            result == FileLock::Result::Locked ? "Locked" : failure.cause + " / " + failure.owner;
        const bool written =
            ::write(channel[1], said.data(), said.size()) == static_cast<ssize_t>(said.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return said;
}

// A lock file is made for every user whatever the umask; one that another user cannot open for writing is
// refused with its cause and owner, never taken as held.
TEST(FileLock, ANewLockFileIsForEveryUserAndAnotherUsersUnwritableOneIsRefusedNamingItsOwner) {
    test::TempFolder folder;
    const std::string path = folder.path() + "/PNLSETUP.LCK";
    const mode_t mask = ::umask(077);
    {
        FileLock lock;
        ASSERT_EQ(lock.tryLock(path, "1"), FileLock::Result::Locked);
    }
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    const std::string owner = ::getpwuid(st.st_uid)->pw_name;
    EXPECT_EQ(lockAsAnotherUser(folder.path(), path, 0666),
              ::geteuid() == 0 ? "Locked" : "Keine Zugriffsrechte. / " + owner);
    EXPECT_EQ(lockAsAnotherUser(folder.path(), path, 0644), "Keine Zugriffsrechte. / " + owner);
}

// A folder worked on by its entries' names: a path is no name, and no link is followed.
TEST(Folder, WorksByNamesInsideItAndNeverFollowsALink) {
    test::Installation inst;
    test::TempFolder outside;
    const std::string secret = outside.path() + "/geheim.txt";
    std::ofstream(secret) << "draußen";
    inst.writeFile("A", "abc");
    ::chmod(inst.path("A").c_str(), 0640);
    std::filesystem::create_symlink(secret, inst.path("Link"));
    std::filesystem::create_directory_symlink(outside.path(), inst.path("Ordner"));
    std::string error;
    const auto folder = inst.fs.openFolder(inst.folder.path(), &error);
    ASSERT_TRUE(folder) << error;
    for (const std::string& name : {secret, std::string("../x"), std::string("a/b"), std::string("..")}) {
        EXPECT_EQ(folder->kind(name), EntryKind::Other) << name;
        EXPECT_FALSE(folder->writeAtomic(name, "x", &error)) << name;
    }
    EXPECT_EQ(folder->kind("Link"), EntryKind::Link);
    EXPECT_FALSE(folder->read("Link"));
    EXPECT_FALSE(folder->openFolder("Ordner", &error));
    EXPECT_EQ(error, inst.path("Ordner") +
                         ": Die Datei ist eine Verknüpfung (symbolischer Link), der das Setup "
                         "nicht folgt.");
    EXPECT_TRUE(folder->remove("Link"));  // the link itself
    EXPECT_TRUE(std::filesystem::exists(secret));

    ASSERT_TRUE(folder->copy("A", *folder, "A.neu", "A", &error)) << error;
    struct stat st {};
    ::stat(inst.path("A.neu").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the permissions of the file it will replace
    EXPECT_FALSE(folder->copy("A", *folder, "A.neu", "A", &error));  // never over an existing file
    ::chmod(inst.path("A").c_str(), 0444);
    EXPECT_EQ(folder->replaceRefusal("A"), "Die Datei " + inst.path("A") + " ist schreibgeschützt.");
}

// As the other program and an editor leave it: comments, CRLF, a duplicate key, no final line break.
const std::string kSharedFile =
    "; Anlage Musterstrasse 5\r\n"
    "[Schnittstellen]\r\n"
    "COM1=30,FALSE\r\n"
    "# zweite Zeile COM1 ist alt\r\n"
    "COM1=99,TRUE\r\n"
    "\r\n"
    "[Visualisierung]\r\n"
    "Farbe = blau\r\n"
    "[PNLXXX]\r\n"
    "PNL00=PNL-B,Haupteingang,012345,,FALSE";

TEST(IniFile, ReadsByNameWithoutCaseAndWritesOnlyTheValueKeepingEveryOtherByte) {
    auto doc = IniDocument::parse(kSharedFile);
    EXPECT_EQ(doc.value("SCHNITTSTELLEN", "com1"), "30,FALSE");                   // the first duplicate wins
    EXPECT_EQ(doc.value("pnlxxx", "pnl00"), "PNL-B,Haupteingang,012345,,FALSE");  // last line, no line break
    EXPECT_EQ(doc.value("Visualisierung", "Farbe"), " blau");                     // values are not trimmed
    EXPECT_FALSE(doc.value("Schnittstellen", "COM2"));
    EXPECT_FALSE(doc.value("Berechtigungen", "LEVEL1"));
    EXPECT_FALSE(doc.value("Schnittstellen", "# zweite Zeile COM1 ist alt"));
    EXPECT_EQ(doc.encoding(), IniDocument::Encoding::Windows1252);  // all ASCII
    ASSERT_TRUE(doc.setValue("schnittstellen", "com1", "0,FALSE"));
    std::string expected = kSharedFile;
    expected.replace(expected.find("COM1=30,FALSE"), 13, "COM1=0,FALSE");
    EXPECT_EQ(doc.bytes(), expected);  // the duplicate further down is untouched
    EXPECT_EQ(doc.value("Schnittstellen", "COM1"), "0,FALSE");

    // A new key goes to the end of its section, in the file's CRLF style.
    ASSERT_TRUE(doc.setValue("Schnittstellen", "COM2", "0,FALSE"));
    expected.replace(expected.find("COM1=99,TRUE\r\n") + 14, 0, "COM2=0,FALSE\r\n");
    EXPECT_EQ(doc.bytes(), expected);

    // A key new in the last section: the file keeps lacking a final line break.
    ASSERT_TRUE(doc.setValue("PNLXXX", "PNL01", "PNL-A,Nebeneingang,,,TRUE"));
    expected += "\r\nPNL01=PNL-A,Nebeneingang,,,TRUE";
    EXPECT_EQ(doc.bytes(), expected);

    ASSERT_TRUE(doc.setValue("Berechtigungen", "LEVEL1", "abc"));
    expected += "\r\n[Berechtigungen]\r\nLEVEL1=abc";
    EXPECT_EQ(doc.bytes(), expected);
    EXPECT_EQ(doc.value("berechtigungen", "level1"), "abc");

    // An LF file gets LF lines; an empty one CRLF.
    auto lf = IniDocument::parse("[A]\nx=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(lf.setValue("A", "z", "3"));
    ASSERT_TRUE(lf.setValue("C", "w", "4"));
    EXPECT_EQ(lf.bytes(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
    auto empty = IniDocument::parse("");
    ASSERT_TRUE(empty.setValue("S", "k", "v"));
    EXPECT_EQ(empty.bytes(), "[S]\r\nk=v\r\n");
}

TEST(IniFile, RefusesLineBreaksAndLeavesTheFileUnchanged) {
    test::Installation inst;
    inst.writeFile("A.INI", kSharedFile);
    IniFile ini(inst.fs, inst.path("A.INI"));
    const std::string refused[][3] = {{"Schnittstellen", "COM1", "30,FALSE\r\n[Berechtigungen]\r\nLEVEL6=x"},
                                      {"Schnittstellen", "COM1", "a\nb"},
                                      {"Schnittstellen", "COM1", "a\rb"},
                                      {"Schnitt\nstellen", "COM1", "x"},
                                      {"Schnittstellen", "CO\nM1", "x"},
                                      {"Schnittstellen", "COM1", "\xff\xfe"}};  // not UTF-8
    for (const auto& r : refused)
        EXPECT_FALSE(ini.write(r[0], r[1], r[2])) << r[2];
    EXPECT_EQ(inst.readFile("A.INI"), kSharedFile);
    EXPECT_TRUE(ini.write("Schnittstellen", "COM1", "30,TRUE"));
    EXPECT_EQ(ini.read("Schnittstellen", "COM1"), "30,TRUE");
    EXPECT_EQ(ini.read("Nirgends", "COM1"), "");
    EXPECT_EQ(IniFile(inst.fs, inst.path("FEHLT.INI")).read("Schnittstellen", "COM1"), "");
}

// The other program reads Windows-1252: only a file that already holds UTF-8 (even with a BOM) stays UTF-8.
TEST(IniFile, KeepsTheFilesEncodingAndRefusesWhatItCannotCarry) {
    struct Case {
        std::optional<std::string> file;
        std::string key, before, value, expected;
        bool utf8;
    };
    const Case cases[] = {
        {"[PNLXXX]\r\nPNL00=PNL-B,Haupteingang,012345,,FALSE\r\n", "PNL00",
         "PNL-B,Haupteingang,012345,,FALSE", "Tür Nord", "[PNLXXX]\r\nPNL00=T\xFCr Nord\r\n", false},
        {std::nullopt, "PNL00", "", "Tür", "[PNLXXX]\r\nPNL00=T\xFCr\r\n", false},
        {"; Musterstraße\n[PNLXXX]\n", "PNL00", "", "Łódź", "; Musterstraße\n[PNLXXX]\nPNL00=Łódź\n", true},
        {"\xEF\xBB\xBF[PNLXXX]\nPNL00=PNL-B,Tür,,,FALSE\n", "PNL00", "PNL-B,Tür,,,FALSE",
         "PNL-B,Tür Nord,,,FALSE", "\xEF\xBB\xBF[PNLXXX]\nPNL00=PNL-B,Tür Nord,,,FALSE\n", true},
        // "Fußweg Höhle", "Pförtner" and a euro sign as Windows-1252 bytes.
        {"[PNLXXX]\r\nPNL00=Fu\xDFweg H\xF6hle\r\nPNL01=Pf\xF6rtner \x80\r\n", "PNL01", "Pförtner €", "Tür",
         "[PNLXXX]\r\nPNL00=Fu\xDFweg H\xF6hle\r\nPNL01=T\xFCr\r\n", false},
    };
    for (const Case& c : cases) {
        test::Installation inst;
        if (c.file)
            inst.writeFile("A.INI", *c.file);
        IniFile ini(inst.fs, inst.path("A.INI"));
        EXPECT_EQ(ini.read("PNLXXX", c.key), c.before);
        EXPECT_EQ(ini.firstUnstorable("Łódź"), c.utf8 ? std::nullopt : std::optional<std::string>("Ł"));
        ASSERT_TRUE(ini.write("PNLXXX", c.key, c.value)) << c.expected;
        EXPECT_EQ(inst.readFile("A.INI"), c.expected);
        EXPECT_EQ(ini.read("PNLXXX", c.key), c.value);
        if (!c.utf8) {
            EXPECT_FALSE(ini.write("PNLXXX", c.key, "Łódź"));
            EXPECT_EQ(inst.readFile("A.INI"), c.expected);
        }
    }
}

}  // namespace
}  // namespace pnl
