#include <gtest/gtest.h>

#include <filesystem>

#include "interfaces/interface_editor.h"
#include "link/interface_record.h"
#include "support/interface_window_scene.h"

namespace pnl::test {
namespace {

// The chosen device, whether it may be tested, and on the visible pages the modem box, strings and controls.
std::string shown(const InterfaceWindowForm& form) {
    std::string text = form.deviceKind.text() + (form.testStation.enabled() ? ": Testen" : ": kein Test");
    if (!form.pages.visible())
        return text;
    const auto add = [&text](bool on, const std::string& name) { text += on ? " " + name : ""; };
    add(!form.testStation.tip().empty(), "(" + form.testStation.tip() + ")");
    for (std::size_t tab = 0; tab < form.pages.tabs().size(); ++tab)
        add(form.pages.tabs()[tab].visible, "Seite" + std::to_string(tab));
    add(form.viaModem.checked(),
        "[x]Modem " + form.initString1.text() + "|" + form.initString2.text() + "|" + form.dialPrefix.text());
    add(form.phoneNumberCaption.visible(), "phoneNumberCaption");
    add(form.phoneNumber.visible(), "phoneNumber");
    add(form.baudRateCaption.visible(), "baudRateCaption");
    add(form.baudRate.visible(), "baudRate");
    return text;
}

// Every port slot in ascending order, none chosen; then each port or device chosen shows its page.
TEST(InterfaceEditor, ListsThePortSlotsAndShowsThePageOfTheRecordedKind) {
    InterfaceWindowScene window(
        "[Schnittstellen]\r\nCOM1=30,TRUE,ATE0L1M0Q0V1&C1&D2&S1,,0,\r\nCOM2=51,TRUE,ATX,,0,\r\n"
        "[PNLXXX]\r\nPNL00=PNL-A,Zugang Nord,000001,,FALSE\r\nPNL01=PNL-B,Haupteingang,012345,,FALSE\r\n");
    std::vector<ComboBox::Item> slots;
    for (const char* name : {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"})
        slots.push_back({name, 0});
    EXPECT_EQ(window.form.portChoice.items(), slots);
    EXPECT_EQ(window.form.portChoice.listIndex(), -1);
    EXPECT_EQ(shown(window.form), ": kein Test");
    const std::string direct = "PNLXX Abgleich: kein Test (" + std::string(kTestNeedsStation) + ") Seite4";
    const std::string modem =
        "PNLXX Abgleich: kein Test (" + std::string(kTestNeedsDirectLine) +
        ") Seite4 Seite5 [x]Modem ATE0L1M0Q0V1&C1&D2&S1||0 phoneNumberCaption phoneNumber";
    const std::vector<std::pair<std::string, std::string>> steps{
        {"COM1", modem},
        {"COM2", ": kein Test"},            // a kind this program does not offer: nothing chosen
        {"PNLXX Abgleich", direct},         // its defaults, not the other kind's fields
        {"COM3", "Kein Gerät: kein Test"},  // no record
        {"COM1", modem},
        {"Kein Gerät", "Kein Gerät: kein Test"},
        {"PNLXX Abgleich", direct},  // still the defaults until the port is chosen again
        {"COM1", modem},
    };
    for (const auto& [choice, expected] : steps) {
        if (choice.starts_with("COM"))
            window.choosePort(choice);
        else
            window.chooseDevice(choice);
        EXPECT_EQ(shown(window.form), expected) << choice;
    }
    EXPECT_EQ(window.form.pages.tab(), InterfaceWindowForm::kStationTab);
    // On a direct line "Testen" looks for the station chosen or the serial number typed, and is off without.
    window.choosePort("COM3");
    window.chooseDevice("PNLXX Abgleich");
    window.chooseStation("Haupteingang");
    EXPECT_EQ(shown(window.form), "PNLXX Abgleich: Testen Seite4");
    window.controller.newStation();
    EXPECT_EQ(shown(window.form), direct);
    window.form.stationSerial.setText("4711");
    window.controller.stationSerialChanged();
    EXPECT_EQ(shown(window.form), "PNLXX Abgleich: Testen Seite4");
    // The station list is sorted by label and carries the slot numbers.
    EXPECT_EQ(window.form.stationChoice.items(),
              (std::vector<ComboBox::Item>{{"Haupteingang", 1}, {"Zugang Nord", 0}}));

    // Loaded again: no port chosen, and saving without a choice writes nothing.
    window.controller.load();
    EXPECT_EQ(window.form.portChoice.listIndex(), -1);
    const std::string before = window.settings();
    window.save();
    EXPECT_EQ(window.settings(), before);
}

// A file as the other program keeps it (comments, unknown sections and keys, a port above 8) keeps all but
// the records saved; one port at most carries the station link ("030" counts); what a record cannot hold is
// refused.
TEST(InterfaceSave, WritesTheExactRecordOfEachKindAndRefusesWhatItCannotHold) {
    const std::string file =
        "; Anlage Musterstrasse\r\n[Anlage]\r\nName=Haus 1\r\n[Schnittstellen]\r\nCOM1=030,FALSE\r\n"
        "COM2=51,4800,X\r\nCOM9=30,FALSE\r\n[PNLXXX]\r\n";
    InterfaceWindowScene window(file);
    window.choosePort("COM2");
    window.chooseDevice("PNLXX Abgleich");
    window.save();
    EXPECT_EQ(window.settings(), file);
    ASSERT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dialogs.last().text,
              "Es darf nur eine Schnittstelle für den PNL Datenabgleich konfiguriert sein.");
    EXPECT_EQ(window.dialogs.last().title, "Schnittstellen Fehler");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(window.form.deviceKind.text(), "PNLXX Abgleich");  // the window keeps what was entered

    // Saving the link again on the port that carries it is allowed.
    window.choosePort("COM1");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,FALSE");
    window.tickModem(true);
    window.form.initString1.setText("  ATE0L1M0Q0V1&C1&D2&S1 ");
    window.form.initString2.setText("   ");
    window.form.dialPrefix.setText(" 0");
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,TRUE,ATE0L1M0Q0V1&C1&D2&S1,,0,");

    const std::string before = window.settings();
    struct Case {
        TextBox InterfaceWindowForm::*field;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases{
        {&InterfaceWindowForm::initString1, "AT,Z",
         "Im 1. Initialisierungsstring dürfen keine Kommas enthalten sein!"},
        {&InterfaceWindowForm::initString2, "ATX3,",
         "Im 2. Initialisierungsstring dürfen keine Kommas enthalten sein!"},
        {&InterfaceWindowForm::dialPrefix, "0,", "Im Anwahlpräfix dürfen keine Kommas enthalten sein!"},
        {&InterfaceWindowForm::initString1, "ATZ\r\nATX",
         "Im 1. Initialisierungsstring dürfen keine Zeilenumbrüche enthalten sein!"},
        {&InterfaceWindowForm::dialPrefix, "0\n",
         "Im Anwahlpräfix dürfen keine Zeilenumbrüche enthalten sein!"},
        {&InterfaceWindowForm::initString2, "AT→X",
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
    // A direct line stores no modem strings, so they are not checked.
    window.tickModem(false);
    window.save();
    EXPECT_EQ(window.value("Schnittstellen", "COM1"), "30,FALSE");

    // Once COM1 is freed, COM2 may take the link.
    window.chooseDevice("Kein Gerät");
    window.save();
    window.choosePort("COM2");
    window.chooseDevice("PNLXX Abgleich");
    window.save();
    EXPECT_EQ(window.settings(),
              "; Anlage Musterstrasse\r\n[Anlage]\r\nName=Haus 1\r\n[Schnittstellen]\r\nCOM1=\r\n"
              "COM2=30,FALSE\r\nCOM9=30,FALSE\r\n[PNLXXX]\r\n");
    EXPECT_EQ(window.dialogs.shown.size(), 1 + cases.size());
    // Every save is logged, a refused one as well.
    std::vector<std::string> log(5 + cases.size(), "Schnittstelle PNLXX Abgleich geaendert");
    log.insert(log.end() - 1, "Schnittstelle Kein Gerät geaendert");
    EXPECT_EQ(window.logTexts(), log);

    // The working copy has become something that cannot be replaced.
    const std::string copy = window.path(kSettingsCopy);
    std::filesystem::remove(copy);
    std::filesystem::create_directories(copy + "/held");
    window.save();
    EXPECT_EQ(window.dialogs.last().text, "Die Schnittstelleneinstellung konnte nicht gespeichert werden!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(std::filesystem::is_directory(copy + "/held"));
}

// A port's record: the editor reads the leading number of field 0, the modem strings only with a modem; the
// save writes back exactly the two forms of the station link.
TEST(InterfaceRecord, ReadsTheKindByItsLeadingNumberAndWritesTheStationLink) {
    struct Row {
        const char* value;
        int kind;
        std::string modemStrings;
    };
    const Row rows[] = {
        {"30,FALSE", 30, ""},
        {"030,FALSE", 30, ""},
        {" 30,true,ATZ ,,0", 30, "ATZ ||0"},  // nothing trimmed
        {"30,FALSE,ATZ,,0,", 30, ""},         // strings of a direct line are not read
        {"51,4800,X", 51, ""},
        {"x,y", 0, ""},
        {"", 0, ""},
        {"99999999999,FALSE", -1, ""},  // never taken for an offered kind
    };
    for (const Row& row : rows) {
        const InterfaceRecord record = parseInterfaceRecord(row.value);
        EXPECT_EQ(record.kind, row.kind) << row.value;
        EXPECT_EQ(record.modem ? record.init1 + "|" + record.init2 + "|" + record.dialPrefix : "",
                  row.modemStrings)
            << row.value;
    }
    for (const std::string value : {"30,FALSE", "30,TRUE,ATE0L1M0Q0V1&C1&D2&S1,,0,", ""})
        EXPECT_EQ(formatInterfaceRecord(parseInterfaceRecord(value)), value);
}

}  // namespace
}  // namespace pnl::test
