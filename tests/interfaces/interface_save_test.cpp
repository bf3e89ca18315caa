#include <gtest/gtest.h>

#include <filesystem>

#include "interfaces/interface_editor.h"
#include "support/com_window.h"

namespace pnl::test {
namespace {

constexpr const char* kOneLinkOnly =
    "Es darf nur eine Schnittstelle für den PNL Datenabgleich konfiguriert sein.";

// A file as the other program keeps it: comments, unknown sections and keys, a port above 8.
constexpr const char* kSharedFile =
    "; Anlage Musterstrasse\r\n[Anlage]\r\nName=Haus "
    "1\r\n[Schnittstellen]\r\nCOM2=51,4800,X\r\nCOM9=30,FALSE\r\n"
    "[PNLXXX]\r\n";

TEST(InterfaceSave, WritesTheExactRecordOfEachKind) {
    ComWindow window(kSharedFile);
    window.ports.present = {1, 2, 3};
    EnumeratePorts(*window.program, window.form);

    window.choosePort("COM1");
    window.chooseDevice("PNLXX Abgleich");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,FALSE");

    window.tickModem(true);
    window.form.TxtModemINI1.setText("  ATE0L1M0Q0V1&C1&D2&S1 ");
    window.form.TxtModemINI2.setText("   ");
    window.form.TxtMdmAnwahl.setText(" 0");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,TRUE,ATE0L1M0Q0V1&C1&D2&S1,,0,");

    // "Kein Gerät" also replaces a record of a kind this program does not offer.
    window.choosePort("COM2");
    window.chooseDevice("Kein Gerät");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM2"), "");
    window.choosePort("COM1");
    window.chooseDevice("Kein Gerät");
    window.save();

    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "");
    // Everything else of the shared file stays as it was.
    EXPECT_NE(window.settings().find("; Anlage Musterstrasse\r\n[Anlage]\r\nName=Haus 1\r\n"),
              std::string::npos);
    EXPECT_NE(window.settings().find("COM2=\r\nCOM9=30,FALSE\r\n"), std::string::npos);
    EXPECT_TRUE(window.dialogs.shown.empty());
    EXPECT_EQ(window.logTexts(),
              (std::vector<std::string>{
                  "Schnittstelle PNLXX Abgleich geaendert", "Schnittstelle PNLXX Abgleich geaendert",
                  "Schnittstelle Kein Gerät geaendert", "Schnittstelle Kein Gerät geaendert"}));
}

TEST(InterfaceSave, OnlyOnePortCarriesTheStationLink) {
    ComWindow window("[Schnittstellen]\r\nCOM1=030,FALSE\r\n");
    window.ports.present = {1, 2};
    EnumeratePorts(*window.program, window.form);
    const std::string before = window.settings();

    // "030" counts as kind 30 and blocks another port.
    window.choosePort("COM2");
    window.chooseDevice("PNLXX Abgleich");
    window.save();
    EXPECT_EQ(window.settings(), before);
    ASSERT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dialogs.last().text, kOneLinkOnly);
    EXPECT_EQ(window.dialogs.last().title, "Schnittstellen Fehler");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Exclamation);
    // The refused save is logged all the same; the window keeps what was entered.
    EXPECT_EQ(window.logTexts(), (std::vector<std::string>{"Schnittstelle PNLXX Abgleich geaendert"}));
    EXPECT_EQ(window.form.CboCOMDev.text(), "PNLXX Abgleich");

    // Saving the link again on the port that carries it is allowed.
    window.choosePort("COM1");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,FALSE");
    EXPECT_EQ(window.dialogs.shown.size(), 1u);

    // Once COM1 is freed, COM2 may take the link.
    window.chooseDevice("Kein Gerät");
    window.save();
    window.choosePort("COM2");
    window.chooseDevice("PNLXX Abgleich");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM2"), "30,FALSE");
    EXPECT_EQ(window.dialogs.shown.size(), 1u);
}

TEST(InterfaceSave, RefusesCommasAndLineBreaksInTheModemStrings) {
    ComWindow window("[Schnittstellen]\r\nCOM1=30,TRUE,ATZ,,0,\r\n");
    window.choosePort("COM1");
    const std::string before = window.settings();

    struct Case {
        TextBox FrmCOM::*field;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases{
        {&FrmCOM::TxtModemINI1, "AT,Z", "Im 1. Initialisierungsstring dürfen keine Kommas enthalten sein!"},
        {&FrmCOM::TxtModemINI2, "ATX3,", "Im 2. Initialisierungsstring dürfen keine Kommas enthalten sein!"},
        {&FrmCOM::TxtMdmAnwahl, "0,", "Im Anwahlpräfix dürfen keine Kommas enthalten sein!"},
        {&FrmCOM::TxtModemINI1, "ATZ\r\nATX",
         "Im 1. Initialisierungsstring dürfen keine Zeilenumbrüche enthalten sein!"},
        {&FrmCOM::TxtMdmAnwahl, "0\n", "Im Anwahlpräfix dürfen keine Zeilenumbrüche enthalten sein!"},
        {&FrmCOM::TxtModemINI2, "AT→X",
         "Im 2. Initialisierungsstring ist das Zeichen „→“ enthalten, das ANLAGE99.INI nicht speichern "
         "kann!"},
    };
    for (const Case& c : cases) {
        window.choosePort("COM1");
        (window.form.*c.field).setText(c.text);
        window.save();
        EXPECT_EQ(window.dialogs.last().text, c.message);
        EXPECT_EQ(window.settings(), before) << c.text;
    }
    EXPECT_EQ(window.dialogs.shown.size(), cases.size());

    // A direct line stores no modem strings, so they are not checked.
    window.tickModem(false);
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,FALSE");
    EXPECT_EQ(window.dialogs.shown.size(), cases.size());
}

TEST(InterfaceSave, ASettingsFileThatCannotBeWrittenIsReported) {
    ComWindow window("[Schnittstellen]\r\nCOM1=30,FALSE\r\n");
    window.choosePort("COM1");
    window.chooseDevice("Kein Gerät");
    // The working copy has become something that cannot be replaced.
    const std::string copy = window.path(kSettingsCopy);
    std::filesystem::remove(copy);
    std::filesystem::create_directories(copy + "/held");
    window.save();
    ASSERT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dialogs.last().text, "Die Schnittstelleneinstellung konnte nicht gespeichert werden!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(std::filesystem::is_directory(copy + "/held"));
}

}  // namespace
}  // namespace pnl::test
