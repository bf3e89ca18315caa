#include "stations/frm_pnl_controller.h"

#include <gtest/gtest.h>

#include "link_fixture.h"

namespace pnl::test {
namespace {

struct TransferRunTest : ::testing::Test {
    LinkFixture f;
    FrmPnlController dialog{f.program(), f.form};

    void tick(const std::string& key) {
        f.form.TrVwPNLTrans.setChecked(f.form.TrVwPNLTrans.findKey(key), true);
    }
    bool anyTicked() const {
        for (const auto& node : f.form.TrVwPNLTrans.nodes())
            if (node.checked)
                return true;
        return false;
    }
    // Runs `action` at the given virtual instant after now (the user acting while the run pauses).
    void at(std::int64_t ms, std::function<void()> action) { f.inst.loop.post(ms, std::move(action)); }
};

TEST_F(TransferRunTest, TreeListsLabelledStationsInNumberOrder) {
    f.writeSettings(
        "COM1=30,FALSE",
        "PNL00=PNL-B,Haupteingang,1,,FALSE\nPNL01=\nPNL02=PNL-A,,2,,FALSE\nPNL07=PNL-C,Anbau,7,,FALSE\n"
        "PNL63=PNL-K,Garage,63,,FALSE");
    dialog.Form_Load();
    const auto& nodes = f.form.TrVwPNLTrans.nodes();
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0], (CheckTree::Node{"S00", "Haupteingang", false}));
    EXPECT_EQ(nodes[1], (CheckTree::Node{"S07", "Anbau", false}));
    EXPECT_EQ(nodes[2], (CheckTree::Node{"S63", "Garage", false}));
    dialog.CmdPNLTransAll_Click();
    for (const auto& node : f.form.TrVwPNLTrans.nodes())
        EXPECT_TRUE(node.checked);
    EXPECT_EQ(f.form.caption(), "Datenübertragung zur PNL");
    EXPECT_EQ(f.form.CmdPNLTransStart.caption(), "Transfer starten");
}

TEST_F(TransferRunTest, TwoStationsTheSecondWithoutResidents) {
    f.writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Haupteingang,123456,,FALSE\nPNL01=PNL-B,Hof,654321,,FALSE");
    f.createResidents();
    f.addResidentsOf(0, 3);
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();

    EXPECT_EQ(f.form.LstPNLState.lines(),
              (std::vector<std::string>{"Haupteingang|nie übertragen|–", "Hof|nie übertragen|–"}));
    const auto start = f.inst.loop.now();
    bool disabledDuringRun = false;
    std::vector<std::string> statusLines;
    at(0, [&] { statusLines.push_back(f.form.LblPNLStatus.caption()); });
    at(1500, [&] {
        disabledDuringRun = !f.form.CmdPNLTransStart.enabled() && !f.form.CmdPNLTransAll.enabled() &&
                            f.form.CmdPNLTransCancel.enabled() && !f.form.TrVwPNLTrans.enabled() &&
                            f.program().serialLinkBusy && !dialog.Form_QueryUnload();
        statusLines.push_back(f.form.LblPNLStatus.caption());
    });
    at(22000 + 600 + 350 + 10, [&] { statusLines.push_back(f.form.LblPNLStatus.caption()); });
    dialog.CmdPNLTransStart_Click();
    // The whole run: 22 s, the station's 0.6 + 3 x 0.35 + 0.5 + 5 s, 15 s.
    EXPECT_EQ(statusLines, (std::vector<std::string>{
                               "Warte auf die PNL (noch 22 s) – noch ca. 0:45",
                               "Warte auf die PNL (noch 21 s) – noch ca. 0:44",
                               "PNL 1 von 2: Haupteingang – Datensatz 1 von 3 – noch ca. 0:22",
                           }));
    EXPECT_EQ(f.form.LblPNLStatus.caption(), "");

    const auto texts = f.sentTexts();
    ASSERT_EQ(texts.size(), 1u + 21u + 1u + 1u);
    EXPECT_EQ(texts.front(), framed("(01E24001"));
    EXPECT_EQ(texts[22], framed(")00060100030001000000"));
    EXPECT_EQ(texts.back(), framed("(01E24080"));
    for (const auto& text : texts)
        EXPECT_EQ(text.find("09FBF1"), std::string::npos);  // 654321: nothing

    EXPECT_EQ(f.inst.serial.calls,
              (std::vector<std::string>{"port 1", "settings 9600,N,8,1", "dtr on", "rts on", "handshake 0",
                                        "open", "dtr off", "close"}));
    EXPECT_EQ(f.sent().front().atMs - start, 22000);
    EXPECT_EQ(f.inst.loop.now() - f.sent().back().atMs, 5000 + 15000);
    EXPECT_FALSE(f.inst.serial.isOpen());
    EXPECT_FALSE(anyTicked());
    EXPECT_EQ(f.form.LstPNLTrans.count(), 0);
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_TRUE(f.form.CmdPNLTransStart.enabled() && f.form.TrVwPNLTrans.enabled());
    EXPECT_FALSE(f.program().serialLinkBusy);
    EXPECT_EQ(f.inst.dialogs.texts(),
              (std::vector<std::string>{"PNL00 Haupteingang: mit 3 Bewohnern übertragen in 0:07\n"
                                        "PNL01 Hof: nichts zu senden (keine Bewohner zugeordnet)\n"
                                        "1 von 2 PNL übertragen."}));
    EXPECT_EQ(f.form.LstPNLState.lines()[0], "Haupteingang|aktuell|06.12.2026 09:30");
    EXPECT_EQ(f.form.LstPNLState.lines()[1], "Hof|nie übertragen|–");
    EXPECT_NE(f.inst.readFile("PNL00_STAND.TXT").find("Stand=vollständig\n"), std::string::npos);
    EXPECT_FALSE(f.inst.exists("PNL01_STAND.TXT"));

    // A resident moves in: the station shows it before anything is sent, and only it is chosen.
    f.addResident("Neu", "Nina", "9", std::int64_t{9}, "", std::int64_t{0}, "1");
    dialog.Form_Load();
    EXPECT_EQ(f.form.LstPNLState.lines()[0],
              "Haupteingang|geändert (1 neu, 0 entfernt, 0 geändert)|06.12.2026 09:30");
    dialog.TrVwPNLTrans_NodeSelect(0);
    EXPECT_EQ(f.form.LstPNLTrans.lines(), std::vector<std::string>{"neu: Neu, Nina|9|9|0|0"});
    dialog.CmdPNLTransChanged_Click();
    EXPECT_TRUE(f.form.TrVwPNLTrans.node(0).checked);
    EXPECT_FALSE(f.form.TrVwPNLTrans.node(1).checked);  // never sent, but it would receive nothing
}

