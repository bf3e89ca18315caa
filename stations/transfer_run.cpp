#include "stations/transfer_run.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/frm_pnl.h"
#include "link/interface_record.h"
#include "link/serial_link_claim.h"
#include "link/station_probe.h"
#include "stations/station_list.h"
#include "stations/transfer_line.h"

namespace pnl {
namespace {

void setControlsEnabled(FrmPNL& form, bool on) {
    form.CmdPNLTransStart.setEnabled(on);
    form.CmdPNLTransAll.setEnabled(on);
    form.CmdPNLTransCancel.setEnabled(on);
    form.TrVwPNLTrans.setEnabled(on);
}

TransferResult::Station transferStation(Program& program, FrmPNL& form, const TransferLink& link, int number,
                                        TransferProgress* progress) {
    const StationRecord record = readStation(program, number);
    TransferResult::Station station{number, record.label, StationOutcome::NothingToSend};
    if (!record.inUse()) {
        // Deleted in the station editor since the dialog was loaded: there is no serial number to send to.
        form.LstPNLTrans.clear();
        station.outcome = StationOutcome::Skipped;
    } else {
        EncodeStation(program, form.LstPNLTrans, number);
        if (form.LstPNLTrans.count() > 0)
            station.outcome = StationTransfer(program, form, link, number, progress);
    }
    if (progress)
        progress->stationEnded(number, station.label, station.outcome);
    return station;
}

}  // namespace

bool TransferResult::anyFailed() const {
    for (const Station& station : stations)
        if (failed(station.outcome))
            return true;
    return false;
}

void FillTransferTree(Program& program, FrmPNL& form) {
    form.TrVwPNLTrans.clear();
    for (const StationRecord& station : listedStations(program))
        form.TrVwPNLTrans.addNode(stationNodeKey(station.number), station.label);
}

TransferResult TransferRun(Program& program, FrmPNL& form, TransferProgress* progress) {
    TransferResult result;
    if (SerialLinkInUse(program)) {
        program.msgBox(
            "Die serielle Schnittstelle wird gerade von einem anderen Vorgang genutzt (Schnittstellentest "
            "oder "
            "Datentransfer).\nBitte starten Sie den Transfer, wenn dieser beendet ist.",
            MsgIcon::Exclamation);
        return result;
    }

    const std::optional<TransferLink> link = TransferPort(program);
    if (!link) {
        program.msgBox("Keine Schnittstelle für PNL-Datentransfer definiert!", MsgIcon::Exclamation);
        return result;
    }
    if (!PreparePort(program, link->port, kTransferLineSettings, true, true,
                     link->modem ? kModemHandshake : kDirectHandshake)) {
        program.msgBox(
            "Die serielle Schnittstelle COM" + std::to_string(link->port) + " kann nicht geöffnet werden!",
            MsgIcon::Exclamation);
        return result;
    }

    SerialLinkClaim claim(program, SerialLinkUse::Transfer);
    result.started = true;
    setControlsEnabled(form, false);
    if (progress)
        progress->portOpened(link->port, TransferProgress::Ms(kPauseBeforeStations));
    program.pause.TimerWait(kPauseBeforeStations);

    CheckTree& tree = form.TrVwPNLTrans;
    const int nodes = tree.count();
    for (int i = 0; i < nodes && i < tree.count(); ++i) {
        if (!tree.node(i).checked)
            continue;
        result.stations.push_back(
            transferStation(program, form, *link, stationOfNodeKey(tree.node(i).key), progress));
        tree.setChecked(i, false);
    }

    if (program.serial.isOpen()) {
        program.serial.setDTREnable(false);
        program.serial.close();
    }
    if (progress)
        progress->portClosed(link->port, TransferProgress::Ms(kPauseAfterStations));
    program.pause.TimerWait(kPauseAfterStations);
    setControlsEnabled(form, true);
    return result;
}

void FrmPnlController::Form_Load() {
    FillTransferTree(program_, form_);
}

void FrmPnlController::CmdPNLTransAll_Click() {
    form_.TrVwPNLTrans.setAllChecked(true);
}

void FrmPnlController::CmdPNLTransCancel_Click() {
    if (running_)
        return;
    form_.setVisible(false);
}

void FrmPnlController::CmdPNLTransStart_Click() {
    if (running_)
        return;
    running_ = true;
    TransferRun(program_, form_);
    running_ = false;
}

}  // namespace pnl
