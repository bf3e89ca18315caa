#include "stations/transfer_run.h"

#include <algorithm>

#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "link/interface_record.h"
#include "link/serial_link_claim.h"
#include "link/station_probe.h"
#include "stations/run_progress.h"
#include "stations/station_list.h"

namespace pnl {
namespace {

std::int64_t secondsOf(const DateTime& t) {
    using namespace std::chrono;
    const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                        std::chrono::day{static_cast<unsigned>(t.day)}};
    const auto time = day.time_since_epoch() + hours{t.hour} + minutes{t.minute} + seconds{t.second};
    return duration_cast<seconds>(time).count();
}

// The probe's frames ask whether the station answers (on a direct line only: a modem has no station on the
// line before it has dialled). The probe's closing frame gets its pause before any frame follows.
bool stationAnswers(Program& program, const StationRecord& record) {
    const bool answered =
        ProbeStationOnLine(program, static_cast<std::uint32_t>(leadingNumber(record.serial)), [](bool) {});
    program.pause.TimerWait(kProbeClosePauseMs);
    return answered;
}

TransferResult::Station transferStation(Program& program, const StationDirectory& directory,
                                        const TransferLink& link, int number, const TransferOptions& options,
                                        TransferProgress* progress) {
    const auto start = secondsOf(program.loop.clock().now());
    const StationRecord record = readStation(program, number);
    TransferResult::Station station{number, record.label, StationOutcome::NothingToSend};
    if (!record.inUse()) {
        // Deleted in the station editor since the stations were chosen: there is no serial number to send to.
        station.outcome = StationOutcome::Skipped;
    } else {
        station.records = static_cast<int>(directory.size());
        const bool probe = station.records > 0 && options.checkPresence && !link.modem;
        const bool answered = probe && stationAnswers(program, record);
        if (probe && !answered)
            station.outcome = StationOutcome::NotPresent;
        else if (station.records > 0)
            station.outcome = StationTransfer(program, directory, link, number, progress, answered);
    }
    station.took = std::chrono::seconds(secondsOf(program.loop.clock().now()) - start);
    if (progress)
        progress->stationEnded(number, station.label, station.outcome);
    return station;
}

// The chosen stations in their order, with the residents each would receive.
std::vector<RunProgress::Planned> planRun(Program& program, StationDirectories& directories,
                                          const std::vector<int>& stations) {
    std::vector<RunProgress::Planned> plan;
    plan.reserve(stations.size());
    for (const int number : stations)
        plan.push_back(RunProgress::Planned{number, readStation(program, number).label,
                                            static_cast<int>(directories.of(number).size())});
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

TransferResult TransferRun(Program& program, StationDirectories& directories,
                           const std::vector<int>& stations, TransferProgress* progress,
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
    std::string why;
    if (!PreparePort(program, link->port, kTransferLineSettings, true, true,
                     link->modem ? kModemHandshake : kDirectHandshake, &why)) {
        // The reason (an adapter not plugged in, no permission) tells the user what to do.
        program.msgBox("Die serielle Schnittstelle COM" + std::to_string(link->port) +
                           " kann nicht geöffnet werden!" + (why.empty() ? "" : "\n" + why),
                       MsgIcon::Exclamation);
        return result;
    }

    SerialLinkClaim claim(program, SerialLinkUse::Transfer);
    result.started = true;
    const bool probing = options.checkPresence && !link->modem;
    RunProgress run(program.loop, progress, planRun(program, directories, stations), link->modem,
                    TransferProgress::Ms(probing ? kSelectPauseMs + kQueryPauseMs + kProbeClosePauseMs : 0));
    run.portOpened(link->port, TransferProgress::Ms(kPauseBeforeStations));
    program.pause.TimerWait(kPauseBeforeStations);

    for (std::size_t i = 0; i < stations.size(); ++i) {
        const int number = stations[i];
        if (options.stopAfterStation && *options.stopAfterStation) {
            result.stations.push_back(
                {number, readStation(program, number).label, StationOutcome::NotSent, 0, {}});
            run.stationEnded(number, result.stations.back().label, StationOutcome::NotSent);
            continue;
        }
        run.beginStation(static_cast<int>(i));
        // A copy: the pauses of the station transfer service events, and a change of the residents meanwhile
        // makes the directories be built again.
        const StationDirectory directory = directories.of(number);
        result.stations.push_back(transferStation(program, directory, *link, number, options, &run));
        // A station whose line failed holds part of its new directory: it too keeps data "Nein" discards.
        const StationOutcome outcome = result.stations.back().outcome;
        if (outcome == StationOutcome::Sent || outcome == StationOutcome::LineFailed ||
            outcome == StationOutcome::SentStateNotSaved)
            program.stationsSent.insert(number);
    }

    if (program.serial.isOpen()) {
        program.serial.setDTREnable(false);
        program.serial.close();
    }
    run.portClosed(link->port, TransferProgress::Ms(kPauseAfterStations));
    program.pause.TimerWait(kPauseAfterStations);
    return result;
}

}  // namespace pnl