TEST_F(TransferRunTest, RunWithoutTickedStationsStillOpensAndClosesThePort) {
    dialog.Form_Load();
    const auto start = f.inst.loop.now();
    const TransferResult result = TransferRun(f.program(), f.form);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.stations.empty());
    EXPECT_TRUE(f.sent().empty());
    EXPECT_EQ(f.inst.serial.calls.back(), "close");
    EXPECT_EQ(f.inst.loop.now() - start, 22000 + 15000);
}

TEST_F(TransferRunTest, PortLookupAndPortFailures) {
    // No port of the station link: nothing touched.
    f.writeSettings("COM1=\nCOM2=030,FALSE\nCOM3=51,X", "PNL00=PNL-B,Haupteingang,1,,FALSE");
    EXPECT_FALSE(TransferRun(f.program(), f.form).started);
    EXPECT_EQ(f.inst.dialogs.last().text, "Keine Schnittstelle für PNL-Datentransfer definiert!");
    EXPECT_EQ(f.inst.dialogs.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.inst.serial.calls.empty());

    // The first of two link ports is taken; a leading blank does not matter.
    f.writeSettings("COM2= 30,FALSE\nCOM5=30,FALSE", "");
    f.inst.serial.failOpen = true;
    EXPECT_FALSE(TransferRun(f.program(), f.form).started);
    EXPECT_EQ(f.inst.dialogs.last().text, "Die serielle Schnittstelle COM2 kann nicht geöffnet werden!");
    EXPECT_EQ(f.inst.serial.port, 2);
    EXPECT_EQ(f.inst.loop.now(), 0);
    EXPECT_TRUE(f.form.CmdPNLTransStart.enabled());
    EXPECT_FALSE(f.program().serialLinkBusy);
}

