#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "support/installation.h"

namespace pnl {
namespace {

// As the other program and a caretaker's editor leave it: comments, blanks, CRLF, a duplicate key, a key
// written with blanks, and no final line break.
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

// The other program reads the file as Windows-1252: an all-ASCII or new file gets its first umlaut in that
// encoding; only a file that already holds UTF-8 (with or without a byte order mark) stays UTF-8.
TEST(IniFile, KeepsTheFilesEncodingAndRefusesWhatItCannotCarry) {
    // "Fußweg Höhle", "Pförtner" and a euro sign as Windows-1252 bytes.
    const std::string cp1252 =
        "[PNLXXX]\r\nPNL00=PNL-B,Fu\xDFweg H\xF6hle,,,FALSE\r\nPNL01=Pf\xF6rtner \x80\r\n";
    struct Case {
        std::optional<std::string> file;
        std::string key, value, expected;
        bool utf8;
    };
    const Case cases[] = {
        {"[PNLXXX]\r\nPNL00=PNL-B,Haupteingang,012345,,FALSE\r\n", "PNL00", "Tür Nord",
         "[PNLXXX]\r\nPNL00=T\xFCr Nord\r\n", false},
        {std::nullopt, "PNL00", "Tür", "[PNLXXX]\r\nPNL00=T\xFCr\r\n", false},
        {"; Musterstraße\n[PNLXXX]\n", "PNL00", "Łódź", "; Musterstraße\n[PNLXXX]\nPNL00=Łódź\n", true},
        {"\xEF\xBB\xBF[PNLXXX]\nPNL00=PNL-B,Tür,,,FALSE\n", "PNL00", "PNL-B,Tür Nord,,,FALSE",
         "\xEF\xBB\xBF[PNLXXX]\nPNL00=PNL-B,Tür Nord,,,FALSE\n", true},
        {cp1252, "PNL01", "Tür Nord",
         "[PNLXXX]\r\nPNL00=PNL-B,Fu\xDFweg H\xF6hle,,,FALSE\r\nPNL01=T\xFCr Nord\r\n", false},
    };
    for (const Case& c : cases) {
        test::Installation inst;
        if (c.file)
            inst.writeFile("A.INI", *c.file);
        IniFile ini(inst.fs, inst.path("A.INI"));
        if (c.file == cp1252) {
            EXPECT_EQ(ini.read("PNLXXX", "PNL00"), "PNL-B,Fußweg Höhle,,,FALSE");
            EXPECT_EQ(ini.read("PNLXXX", "PNL01"), "Pförtner €");
        }
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
