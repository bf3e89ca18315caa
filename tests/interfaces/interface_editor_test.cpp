#include <gtest/gtest.h>

#include "interfaces/interface_editor.h"
#include "support/com_window.h"

namespace pnl::test {
namespace {

std::vector<std::string> texts(const ComboBox& list) {
    std::vector<std::string> out;
    for (const auto& item : list.items())
        out.push_back(item.text);
    return out;
}

bool tabShown(const FrmCOM& form, int tab) {
    return form.SSTabCOMs.visible() && form.SSTabCOMs.tabs()[tab].visible;
}

TEST(InterfaceEditor, ListsThePresentPortsAndTheTwoDevices) {
    ComWindow window;
    window.ports.present = {8, 3, 1};
    EnumeratePorts(*window.program, window.form);
    EXPECT_EQ(texts(window.form.CboCOMs), (std::vector<std::string>{"COM1", "COM3", "COM8"}));
    EXPECT_EQ(window.form.CboCOMs.listIndex(), -1);
    EXPECT_EQ(window.form.CboCOMDev.items(),
              (std::vector<ComboBox::Item>{{"Kein Gerät", 0}, {"PNLXX Abgleich", 30}}));
    EXPECT_FALSE(window.form.SSTabCOMs.visible());
    EXPECT_FALSE(window.form.CmdCOMTest.enabled());

    // A PC without serial ports: nothing to choose, and saving without a choice writes nothing.
    window.ports.present.clear();
    EnumeratePorts(*window.program, window.form);
    EXPECT_EQ(window.form.CboCOMs.count(), 0);
    const std::string before = window.settings();
    window.save();
    EXPECT_EQ(window.settings(), before);
}

TEST(InterfaceEditor, ShowsThePageOfTheRecordedKind) {
    ComWindow window(
        "[Schnittstellen]\r\nCOM1=30,TRUE,ATE0L1M0Q0V1&C1&D2&S1,,0,\r\nCOM2=51,whatever\r\n"
        "[PNLXXX]\r\nPNL00=PNL-A,Zugang Nord,000001,,FALSE\r\nPNL01=PNL-B,Haupteingang,012345,,FALSE\r\n");
    FrmCOM& form = window.form;

    window.choosePort("COM1");
    EXPECT_EQ(form.CboCOMDev.text(), "PNLXX Abgleich");
    EXPECT_TRUE(tabShown(form, FrmCOM::kStationTab));
    EXPECT_EQ(form.SSTabCOMs.tab(), FrmCOM::kStationTab);
    EXPECT_TRUE(form.ChkPNLModem.checked());
    EXPECT_TRUE(tabShown(form, FrmCOM::kModemTab));
    EXPECT_EQ(form.TxtModemINI1.text(), "ATE0L1M0Q0V1&C1&D2&S1");
    EXPECT_EQ(form.TxtModemINI2.text(), "");
    EXPECT_EQ(form.TxtMdmAnwahl.text(), "0");
    EXPECT_FALSE(form.CmdCOMTest.enabled());
    EXPECT_TRUE(form.TxtPNLModem.visible());
    EXPECT_TRUE(form.LblPNLModem.visible());
    EXPECT_FALSE(form.CboModemBaud.visible());
    EXPECT_FALSE(form.LblMdmBaud.visible());
    // The station list is sorted by label and carries the slot numbers.
    EXPECT_EQ(form.CboPNLBez.items(), (std::vector<ComboBox::Item>{{"Haupteingang", 1}, {"Zugang Nord", 0}}));
    for (int tab : {0, 1, 2, 3})
        EXPECT_FALSE(form.SSTabCOMs.tabs()[tab].visible);

    // Another device kind: nothing chosen, no page, no test.
    window.choosePort("COM2");
    EXPECT_EQ(form.CboCOMDev.listIndex(), -1);
    EXPECT_FALSE(form.SSTabCOMs.visible());
    EXPECT_FALSE(form.CmdCOMTest.enabled());
}

TEST(InterfaceEditor, AnotherKindStartsFromDefaultsUntilThePortIsChosenAgain) {
    ComWindow window("[Schnittstellen]\r\nCOM1=30,TRUE,ATZ,,9,\r\n");
    FrmCOM& form = window.form;
    window.choosePort("COM2");
    EXPECT_EQ(form.CboCOMDev.text(), "Kein Gerät");
    EXPECT_FALSE(form.SSTabCOMs.visible());

    window.chooseDevice("PNLXX Abgleich");
    EXPECT_TRUE(tabShown(form, FrmCOM::kStationTab));
    EXPECT_FALSE(tabShown(form, FrmCOM::kModemTab));
    EXPECT_FALSE(form.ChkPNLModem.checked());
    EXPECT_TRUE(form.CmdCOMTest.enabled());
    EXPECT_FALSE(form.TxtPNLModem.visible());

    window.choosePort("COM1");
    EXPECT_TRUE(form.ChkPNLModem.checked());
    window.chooseDevice("Kein Gerät");
    EXPECT_FALSE(form.SSTabCOMs.visible());
    EXPECT_FALSE(form.CmdCOMTest.enabled());
    // The recorded kind chosen again shows defaults, not the stored modem connection.
    window.chooseDevice("PNLXX Abgleich");
    EXPECT_FALSE(form.ChkPNLModem.checked());
    EXPECT_FALSE(tabShown(form, FrmCOM::kModemTab));
    window.choosePort("COM1");
    EXPECT_TRUE(form.ChkPNLModem.checked());
    EXPECT_TRUE(tabShown(form, FrmCOM::kModemTab));

    // A record of a kind this program does not offer: choosing the station link shows its defaults, not
    // the other kind's fields.
    ComWindow foreign("[Schnittstellen]\r\nCOM2=51,TRUE,ATX,,0,\r\n");
    foreign.choosePort("COM2");
    EXPECT_EQ(foreign.form.CboCOMDev.listIndex(), -1);
    foreign.chooseDevice("PNLXX Abgleich");
    EXPECT_FALSE(foreign.form.ChkPNLModem.checked());
    EXPECT_FALSE(tabShown(foreign.form, FrmCOM::kModemTab));
    EXPECT_EQ(foreign.form.TxtModemINI1.text(), "");
}

}  // namespace
}  // namespace pnl::test