TEST_F(TransferRunTest, ModemRunGoesOnAfterAFailedCall) {
    f.writeSettings(
        "COM1=30,TRUE,ATZ,X,9,",
        "PNL00=PNL-B,Eins,1,111,FALSE\nPNL01=PNL-B,Zwei,2,222,FALSE\nPNL02=PNL-B,Drei,3,333,FALSE");
    f.createResidents();
    f.addResident("A", "", "1", std::int64_t{1}, "", std::int64_t{0}, std::string(3, '1'));
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == "9 111\n\r" || bytes == "9 333\n\r")
            f.inst.serial.carrier = true;
        if (bytes == "ATH\n\r")
            f.inst.serial.carrier = false;
    };
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();
    const TransferResult result = TransferRun(f.program(), f.form);

    const std::vector<std::string> dialled{"ATZ\n\r",   "9 111\n\r", "ATZ\n\r",
                                           "9 222\n\r", "ATZ\n\r",   "9 333\n\r"};
    std::vector<std::string> commands;
    for (const auto& text : f.sentTexts())
        if (text.front() != '\x01')
            commands.push_back(text);
    EXPECT_EQ(commands, (std::vector<std::string>{"ATZ\n\r", "9 111\n\r", "ATH\n\r", "ATZ\n\r", "9 222\n\r",
                                                  "ATZ\n\r", "9 333\n\r", "ATH\n\r"}));
    EXPECT_EQ(f.sentTexts().size(), 2 * (3u + 10u) + 2u);
    EXPECT_EQ(f.inst.dialogs.texts(), (std::vector<std::string>{"Keine Modemverbindung!"}));
    EXPECT_EQ(f.inst.serial.handshake, 3);
    ASSERT_EQ(result.stations.size(), 3u);
    EXPECT_EQ(result.stations[1].outcome, StationOutcome::NoCarrier);
    EXPECT_EQ(result.stations[2].outcome, StationOutcome::Sent);
    EXPECT_TRUE(result.anyFailed());
    EXPECT_FALSE(anyTicked());
}

TEST_F(TransferRunTest, RefusedAndVanishedStationsDoNotStopTheRun) {
    f.writeSettings("COM1=30,FALSE",
                    "PNL00=PNL-B,Gross,1,,FALSE\nPNL01=PNL-B,Weg,2,,FALSE\nPNL02=PNL-B,Klein,3,,FALSE");
    f.createResidents();
    f.addResidentsOf(0, 583);
    f.addResidentsOf(1, 1);
    f.addResidentsOf(2, 2);
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();
    // The station "Weg" is deleted in the station editor after the dialog was loaded.
    f.writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Gross,1,,FALSE\nPNL01=\nPNL02=PNL-B,Klein,3,,FALSE");
    const TransferResult result = TransferRun(f.program(), f.form);

    ASSERT_EQ(result.stations.size(), 3u);
    EXPECT_EQ(result.stations[0].outcome, StationOutcome::TooManyRecords);
    EXPECT_EQ(result.stations[1].outcome, StationOutcome::Skipped);
    EXPECT_EQ(result.stations[2].outcome, StationOutcome::Sent);
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_NE(f.inst.dialogs.last().text.find("Gross (PNL00)"), std::string::npos);
    EXPECT_NE(f.inst.dialogs.last().text.find("583"), std::string::npos);
    const auto texts = f.sentTexts();
    ASSERT_EQ(texts.size(), 1u + 14u + 2u);  // only station 2
    EXPECT_EQ(texts.front(), framed("(00000301"));
    EXPECT_FALSE(anyTicked());
}

