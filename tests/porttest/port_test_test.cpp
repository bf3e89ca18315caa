#include <gtest/gtest.h>

#include "link/serial_link_claim.h"
#include "link/station_probe.h"
#include "porttest/port_test.h"
#include "support/com_window.h"

namespace pnl::test {
namespace {

const std::string kSoh(1, '\x01');
const std::string kEot(1, '\x04');
const std::string kOpen123456 = kSoh + "(01E24001" + kEot;
const std::string kQuery = kSoh + "*0000" + kEot;
const std::string kClose123456 = kSoh + "(01E24000" + kEot;
const std::string kAnswer19 = "?*23456789012345678";

// The interface window on COM2, the station link, with station 123456 chosen.
struct ProbeWindow : ComWindow {
    ProbeWindow()
        : ComWindow(
              "[Schnittstellen]\r\nCOM2=30,FALSE\r\n[PNLXXX]\r\nPNL00=PNL-B,Haupteingang,123456,,FALSE\r\n") {
        choosePort("COM2");
        chooseStation("Haupteingang");
    }
    // The station answers the query frame with `answer` after `delayMs`.
    void stationAnswers(const std::string& answer, std::int64_t delayMs = 100) {
        serial.onOutput = [this, answer, delayMs](const std::string& bytes) {
            if (bytes == kQuery)
                serial.deliver(answer, delayMs);
        };
    }
    bool testControlsEnabled() const {
        return form.CmdCOMTest.enabled() && form.CboCOMs.enabled() && form.CboCOMDev.enabled() &&
               form.CmdCOMSave.enabled() && form.CmdPNLNeu.enabled() && form.CmdPNLSave.enabled() &&
               form.CmdPNLDel.enabled();
    }
};

TEST(PortTest, FindsTheStationWithTheExactBytesAndPauses) {
    ProbeWindow window;
    window.stationAnswers(kAnswer19);
    bool disabledDuringProbe = false;
    window.dialogs.whileShown = [&](const Message&) {
        disabledDuringProbe = !window.form.CmdCOMTest.enabled() && !window.form.CboCOMs.enabled() &&
                              !window.form.CboCOMDev.enabled() && !window.form.CmdCOMSave.enabled() &&
                              !window.form.CmdPNLSave.enabled() && window.program->serialLinkBusy;
    };
    const std::int64_t start = window.loop.now();
    window.test();

    ASSERT_EQ(window.serial.sent.size(), 3u);
    EXPECT_EQ(window.serial.sent[0].bytes, kOpen123456);
    EXPECT_EQ(window.serial.sent[1].bytes, kQuery);
    EXPECT_EQ(window.serial.sent[2].bytes, kClose123456);
    EXPECT_EQ(window.serial.sent[0].atMs, start);
    EXPECT_EQ(window.serial.sent[1].atMs, start + 600);
    // The pause runs its full 2000 ms although the answer came after 100.
    EXPECT_EQ(window.serial.sent[2].atMs, start + 2600);
    EXPECT_EQ(window.serial.calls, (std::vector<std::string>{"port 2", "settings 9600,N,8,1", "dtr off",
                                                             "rts off", "handshake 0", "open", "close"}));

    ASSERT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_EQ(window.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 123456\n\rwurde am ausgewählten Port gefunden!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Information);
    EXPECT_TRUE(disabledDuringProbe);
    EXPECT_FALSE(window.serial.isOpen());
    EXPECT_TRUE(window.testControlsEnabled());
    EXPECT_FALSE(window.program->serialLinkBusy);
}

TEST(PortTest, OnlyWhatArrivesDuringTheQueryPauseCounts) {
    // An answer to the select frame is dropped when the query pause starts; characters split over several
    // receive notifications add up.
    ProbeWindow window;
    window.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == kOpen123456)
            window.serial.deliver("?*0", 50);
        if (bytes == kQuery) {
            window.serial.deliver(kAnswer19.substr(0, 7), 20);
            window.serial.deliver(kAnswer19.substr(7), 1999);
        }
    };
    window.test();
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Information);
    EXPECT_EQ(window.program->ReceiveBuffer, kAnswer19);
}

