#include "stations/transfer_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/interface_record.h"
#include "link_fixture.h"

namespace pnl::test {
namespace {

using ::testing::HasSubstr;

struct TransferRunTest : ::testing::Test, LinkFixture {};

// Only labelled stations are listed; the second one has no residents.
TEST_F(TransferRunTest, TwoStationsTheSecondWithoutResidents) {
    writeSettings("COM1=30,FALSE",
                  "PNL00=PNL-B,Haupteingang,123456,,FALSE\nPNL01=\nPNL02=PNL-A,,2,,FALSE\n"
                  "PNL63=PNL-B,Hof,654321,,FALSE");
    createResidents();
    addResidentsOf(0, 3);
    dialog.Form_Load();
    EXPECT_EQ(form.TrVwPNLTrans.nodes(),
              (std::vector<CheckTree::Node>{{"S00", "Haupteingang", false}, {"S63", "Hof", false}}));
    dialog.CmdPNLTransAll_Click();

    EXPECT_EQ(form.LstPNLState.lines(),
              (std::vector<std::string>{"Haupteingang|nie übertragen|–", "Hof|nie übertragen|–"}));
    const auto start = inst.loop.now();
    bool disabledDuringRun = false;
    std::vector<std::string> statusLines;
    at(0, [&] { statusLines.push_back(form.LblPNLStatus.caption()); });
    at(1500, [&] {
        disabledDuringRun = !form.CmdPNLTransStart.enabled() && !form.CmdPNLTransAll.enabled() &&
                            form.CmdPNLTransCancel.enabled() && !form.TrVwPNLTrans.enabled() &&
                            program().serialLinkBusy && !dialog.Form_QueryUnload();
        statusLines.push_back(form.LblPNLStatus.caption());
    });
    at(22000 + 600 + 350 + 10, [&] { statusLines.push_back(form.LblPNLStatus.caption()); });
    dialog.CmdPNLTransStart_Click();
    // The whole run: 22 s, the station's 0.6 + 3 x 0.35 + 0.5 + 5 s, 15 s.
    EXPECT_EQ(statusLines, (std::vector<std::string>{
                               "Warte auf die PNL (noch 22 s) – noch ca. 0:45",
                               "Warte auf die PNL (noch 21 s) – noch ca. 0:44",
                               "PNL 1 von 2: Haupteingang – Datensatz 1 von 3 – noch ca. 0:22",
                           }));
    EXPECT_EQ(form.LblPNLStatus.caption(), "");

    EXPECT_EQ(sent().size(), 1u + 21u + 1u + 1u);  // nothing to Hof
    EXPECT_EQ(inst.serial.calls,
              (std::vector<std::string>{"port 1", "settings 9600,N,8,1", "dtr on", "rts on", "handshake 0",
                                        "open", "dtr off", "close"}));
    EXPECT_EQ(sent().front().atMs - start, 22000);
    EXPECT_EQ(inst.loop.now() - sent().back().atMs, 5000 + 15000);
    EXPECT_FALSE(inst.serial.isOpen());
    EXPECT_FALSE(anyTicked());
    EXPECT_EQ(form.LstPNLTrans.count(), 0);
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_TRUE(form.CmdPNLTransStart.enabled() && form.TrVwPNLTrans.enabled());
    EXPECT_FALSE(program().serialLinkBusy);
    EXPECT_EQ(inst.dialogs.texts(),
              (std::vector<std::string>{"PNL00 Haupteingang: mit 3 Bewohnern übertragen in 0:07\n"
                                        "PNL63 Hof: nichts zu senden (keine Bewohner zugeordnet)\n"
                                        "1 von 2 PNL übertragen."}));
    EXPECT_EQ(form.LstPNLState.lines()[0], "Haupteingang|aktuell|06.12.2026 09:30");
    EXPECT_EQ(form.LstPNLState.lines()[1], "Hof|nie übertragen|–");
    EXPECT_THAT(inst.readFile("PNL00_STAND.TXT"), HasSubstr("Stand=vollständig\n"));
    EXPECT_FALSE(inst.exists("PNL63_STAND.TXT"));

    // A resident moves in: the station shows it before anything is sent, and only it is chosen.
    addResident("Neu", "Nina", "9", std::int64_t{9}, "", std::int64_t{0}, "1");
    dialog.Form_Load();
    EXPECT_EQ(form.LstPNLState.lines()[0],
              "Haupteingang|geändert (1 neu, 0 entfernt, 0 geändert)|06.12.2026 09:30");
    dialog.TrVwPNLTrans_NodeSelect(0);
    EXPECT_EQ(form.LstPNLTrans.lines(), std::vector<std::string>{"neu: Neu, Nina|9|9|0|0"});
    dialog.CmdPNLTransChanged_Click();
    EXPECT_TRUE(form.TrVwPNLTrans.node(0).checked);
    EXPECT_FALSE(form.TrVwPNLTrans.node(1).checked);  // never sent, but it would receive nothing
}

TEST_F(TransferRunTest, PortLookupAndPortFailures) {
    // "030" is kind 30 to the editor's count, not to the transfer; only COM1 to COM8 count.
    writeSettings("COM1=\nCOM2=030,FALSE\nCOM3=51,X\nCOM4=x,y\nCOM9=30,FALSE\nCOM0=30,FALSE",
                  "PNL00=PNL-B,Haupteingang,1,,FALSE");
    program().InitX.setKey("COM6");
    EXPECT_EQ(CountPortsOfKind(program(), kStationLink, 3), 1);
    EXPECT_EQ(CountPortsOfKind(program(), kStationLink, 2), 0);
    EXPECT_EQ(CountPortsOfKind(program(), 51, 0), 1);
    EXPECT_EQ(CountPortsOfKind(program(), kNoDevice, 0), 6);  // empty and unreadable both read as kind 0
    EXPECT_EQ(program().InitX.key(), "COM6");
    EXPECT_FALSE(TransferRun(program(), form).started);
    EXPECT_EQ(inst.dialogs.last().text, "Keine Schnittstelle für PNL-Datentransfer definiert!");
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(inst.serial.calls.empty());

    // The first of two link ports is taken; a leading blank does not matter.
    writeSettings("COM2= 30,FALSE\nCOM5=30,FALSE", "");
    inst.serial.failOpen = true;
    EXPECT_FALSE(TransferRun(program(), form).started);
    EXPECT_EQ(inst.dialogs.last().text, "Die serielle Schnittstelle COM2 kann nicht geöffnet werden!");
    EXPECT_EQ(inst.serial.port, 2);
    EXPECT_EQ(inst.loop.now(), 0);
    EXPECT_TRUE(form.CmdPNLTransStart.enabled());
    EXPECT_FALSE(program().serialLinkBusy);

    // Without ticked stations the port is still opened and closed, with both waits.
    inst.serial.failOpen = false;
    const TransferResult result = TransferRun(program(), form);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.stations.empty());
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(inst.loop.now(), 22000 + 15000);
}

// Too many residents are refused, a station deleted meanwhile is skipped; 582 fit, ending just below 0x8000.
TEST_F(TransferRunTest, RefusedAndVanishedStationsDoNotStopTheRun) {
    writeSettings("COM1=30,FALSE",
                  "PNL00=PNL-B,Gross,1,,FALSE\nPNL01=PNL-B,Weg,2,,FALSE\nPNL02=PNL-B,Voll,3,,FALSE");
    createResidents();
    addResidentsOf(0, 583);
    addResidentsOf(1, 1);
    addResidentsOf(2, 582);
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();
    writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Gross,1,,FALSE\nPNL01=\nPNL02=PNL-B,Voll,3,,FALSE");
    const TransferResult result = TransferRun(program(), form);

    ASSERT_EQ(result.stations.size(), 3u);
    EXPECT_EQ(result.stations[0].outcome, StationOutcome::TooManyRecords);
    EXPECT_EQ(result.stations[1].outcome, StationOutcome::Skipped);
    EXPECT_EQ(result.stations[2].outcome, StationOutcome::Sent);
    EXPECT_EQ(inst.dialogs.texts(),
              std::vector<std::string>{"Der PNL Gross (PNL00) sind 583 Bewohner zugeordnet, sie "
                                       "kann höchstens 582 speichern.\nZu dieser PNL wird "
                                       "nichts übertragen."});
    const auto& texts = sent();
    ASSERT_EQ(texts.size(), 1u + 582u * 7u + 2u);  // only station 2
    EXPECT_EQ(texts.front().bytes, framed("(00000301"));
    EXPECT_EQ(texts[texts.size() - 3].bytes.substr(2, 4), "7FC8");
    EXPECT_EQ(texts[texts.size() - 2].bytes, framed(")00060100460201000000"));
    EXPECT_FALSE(anyTicked());
}

}  // namespace
}  // namespace pnl::test
