#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "support/installation.h"

namespace pnl {
namespace {

// A file as the other program and a caretaker's editor leave it: comments, blanks, CRLF, a duplicate key,
// a key written with blanks, and no final line break.
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

TEST(IniFile, ReadsByNameWithoutCaseAndFirstDuplicateWins) {
    const auto doc = IniDocument::parse(kSharedFile);
    EXPECT_EQ(doc.value("Schnittstellen", "COM1"), "30,FALSE");
    EXPECT_EQ(doc.value("SCHNITTSTELLEN", "com1"), "30,FALSE");
    EXPECT_EQ(doc.value("pnlxxx", "pnl00"), "PNL-B,Haupteingang,012345,,FALSE");  // last line, no line break
    EXPECT_EQ(doc.value("Visualisierung", "Farbe"), " blau");                     // values are not trimmed
    EXPECT_FALSE(doc.value("Schnittstellen", "COM2"));
    EXPECT_FALSE(doc.value("Berechtigungen", "LEVEL1"));
    EXPECT_FALSE(doc.value("Schnittstellen", "# zweite Zeile COM1 ist alt"));
    EXPECT_EQ(doc.encoding(), IniDocument::Encoding::Windows1252);  // all ASCII
}

// The other program reads the file as Windows-1252: an all-ASCII or new file gets its first umlaut in that
// encoding; only a file that already holds UTF-8 stays UTF-8.
TEST(IniFile, AsciiAndNewFilesAreWindows1252) {
    test::Installation inst;
    inst.writeFile("A.INI", "[PNLXXX]\r\nPNL00=PNL-B,Haupteingang,012345,,FALSE\r\n");
    IniFile ini(inst.fs, inst.path("A.INI"));
    ASSERT_TRUE(ini.write("PNLXXX", "PNL00", "Tür Süd"));
    EXPECT_EQ(inst.readFile("A.INI"), "[PNLXXX]\r\nPNL00=\x54\xFC\x72\x20\x53\xFC\x64\r\n");
    EXPECT_EQ(ini.read("PNLXXX", "PNL00"), "Tür Süd");

    IniFile fresh(inst.fs, inst.path("NEU.INI"));
    EXPECT_EQ(fresh.firstUnstorable("Łódź"), "Ł");
    ASSERT_TRUE(fresh.write("PNLXXX", "PNL00", "Tür"));
    EXPECT_EQ(inst.readFile("NEU.INI"), "[PNLXXX]\r\nPNL00=T\xFCr\r\n");

    // A UTF-8 file keeps UTF-8 and carries any character.
    inst.writeFile("U.INI", "; Musterstraße\n[PNLXXX]\n");
    IniFile utf8(inst.fs, inst.path("U.INI"));
    EXPECT_EQ(utf8.firstUnstorable("Łódź"), std::nullopt);
    ASSERT_TRUE(utf8.write("PNLXXX", "PNL00", "Łódź"));
    EXPECT_EQ(inst.readFile("U.INI"), "; Musterstraße\n[PNLXXX]\nPNL00=Łódź\n");
}

TEST(IniFile, WritesOnlyTheValueAndKeepsEveryOtherByte) {
    auto doc = IniDocument::parse(kSharedFile);
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

    // A new section is appended.
    ASSERT_TRUE(doc.setValue("Berechtigungen", "LEVEL1", "abc"));
    expected += "\r\n[Berechtigungen]\r\nLEVEL1=abc";
    EXPECT_EQ(doc.bytes(), expected);
    EXPECT_EQ(doc.value("berechtigungen", "level1"), "abc");
}

TEST(IniFile, NewLinesFollowAnLfFile) {
    auto doc = IniDocument::parse("[A]\nx=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(doc.setValue("A", "z", "3"));
    ASSERT_TRUE(doc.setValue("C", "w", "4"));
    EXPECT_EQ(doc.bytes(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
    auto empty = IniDocument::parse("");
    ASSERT_TRUE(empty.setValue("S", "k", "v"));
    EXPECT_EQ(empty.bytes(), "[S]\r\nk=v\r\n");
}

TEST(IniFile, RefusesLineBreaksAndLeavesTheFileUnchanged) {
    test::Installation inst;
    inst.writeFile("A.INI", kSharedFile);
    IniFile ini(inst.fs, inst.path("A.INI"));
    EXPECT_FALSE(ini.write("Schnittstellen", "COM1", "30,FALSE\r\n[Berechtigungen]\r\nLEVEL6=x"));
    EXPECT_FALSE(ini.write("Schnittstellen", "COM1", "a\nb"));
    EXPECT_FALSE(ini.write("Schnittstellen", "COM1", "a\rb"));
    EXPECT_FALSE(ini.write("Schnitt\nstellen", "COM1", "x"));
    EXPECT_FALSE(ini.write("Schnittstellen", "CO\nM1", "x"));
    EXPECT_FALSE(ini.write("Schnittstellen", "COM1", "\xff\xfe"));  // not UTF-8
    EXPECT_EQ(inst.readFile("A.INI"), kSharedFile);
    EXPECT_TRUE(ini.write("Schnittstellen", "COM1", "30,TRUE"));
    EXPECT_EQ(ini.read("Schnittstellen", "COM1"), "30,TRUE");
    EXPECT_EQ(ini.read("Nirgends", "COM1"), "");
    EXPECT_EQ(IniFile(inst.fs, inst.path("FEHLT.INI")).read("Schnittstellen", "COM1"), "");
}

TEST(IniFile, Windows1252FileIsReadAndWrittenIn1252) {
    test::Installation inst;
    // "Bäckerstraße", "Pförtner" and a euro sign as Windows-1252 bytes.
    const std::string file =
        "[PNLXXX]\r\nPNL00=PNL-B,B\xE4"
        "ckerstra\xDF"
        "e,012345,,FALSE\r\nPNL01=PNL-C,Pf\xF6rtner \x80,,,FALSE\r\n";
    inst.writeFile("A.INI", file);
    IniFile ini(inst.fs, inst.path("A.INI"));
    EXPECT_EQ(ini.read("PNLXXX", "PNL00"), "PNL-B,Bäckerstraße,012345,,FALSE");
    EXPECT_EQ(ini.read("PNLXXX", "PNL01"), "PNL-C,Pförtner €,,,FALSE");

    ASSERT_TRUE(ini.write("PNLXXX", "PNL01", "PNL-C,Tür Süd,,,FALSE"));
    std::string expected = file;
    expected.replace(expected.find("PNL-C"), std::string("PNL-C,Pf\xF6rtner \x80,,,FALSE").size(),
                     "PNL-C,T\xFCr S\xFC"
                     "d,,,FALSE");
    EXPECT_EQ(inst.readFile("A.INI"), expected);

    // A character that Windows-1252 cannot carry is refused; the file stays as it was.
    EXPECT_FALSE(ini.write("PNLXXX", "PNL01", "PNL-C,Łódź,,,FALSE"));
    EXPECT_EQ(inst.readFile("A.INI"), expected);
}

TEST(IniFile, Utf8FileWithByteOrderMarkKeepsIt) {
    test::Installation inst;
    inst.writeFile("A.INI", "\xEF\xBB\xBF[PNLXXX]\nPNL00=PNL-B,Tür,,,FALSE\n");
    IniFile ini(inst.fs, inst.path("A.INI"));
    EXPECT_EQ(ini.read("PNLXXX", "PNL00"), "PNL-B,Tür,,,FALSE");
    ASSERT_TRUE(ini.write("PNLXXX", "PNL00", "PNL-B,Tür Nord,,,FALSE"));
    EXPECT_EQ(inst.readFile("A.INI"), "\xEF\xBB\xBF[PNLXXX]\nPNL00=PNL-B,Tür Nord,,,FALSE\n");
}

}  // namespace
}  // namespace pnl