TEST(PortTest, SerialNumbersGoOutAsSixHexDigits) {
    ProbeWindow window;
    window.form.TxtPNLSnr.setText("999999");
    window.test();
    EXPECT_EQ(window.serial.sent.front().bytes, kSoh + "(0F423F01" + kEot);
    EXPECT_EQ(window.serial.sent.back().bytes, kSoh + "(0F423F00" + kEot);
    EXPECT_EQ(window.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 999999\n\rwurde nicht am ausgewählten Port gefunden!");
}

TEST(PortTest, RefusedWhileThePortOrTheLineIsInUse) {
    ProbeWindow window;
    window.ports.inUse = {2};
    window.test();
    EXPECT_EQ(window.dialogs.last().text, "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!");
    EXPECT_EQ(window.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(window.serial.calls.empty());
    // A lock file the port could not be opened past is named.
    window.ports.holders[2] = "Sperrdatei /var/lock/LCK..ttyS1";
    window.test();
    EXPECT_EQ(
        window.dialogs.last().text,
        "Schnittstelle wird gegenwärtig genutzt. Kein Test möglich!\n(Sperrdatei /var/lock/LCK..ttyS1)");

    // A transfer holds the line: the test is refused, not interleaved, and told what holds it.
    window.ports.inUse.clear();
    {
        SerialLinkClaim transfer(*window.program, SerialLinkUse::Transfer);
        window.test();
        EXPECT_EQ(
            window.dialogs.last().text,
            "Die serielle Schnittstelle wird gerade für eine Datenübertragung genutzt. Kein Test möglich!");
        EXPECT_TRUE(window.serial.calls.empty());
        EXPECT_TRUE(window.program->serialLinkBusy);
        EXPECT_TRUE(window.testControlsEnabled());
    }

    // A second click while the probe's pause runs (the window stays live) names the port test.
    window.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == kQuery)
            window.loop.post(10, [&] { window.test(); });
    };
    window.test();
    ASSERT_EQ(window.dialogs.shown.size(), 5u);
    EXPECT_EQ(
        window.dialogs.shown[3].text,
        "Die serielle Schnittstelle wird gerade für einen Schnittstellentest genutzt. Kein Test möglich!");
    EXPECT_EQ(window.serial.sent.size(), 3u);
}

TEST(PortTest, WithoutAChosenStationOrDeviceNothingIsSent) {
    ProbeWindow window;
    window.controller.CmdPNLNeu_Click();
    window.test();
    EXPECT_EQ(window.dialogs.last().text, "Bitte wählen Sie für den Test eine PNLXXX aus!");
    EXPECT_TRUE(window.serial.sent.empty());
    EXPECT_EQ(std::count(window.serial.calls.begin(), window.serial.calls.end(), "open"), 0);
    EXPECT_TRUE(window.testControlsEnabled());

    // "Kein Gerät" only takes the controls away and gives them back.
    window.chooseDevice("Kein Gerät");
    std::vector<bool> states;
    window.form.CmdCOMSave.subscribe([&] { states.push_back(window.form.CmdCOMSave.enabled()); });
    window.test();
    EXPECT_EQ(states, (std::vector<bool>{false, true}));
    EXPECT_EQ(window.dialogs.shown.size(), 1u);
    EXPECT_TRUE(window.serial.sent.empty());
}

TEST(PortTest, APortThatWillNotOpenEndsAsNotFound) {
    ProbeWindow window;
    window.serial.failOpen = true;
    const std::int64_t start = window.loop.now();
    window.test();
    EXPECT_EQ(window.dialogs.last().text,
              "Die PNLXXX mit der Seriennr. 123456\n\rwurde nicht am ausgewählten Port gefunden!");
    EXPECT_EQ(window.loop.now(), start + 2600);
    EXPECT_TRUE(window.testControlsEnabled());
}

}  // namespace
}  // namespace pnl::test
