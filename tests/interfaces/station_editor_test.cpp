#include <gtest/gtest.h>

#include <filesystem>

#include "stations/station_list.h"
#include "support/interface_window_scene.h"

namespace pnl::test {
namespace {

constexpr const char* kAllSlotsInUse =
    "Die maximal mögliche Anzahl von 63 PNL ist bereits erreicht!\n\rKein neuer Eintrag möglich!";

// The interface window on the station page of a direct (or modem) station link.
struct StationPage : InterfaceWindowScene {
    explicit StationPage(const std::string& stations = "", bool modem = false)
        : InterfaceWindowScene(std::string("[Schnittstellen]\r\nCOM1=") +
                               (modem ? "30,TRUE,ATZ,,0," : "30,FALSE") + "\r\n[PNLXXX]\r\n" + stations) {
        choosePort("COM1");
    }
    std::string station(int number) { return value("PNLXXX", stationKey(number)); }
};

TEST(StationFrame, NewStationsTakeTheLowestFreeSlotWithTheExactRecord) {
    StationPage page("PNL05=PNL-X,Fremd,12AB,,true\r\nPNL06=PNL-A,,5,,FALSE\r\n");
    // Without a modem link there is no telephone number to store.
    EXPECT_FALSE(page.form.phoneNumber.visible());
    page.addStation("PNL-B", "  Haupteingang ", "012345", "0301234");
    EXPECT_EQ(page.station(0), "PNL-B,Haupteingang,012345,,FALSE");
    // The saved station is chosen and shown as stored.
    EXPECT_EQ(page.form.stationChoice.text(), "Haupteingang");
    EXPECT_EQ(page.form.stationLabel.text(), "Haupteingang");
    EXPECT_EQ(page.form.stationSerial.text(), "012345");
    // An unknown stored type leaves the type list as it was; an unfitting serial number leaves the field
    // empty.
    page.chooseStation("Fremd");
    EXPECT_EQ(page.form.stationType.text(), "PNL-B");
    EXPECT_TRUE(page.form.stationSerial.empty());
    EXPECT_TRUE(page.form.olderFirmware.checked());

    // The first umlaut goes into the all-ASCII file as Windows-1252, as the other program reads it.
    page.addStation("PNL-A", "Tür Süd", "7");
    EXPECT_NE(page.settings().find("PNL01=PNL-A,T\xFCr S\xFC"
                                   "d,7,,FALSE"),
              std::string::npos);
    page.controller.deleteStation();
    EXPECT_EQ(page.station(1), "");
    EXPECT_EQ(page.form.stationChoice.count(), 2);
    EXPECT_EQ(page.form.stationChoice.listIndex(), -1);
    EXPECT_EQ(page.form.stationType.listIndex(), -1);
    EXPECT_EQ(page.form.stationLabel.text(), "");
    EXPECT_TRUE(page.form.stationSerial.empty());
    EXPECT_FALSE(page.form.olderFirmware.visible());

    // The deleted slot is taken again first.
    page.addStation("PNL-C", "Anbau", "999999");
    page.addStation("PNL-A", "Zugang", "1");
    EXPECT_EQ(page.station(1), "PNL-C,Anbau,999999,,FALSE");
    EXPECT_EQ(page.station(2), "PNL-A,Zugang,1,,FALSE");
    EXPECT_EQ(page.form.stationChoice.items(),
              (std::vector<ComboBox::Item>{{"Anbau", 1}, {"Fremd", 5}, {"Haupteingang", 0}, {"Zugang", 2}}));

    // Changing a chosen station keeps its slot.
    page.chooseStation("Anbau");
    page.form.stationLabel.setText("Hof");
    page.controller.saveStation();
    EXPECT_EQ(page.station(1), "PNL-C,Hof,999999,,FALSE");
    EXPECT_TRUE(page.form.olderFirmware.visible());
    page.form.olderFirmware.setChecked(true);
    page.controller.saveStation();
    EXPECT_EQ(page.station(1), "PNL-C,Hof,999999,,TRUE");
    // PNL-K has no older firmware: the hidden box is stored as FALSE even while ticked.
    page.chooseType("PNL-K");
    EXPECT_FALSE(page.form.olderFirmware.visible());
    EXPECT_TRUE(page.form.olderFirmware.checked());
    page.controller.saveStation();
    EXPECT_EQ(page.station(1), "PNL-K,Hof,999999,,FALSE");
}

TEST(StationFrame, AllSixtyFourSlotsInUseRefuseANewStation) {
    std::string stations;
    for (int n = 0; n <= 62; ++n)
        stations += stationKey(n) + "=PNL-A,Station " + std::to_string(n) + ",1,,FALSE\r\n";
    // The 64th slot is a real slot: with 63 in use, a new station goes into PNL63.
    StationPage page(stations);
    page.addStation("PNL-A", "Letzte", "63");
    EXPECT_EQ(page.station(63), "PNL-A,Letzte,63,,FALSE");

    const std::string before = page.settings();
    // "Neu" refuses, and so does saving with no station chosen.
    page.form.stationChoice.setListIndex(-1);
    page.addStation("PNL-A", "Zuviel", "7");
    ASSERT_EQ(page.dialogs.texts(), (std::vector<std::string>{kAllSlotsInUse, kAllSlotsInUse}));
    EXPECT_EQ(page.dialogs.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(page.settings(), before);
}

// With a modem link the telephone number is checked too; the first failing check is told.
TEST(StationFrame, RefusedInputShowsItsMessageAndWritesNothing) {
    StationPage page("", true);
    const std::string before = page.settings();
    const std::string noSerial = "Bitte geben Sie eine Seriennummer im Bereich 0 bis 999999 ein!";
    const std::string noPhone = "Bitte geben Sie eine gültige Rufnummer für die Telefonverbindung ein!";
    struct Case {
        std::string type, label, serial, phone, message;
    };
    const std::vector<Case> cases{
        {"", "Haupteingang", "1", "0301", "Bitte wählen Sie eine Typenbezeichnung aus!"},
        {"PNL-A", "    ", "1", "0301", "Bitte geben Sie einen Bezeichnungstext ein!"},
        {"PNL-A", "Haus 1, links", "1", "0301", "Im Bezeichnungstext dürfen keine Kommas enthalten sein!"},
        {"PNL-A", "Haus\r\n[Anlage]", "1", "",
         "Im Bezeichnungstext dürfen keine Zeilenumbrüche enthalten sein!"},
        {"PNL-A", "Haus 1", "", "0301", noSerial},
        {"PNL-A", "Haus 1", "000000", "0301", noSerial},
        {"PNL-A", "Haus", "5", "", noPhone},
        {"PNL-A", "Haus", "5", "  ", noPhone},
        {"PNL-A", "Haus", "5", "030,1234", "In der Rufnummer dürfen keine Kommas enthalten sein!"},
        {"PNL-A", "Haus", "5", "030\n1234", "In der Rufnummer dürfen keine Zeilenumbrüche enthalten sein!"},
        // The settings file is Windows-1252 (the other program reads it so): "ü" fits, "Ł" and "→" do not.
        {"PNL-A", "Tür Łódź", "1", "0301",
         "Im Bezeichnungstext ist das Zeichen „Ł“ enthalten, das ANLAGE99.INI nicht speichern kann!"},
        {"PNL-A", "Haus", "5", "030→1234",
         "In der Rufnummer ist das Zeichen „→“ enthalten, das ANLAGE99.INI nicht speichern kann!"},
    };
    for (const Case& c : cases) {
        page.addStation(c.type, c.label, c.serial, c.phone);
        EXPECT_EQ(page.dialogs.last().text, c.message) << c.label << c.phone;
        EXPECT_EQ(page.settings(), before);
    }
    // The six positions take no seventh digit.
    EXPECT_FALSE(page.form.stationSerial.setText("1000000"));

    page.addStation("PNL-A", "Haus", "5", " 0301234567 ");
    EXPECT_EQ(page.station(0), "PNL-A,Haus,5,0301234567,FALSE");
    EXPECT_EQ(page.form.phoneNumber.text(), "0301234567");

    // A settings file that cannot be written is reported, and the frame is kept as typed.
    const std::string copy = page.path(kSettingsCopy);
    std::filesystem::remove(copy);
    std::filesystem::create_directories(copy + "/held");
    page.form.stationLabel.setText("Hof");
    page.controller.saveStation();
    EXPECT_EQ(page.dialogs.last().text, "Die PNL konnte nicht gespeichert werden!");
    EXPECT_EQ(page.dialogs.last().icon, MsgIcon::Critical);
    EXPECT_EQ(page.form.stationChoice.text(), "Haus");
    EXPECT_EQ(page.form.stationLabel.text(), "Hof");
    page.controller.deleteStation();
    EXPECT_EQ(page.dialogs.last().text, "Die PNL konnte nicht gelöscht werden!");
    EXPECT_EQ(page.form.stationChoice.text(), "Haus");
    EXPECT_EQ(page.dialogs.shown.size(), cases.size() + 2);
}

}  // namespace
}  // namespace pnl::test
