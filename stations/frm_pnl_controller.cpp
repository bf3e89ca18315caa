#include "stations/frm_pnl_controller.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/frm_pnl.h"
#include "platform/ini_file.h"
#include "stations/station_difference.h"
#include "stations/station_list.h"
#include "stations/transfer_report.h"

namespace pnl {

namespace {

constexpr const char* kSummaryTitle = "Datenübertragung zur PNL";

// The dialog's status line.
class StatusLineProgress : public TransferProgress {
  public:
    explicit StatusLineProgress(FrmPNL& form) : form_(form) {}
    void runStatus(const RunStatus& status) override { form_.LblPNLStatus.setCaption(statusLine(status)); }

  private:
    FrmPNL& form_;
};

}  // namespace

void FrmPnlController::showStationStates() {
    std::vector<std::string> lines;
    for (const CheckTree::Node& node : form_.TrVwPNLTrans.nodes()) {
        const StationDifference difference = StationDifferenceOf(program_, stationOfNodeKey(node.key));
        lines.push_back(node.text + "|" + statusText(difference) + "|" +
                        (difference.lastSent ? germanDateTime(*difference.lastSent) : "–"));
    }
    form_.LstPNLState.setLines(std::move(lines));
}

void FrmPnlController::CmdPNLTransChanged_Click() {
    TickChangedStations(program_, form_.TrVwPNLTrans);
}

void FrmPnlController::TrVwPNLTrans_NodeSelect(int index) {
    if (running_ || index < 0 || index >= form_.TrVwPNLTrans.count())
        return;
    const StationDifference difference =
        StationDifferenceOf(program_, stationOfNodeKey(form_.TrVwPNLTrans.node(index).key));
    form_.LstPNLTrans.setLines(differenceLines(difference, true));
}

void FrmPnlController::Form_Load() {
    FillTransferTree(program_, form_);
    showStationStates();
    const IniFile own(program_.fs, program_.path(kOwnSettingsFile));
    form_.ChkPNLCheck.setChecked(upper(own.read(kOwnTransferSection, kPresenceCheckKey)) == "TRUE");
}

void FrmPnlController::ChkPNLCheck_Click() {
    IniFile own(program_.fs, program_.path(kOwnSettingsFile));
    if (!own.write(kOwnTransferSection, kPresenceCheckKey, form_.ChkPNLCheck.checked() ? "TRUE" : "FALSE"))
        program_.msgBox("Die Einstellung kann nicht in " + std::string(kOwnSettingsFile) +
                            " gespeichert werden; sie gilt nur bis zum Schließen des Programms.",
                        MsgIcon::Exclamation);
}

void FrmPnlController::CmdPNLTransAll_Click() {
    form_.TrVwPNLTrans.setAllChecked(true);
}

void FrmPnlController::CmdPNLTransCancel_Click() {
    if (!running_) {
        form_.setVisible(false);
        return;
    }
    if (stopAfterStation_)
        return;
    // A station stopped in the middle would hold a broken directory: the run ends after the current one.
    if (program_.msgBox("Den Transfer nach dieser PNL beenden?\nDie PNL, die gerade übertragen wird, erhält "
                        "noch alle Bewohner; die übrigen werden nicht gesendet.",
                        MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
        stopAfterStation_ = true;
}

void FrmPnlController::CmdPNLTransStart_Click() {
    if (running_)
        return;
    running_ = true;
    for (;;) {
        stopAfterStation_ = false;
        StatusLineProgress status(form_);
        TransferOptions options;
        options.checkPresence = form_.ChkPNLCheck.checked();
        options.stopAfterStation = &stopAfterStation_;
        const TransferResult result = TransferRun(program_, form_, &status, options);
        form_.LblPNLStatus.setCaption("");
        if (!result.started)
            break;
        showStationStates();
        const std::vector<int> retry = result.failedStations();
        if (retry.empty()) {
            program_.msgBox(transferSummary(result), MsgIcon::Information, MsgButtons::Ok, kSummaryTitle);
            break;
        }
        if (program_.msgBox(transferSummary(result) + "\n\nDie fehlgeschlagenen PNL erneut versuchen?",
                            MsgIcon::Exclamation, MsgButtons::YesNo, kSummaryTitle) != MsgAnswer::Yes)
            break;
        form_.TrVwPNLTrans.setAllChecked(false);
        for (const int number : retry) {
            const int node = form_.TrVwPNLTrans.findKey(stationNodeKey(number));
            if (node >= 0)
                form_.TrVwPNLTrans.setChecked(node, true);
        }
    }
    running_ = false;
}

}  // namespace pnl
