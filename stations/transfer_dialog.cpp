#include "stations/transfer_dialog.h"

#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "forms/transfer_dialog.h"
#include "platform/ini_file.h"
#include "stations/station_difference.h"
#include "stations/station_list.h"
#include "stations/transfer_report.h"

namespace pnl {

namespace {

constexpr const char* kSummaryTitle = "Datenübertragung zur PNL";

constexpr const char* kEndsAfterStation = " – der Transfer endet nach dieser PNL";

// The dialog's status line; a station that failed is told there until the next one ends, and a confirmed
// "Abbrechen" until the run ends.
class StatusLineProgress : public TransferProgress {
  public:
    StatusLineProgress(TransferDialogForm& form, const bool& stopping) : form_(form), stopping_(stopping) {}
    void stationEnded(int station, const std::string& label, StationOutcome outcome) override {
        failure_ =
            failed(outcome) && outcome != StationOutcome::NotSent
                ? stationKey(station) + " " + label + ": " + outcomeText(outcome, 0, {}) + " – weiter: "
                : "";
    }
    void runStatus(const RunStatus& status) override {
        form_.status.setCaption(failure_ + statusLine(status) + (stopping_ ? kEndsAfterStation : ""));
    }

  private:
    TransferDialogForm& form_;
    const bool& stopping_;
    std::string failure_;
};

}  // namespace

void TransferDialogController::showStationStates() {
    std::vector<std::string> lines;
    for (const CheckTree::Node& node : form_.stationTree.nodes()) {
        const StationDifference difference = StationDifferenceOf(program_, stationOfNodeKey(node.key));
        lines.push_back(node.text + "|" + statusText(difference) + "|" +
                        (difference.lastSent ? germanDateTime(*difference.lastSent) : "–"));
    }
    form_.stationStates.setLines(std::move(lines));
}

void TransferDialogController::selectChanged() {
    TickChangedStations(program_, form_.stationTree);
}

void TransferDialogController::stationHighlighted(int index) {
    highlighted_ = index;
    if (running_ || index < 0 || index >= form_.stationTree.count())
        return;
    const StationDifference difference =
        StationDifferenceOf(program_, stationOfNodeKey(form_.stationTree.node(index).key));
    std::vector<std::string> lines = differenceLines(difference, true);
    if (lines.empty())
        lines.push_back("Keine Änderungen");
    form_.transferList.setLines(std::move(lines));
}

void TransferDialogController::load() {
    FillTransferTree(program_, form_);
    showStationStates();
    const IniFile own(program_.fs, program_.path(kOwnSettingsFile));
    form_.checkPresence.setChecked(upper(own.read(kOwnTransferSection, kPresenceCheckKey)) == "TRUE");
}

void TransferDialogController::checkPresenceToggled() {
    IniFile own(program_.fs, program_.path(kOwnSettingsFile));
    if (!own.write(kOwnTransferSection, kPresenceCheckKey, form_.checkPresence.checked() ? "TRUE" : "FALSE"))
        program_.msgBox("Die Einstellung kann nicht in " + std::string(kOwnSettingsFile) +
                            " gespeichert werden; sie gilt nur bis zum Schließen des Programms.",
                        MsgIcon::Exclamation);
}

void TransferDialogController::selectAll() {
    form_.stationTree.setAllChecked(true);
}

void TransferDialogController::selectNone() {
    form_.stationTree.setAllChecked(false);
}

void TransferDialogController::cancel() {
    if (!running_) {
        form_.setVisible(false);
        return;
    }
    if (stopAfterStation_)
        return;
    // A station stopped in the middle would hold a broken directory: the run ends after the current one.
    if (program_.msgBox("Den Transfer nach dieser PNL beenden?\nDie PNL, die gerade übertragen wird, erhält "
                        "noch alle Bewohner; die übrigen werden nicht gesendet.",
                        MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes) {
        stopAfterStation_ = true;
        // Said at once: the station being sent may take a while yet.
        form_.status.setCaption(form_.status.caption() + kEndsAfterStation);
    }
}

void TransferDialogController::startTransfer() {
    if (running_)
        return;
    running_ = true;
    for (;;) {
        stopAfterStation_ = false;
        StatusLineProgress status(form_, stopAfterStation_);
        TransferOptions options;
        options.checkPresence = form_.checkPresence.checked();
        options.stopAfterStation = &stopAfterStation_;
        const TransferResult result = TransferRun(program_, form_, &status, options);
        form_.status.setCaption("");
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
        form_.stationTree.setAllChecked(false);
        for (const int number : retry) {
            const int node = form_.stationTree.findKey(stationNodeKey(number));
            if (node >= 0)
                form_.stationTree.setChecked(node, true);
        }
    }
    running_ = false;
    // The list showed the lines sent; it shows the highlighted station's difference again.
    stationHighlighted(highlighted_);
}

}  // namespace pnl