TEST_F(TransferRunTest, LineIsKeptForTheWholeRun) {
    f.createResidents();
    f.addResidentsOf(0, 1);
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();

    bool secondPauseRefused = false;
    f.inst.dialogs.answer(MsgAnswer::No);  // "Abbrechen" asks; the run goes on
    at(5000, [&] {
        dialog.CmdPNLTransCancel_Click();  // a running transfer does not close the dialog
        dialog.CmdPNLTransStart_Click();   // nor starts twice
        secondPauseRefused = !f.program().pause.TimerWait(1000);
    });
    dialog.CmdPNLTransStart_Click();
    EXPECT_TRUE(secondPauseRefused);
    EXPECT_TRUE(f.form.visible());
    EXPECT_EQ(f.sentTexts().size(), 10u);
    ASSERT_EQ(f.inst.dialogs.shown.size(), 2u);
    EXPECT_EQ(f.inst.dialogs.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_NE(f.inst.dialogs.last().text.find("1 von 1 PNL übertragen."), std::string::npos);

    // A transfer while another user holds the line (a port test) is refused and touches nothing.
    f.inst.serial.calls.clear();
    f.program().serialLinkBusy = true;
    EXPECT_FALSE(TransferRun(f.program(), f.form).started);
    EXPECT_TRUE(f.inst.serial.calls.empty());
    EXPECT_NE(f.inst.dialogs.last().text.find("anderen Vorgang"), std::string::npos);
    f.program().serialLinkBusy = false;

    dialog.CmdPNLTransCancel_Click();
    EXPECT_FALSE(f.form.visible());
}

// Three stations by modem: the first call fails; "Abbrechen" during the second lets it complete; the third is
// not sent. The summary lists all three and offers another try of the first.
TEST_F(TransferRunTest, CancelEndsTheRunAfterTheCurrentStation) {
    f.writeSettings(
        "COM1=30,TRUE,ATZ,X,9,",
        "PNL00=PNL-B,Eins,1,111,FALSE\nPNL01=PNL-B,Zwei,2,222,FALSE\nPNL02=PNL-B,Drei,3,333,FALSE");
    f.createResidents();
    for (int i = 0; i < 4; ++i)
        f.addResident("R" + std::to_string(i), "", "1", std::int64_t{i + 1}, "", std::int64_t{0}, "111");
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == "9 222\n\r" || bytes == "9 333\n\r")
            f.inst.serial.carrier = true;
        if (bytes == "ATH\n\r")
            f.inst.serial.carrier = false;
    };
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();
    f.inst.dialogs.answer(MsgAnswer::Ok);   // "Keine Modemverbindung!"
    f.inst.dialogs.answer(MsgAnswer::Yes);  // stop after this station
    f.inst.dialogs.answer(MsgAnswer::No);   // no other try
    // Station 2 writes its records from 22 + 32 + 32.6 s on.
    at(22000 + 32000 + 32000 + 700, [&] { dialog.CmdPNLTransCancel_Click(); });
    dialog.CmdPNLTransStart_Click();

    const auto texts = f.inst.dialogs.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Keine Modemverbindung!");
    EXPECT_EQ(texts[2],
              "PNL00 Eins: keine Modemverbindung, nichts gesendet\n"
              "PNL01 Zwei: mit 4 Bewohnern übertragen in 0:42\n"
              "PNL02 Drei: nicht gesendet nach \"Abbrechen\"\n"
              "1 von 3 PNL übertragen.\n\nDie fehlgeschlagenen PNL erneut versuchen?");
    EXPECT_EQ(f.sentTexts().back(), "ATH\n\r");
    for (const auto& text : f.sentTexts())
        EXPECT_EQ(text.find("333"), std::string::npos);  // the third is never dialled
    EXPECT_FALSE(f.inst.exists("PNL00_STAND.TXT"));
    EXPECT_NE(f.inst.readFile("PNL01_STAND.TXT").find("Stand=vollständig"), std::string::npos);
    EXPECT_FALSE(f.inst.exists("PNL02_STAND.TXT"));
    // The station not sent stays ticked for the next start.
    EXPECT_TRUE(f.form.TrVwPNLTrans.node(2).checked);
    EXPECT_FALSE(f.form.TrVwPNLTrans.node(1).checked);
}

// A station whose line breaks off is recorded incomplete; "Erneut versuchen" sends it again.
TEST_F(TransferRunTest, BrokenStationIsRecordedIncompleteAndTriedAgain) {
    f.writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Haupteingang,123456,,FALSE");
    f.createResidents();
    f.addResidentsOf(0, 2);
    dialog.Form_Load();
    dialog.CmdPNLTransAll_Click();
    std::string stateAfterBreak;
    f.inst.serial.onOutput = [&](const std::string&) {
        if (f.inst.serial.sent.size() == 5 && stateAfterBreak.empty())
            f.inst.serial.failOutput = true;
    };
    f.inst.dialogs.whileShown = [&](const Message& message) {
        if (message.buttons == MsgButtons::YesNo) {
            stateAfterBreak = f.inst.readFile("PNL00_STAND.TXT");
            f.inst.serial.failOutput = false;
        }
    };
    f.inst.dialogs.answer(MsgAnswer::Ok);   // the line failed
    f.inst.dialogs.answer(MsgAnswer::Yes);  // try again
    dialog.CmdPNLTransStart_Click();

    EXPECT_NE(stateAfterBreak.find("Stand=unvollständig"), std::string::npos) << stateAfterBreak;
    EXPECT_NE(f.inst.readFile("PNL00_STAND.TXT").find("Stand=vollständig"), std::string::npos);
    const auto texts = f.inst.dialogs.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_NE(texts[1].find("PNL00 Haupteingang: Leitung gestört, die PNL ist unvollständig"),
              std::string::npos);
    EXPECT_NE(texts[2].find("PNL00 Haupteingang: mit 2 Bewohnern übertragen"), std::string::npos);
}

}  // namespace
}  // namespace pnl::test
