#include "stations/transfer_run.h"

#include <algorithm>

#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "forms/frm_pnl.h"
#include "link/interface_record.h"
#include "link/serial_link_claim.h"
#include "link/station_probe.h"
#include "stations/run_progress.h"
#include "stations/station_list.h"
#include "stations/transfer_line.h"

namespace pnl {
namespace {

void setControlsEnabled(FrmPNL& form, bool on) {
    form.CmdPNLTransStart.setEnabled(on);
    form.CmdPNLTransAll.setEnabled(on);
    form.TrVwPNLTrans.setEnabled(on);
}

std::int64_t secondsOf(const DateTime& t) {
    using namespace std::chrono;
    const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                        std::chrono::day{static_cast<unsigned>(t.day)}};
    return duration_cast<seconds>(day.time_since_epoch()).count() + t.hour * 3600 + t.minute * 60 + t.second;
}

// The probe's frames ask whether the station answers (on a direct line only: a modem has no station on the
// line before it has dialled).
bool stationAnswers(Program& program, const StationRecord& record) {
    return ProbeStationOnLine(program, static_cast<std::uint32_t>(leadingNumber(record.serial)), [](bool) {});
}

TransferResult::Station transferStation(Program& program, FrmPNL& form, const TransferLink& link, int number,
                                        const TransferOptions& options, TransferProgress* progress) {
    const auto start = secondsOf(program.loop.clock().now());
    const StationRecord record = readStation(program, number);
    TransferResult::Station station{number, record.label, StationOutcome::NothingToSend};
    if (!record.inUse()) {
        // Deleted in the station editor since the dialog was loaded: there is no serial number to send to.
        form.LstPNLTrans.clear();
        station.outcome = StationOutcome::Skipped;
    } else {
        EncodeStation(program, form.LstPNLTrans, number);
        station.records = form.LstPNLTrans.count();
        if (station.records > 0 && options.checkPresence && !link.modem && !stationAnswers(program, record))
            station.outcome = StationOutcome::NotPresent;
        else if (station.records > 0)
            station.outcome = StationTransfer(program, form, link, number, progress);
    }
    station.took = std::chrono::seconds(secondsOf(program.loop.clock().now()) - start);
    if (progress)
        progress->stationEnded(number, station.label, station.outcome);
    return station;
}

// The chosen stations in tree order, with the residents each would receive.
std::vector<RunProgress::Planned> planRun(Program& program, const CheckTree& tree, std::vector<int>* nodes) {
    std::vector<RunProgress::Planned> plan;
    ColumnList lines;
    for (int i = 0; i < tree.count(); ++i) {
        if (!tree.node(i).checked)
            continue;
        const int number = stationOfNodeKey(tree.node(i).key);
        EncodeStation(program, lines, number);
        plan.push_back(RunProgress::Planned{number, readStation(program, number).label, lines.count()});
        nodes->push_back(i);
    }
    return plan;
}

}  // namespace

bool TransferResult::anyFailed() const {
    for (const Station& station : stations)
        if (failed(station.outcome))
            return true;
    return false;
}

std::vector<int> TransferResult::failedStations() const {
    std::vector<int> numbers;
    for (const Station& station : stations)
        if (failed(station.outcome) && station.outcome != StationOutcome::NotSent)
            numbers.push_back(station.number);
    return numbers;
}

std::vector<int> TransferResult::sentStations() const {
    std::vector<int> numbers;
    for (const Station& station : stations)
        if (station.outcome == StationOutcome::Sent)
            numbers.push_back(station.number);
    return numbers;
}

void FillTransferTree(Program& program, FrmPNL& form) {
    form.TrVwPNLTrans.clear();
    for (const StationRecord& station : listedStations(program))
        form.TrVwPNLTrans.addNode(stationNodeKey(station.number), station.label);
}

TransferResult TransferRun(Program& program, FrmPNL& form, TransferProgress* outer,
                           const TransferOptions& options) {
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
    CheckTree& tree = form.TrVwPNLTrans;
    std::vector<int> nodes;
    const bool probing = options.checkPresence && !link->modem;
    RunProgress progress(program.loop, outer, planRun(program, tree, &nodes), link->modem,
                         TransferProgress::Ms(probing ? kSelectPauseMs + kQueryPauseMs : 0));
    progress.portOpened(link->port, TransferProgress::Ms(kPauseBeforeStations));
    program.pause.TimerWait(kPauseBeforeStations);

    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const int node = nodes[i];
        if (node >= tree.count())
            break;
        const int number = stationOfNodeKey(tree.node(node).key);
        if (options.stopAfterStation && *options.stopAfterStation) {
            // Left ticked, so that starting again sends them.
            result.stations.push_back(
                {number, readStation(program, number).label, StationOutcome::NotSent, 0, {}});
            progress.stationEnded(number, result.stations.back().label, StationOutcome::NotSent);
            continue;
        }
        progress.beginStation(static_cast<int>(i));
        result.stations.push_back(transferStation(program, form, *link, number, options, &progress));
        // A station whose line failed holds part of its new directory: it too keeps data "Nein" discards.
        const StationOutcome outcome = result.stations.back().outcome;
        if (outcome == StationOutcome::Sent || outcome == StationOutcome::LineFailed ||
            outcome == StationOutcome::SentStateNotSaved)
            program.stationsSent.insert(number);
        tree.setChecked(node, false);
    }

    if (program.serial.isOpen()) {
        program.serial.setDTREnable(false);
        program.serial.close();
    }
    progress.portClosed(link->port, TransferProgress::Ms(kPauseAfterStations));
    program.pause.TimerWait(kPauseAfterStations);
    setControlsEnabled(form, true);
    return result;
}

}  // namespace pnl
