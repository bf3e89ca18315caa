#include "stations/run_progress.h"

#include "platform/event_loop.h"
#include "stations/transfer_run.h"

namespace pnl {

RunProgress::RunProgress(EventLoop& loop, TransferProgress* outer, std::vector<Planned> plan, bool modem,
                         Ms perStationExtra)
    : loop_(loop), outer_(outer), plan_(std::move(plan)), modem_(modem), perStationExtra_(perStationExtra) {
    status_.stations = static_cast<int>(plan_.size());
}

RunProgress::~RunProgress() {
    if (timer_ != 0)
        loop_.stopTimer(timer_);
}

TransferProgress::Ms RunProgress::stationTime(const Planned& planned) const {
    // A station without residents is neither probed nor sent to.
    return planned.records > 0 ? stationTransferTime(planned.records, modem_) + perStationExtra_ : Ms(0);
}

TransferProgress::Ms RunProgress::after(int index) const {
    Ms left(kPauseAfterStations);
    for (std::size_t i = static_cast<std::size_t>(index) + 1; i < plan_.size(); ++i)
        left += stationTime(plan_[i]);
    return left;
}

void RunProgress::emit() {
    if (outer_)
        outer_->runStatus(status_);
}

void RunProgress::tick() {
    const Ms second(1000);
    status_.runLeft = std::max(status_.runLeft - second, Ms(0));
    status_.waitLeft = std::max(status_.waitLeft - second, Ms(0));
    emit();
}

void RunProgress::beginStation(int index) {
    const Planned& planned = plan_.at(static_cast<std::size_t>(index));
    status_.phase = RunStatus::Phase::Station;
    status_.position = index + 1;
    status_.label = planned.label;
    status_.record = 0;
    status_.records = planned.records;
    status_.runLeft = stationTime(planned) + after(index);
    emit();
}

void RunProgress::portOpened(int port, Ms pause) {
    if (outer_)
        outer_->portOpened(port, pause);
    status_.phase = RunStatus::Phase::Waiting;
    status_.waitLeft = pause;
    status_.runLeft = pause + after(-1);
    if (timer_ == 0)
        timer_ = loop_.startTimer(Ms(1000), true, [this] { tick(); });
    emit();
}

void RunProgress::stationStarted(int station, const std::string& label, int records, Ms timeLeft) {
    if (outer_)
        outer_->stationStarted(station, label, records, timeLeft);
    status_.records = records;
    status_.runLeft = timeLeft + after(status_.position - 1);
    emit();
}

void RunProgress::recordWritten(int station, int record, int records, Ms timeLeft) {
    if (outer_)
        outer_->recordWritten(station, record, records, timeLeft);
    status_.record = record;
    status_.runLeft = timeLeft + after(status_.position - 1);
    emit();
}

void RunProgress::sendingStopped(int station) {
    if (outer_)
        outer_->sendingStopped(station);
}

void RunProgress::stationFailed(const std::string& text) {
    if (outer_)
        outer_->stationFailed(text);
}

void RunProgress::stationEnded(int station, const std::string& label, StationOutcome outcome) {
    if (outer_)
        outer_->stationEnded(station, label, outcome);
    status_.runLeft = after(status_.position - 1);
    // From here on the status names the station that comes next: after a failure the line reads "… – weiter:
    // PNL 2 von 3: Nebeneingang", not the station that just failed.
    if (status_.position < static_cast<int>(plan_.size())) {
        const Planned& next = plan_[static_cast<std::size_t>(status_.position)];
        ++status_.position;
        status_.label = next.label;
        status_.record = 0;
        status_.records = next.records;
    }
    emit();
}

void RunProgress::portClosed(int port, Ms pause) {
    if (outer_)
        outer_->portClosed(port, pause);
    status_.phase = RunStatus::Phase::Closing;
    status_.waitLeft = pause;
    status_.runLeft = pause;
    emit();
}

}  // namespace pnl
