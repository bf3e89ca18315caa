#include "stations/transfer_dialog.h"

#include <cmath>

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

void setControlsEnabled(TransferDialogForm& form, bool on) {
    form.start.setEnabled(on);
    form.selectAll.setEnabled(on);
    form.selectNone.setEnabled(on);
    form.selectChanged.setEnabled(on);
    form.stationTree.setEnabled(on);
}

// The stations of the tree's ticked nodes, in tree order.
std::vector<int> tickedStations(const CheckTree& tree) {
    std::vector<int> stations;
    for (const CheckTree::Node& node : tree.nodes())
        if (node.checked)
            stations.push_back(stationOfNodeKey(node.key));
    return stations;
}

}  // namespace

void TransferDialogProgress::portOpened(int, Ms) {
    setControlsEnabled(form_, false);
}

void TransferDialogProgress::stationStarted(int station, const std::string&, int, Ms) {
    form_.transferList.setLines(transferLines(directories_.of(station)));
    form_.progress.setValue(0);
    form_.progress.setVisible(true);
}

void TransferDialogProgress::recordWritten(int, int record, int records, Ms) {
    // 0 after the first record, 100 after the last; a single record leaves the bar at 0.
    if (records >= 2)
        form_.progress.setValue(static_cast<int>(std::lround((record - 1) * 100.0 / (records - 1))));
}

void TransferDialogProgress::sendingStopped(int) {
    form_.progress.setVisible(false);
}

void TransferDialogProgress::stationEnded(int station, const std::string& label, StationOutcome outcome) {
    failure_ = failed(outcome) && outcome != StationOutcome::NotSent
                   ? stationKey(station) + " " + label + ": " + outcomeText(outcome, 0, {}) + " – weiter: "
                   : "";
    if (outcome == StationOutcome::NotSent)
        return;  // left ticked, so that starting again sends it
    form_.transferList.setLines(outcome == StationOutcome::Skipped ? std::vector<std::string>{}
                                                                   : transferLines(directories_.of(station)));
    const int node = form_.stationTree.findKey(stationNodeKey(station));
    if (node >= 0)
        form_.stationTree.setChecked(node, false);
}

void TransferDialogProgress::runStatus(const RunStatus& status) {
    form_.status.setCaption(failure_ + statusLine(status) +
                            (stopping_ && *stopping_ ? kEndsAfterStation : ""));
}

StationDifference TransferDialogController::differenceOf(int node) {
    const int station = stationOfNodeKey(form_.stationTree.node(node).key);
    return StationDifferenceOf(program_, station, directories_.of(station));
}

void TransferDialogController::showStationStates() {
    std::vector<std::string> lines;
    for (int node = 0; node < form_.stationTree.count(); ++node) {
        const StationDifference difference = differenceOf(node);
        lines.push_back(form_.stationTree.node(node).text + "|" + statusText(difference) + "|" +
                        (difference.lastSent ? germanDateTime(*difference.lastSent) : "–"));
    }
    form_.stationStates.setLines(std::move(lines));
}

void TransferDialogController::selectChanged() {
    for (int node = 0; node < form_.stationTree.count(); ++node)
        form_.stationTree.setChecked(node, differenceOf(node).differs());
}

void TransferDialogController::stationHighlighted(int index) {
    highlighted_ = index;
    if (running_ || index < 0 || index >= form_.stationTree.count())
        return;
    std::vector<std::string> lines = differenceRows(differenceOf(index));
    if (lines.empty())
        lines.push_back("Keine Änderungen");
    form_.transferList.setLines(std::move(lines));
}

void TransferDialogController::load() {
    directories_.forget();
    form_.stationTree.clear();
    for (const StationRecord& station : listedStations(program_))
        form_.stationTree.addNode(stationNodeKey(station.number), station.label);
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
        TransferDialogProgress progress(form_, directories_, &stopAfterStation_);
        TransferOptions options;
        options.checkPresence = form_.checkPresence.checked();
        options.stopAfterStation = &stopAfterStation_;
        const TransferResult result =
            TransferRun(program_, directories_, tickedStations(form_.stationTree), &progress, options);
        form_.status.setCaption("");
        if (!result.started)
            break;
        setControlsEnabled(form_, true);
        directories_.forget();
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
