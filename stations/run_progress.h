#pragma once
// Follows a whole transfer run for its status line: knows which stations are chosen and how many residents
// each will receive, forwards every step of the station transfers to the caller's progress, and adds the
// run's state (RunStatus) with the time left of the whole run, pauses and modem calls included. While it is
// ticking, the time left counts down every second between the steps.

#include <vector>

#include "stations/station_link.h"

namespace pnl {

class EventLoop;

class RunProgress : public TransferProgress {
  public:
    struct Planned {
        int number = 0;
        std::string label;
        int records = 0;
    };

    RunProgress(EventLoop& loop, TransferProgress* outer, std::vector<Planned> plan, bool modem,
                Ms perStationExtra);
    ~RunProgress() override;
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // The station at this place of the plan (from 0) begins, or is left out.
    void beginStation(int index);

    void portOpened(int port, Ms pause) override;
    void stationStarted(int station, const std::string& label, int records, Ms timeLeft) override;
    void recordWritten(int station, int record, int records, Ms timeLeft) override;
    void sendingStopped(int station) override;
    void stationFailed(const std::string& text) override;
    void stationEnded(int station, const std::string& label, StationOutcome outcome) override;
    void portClosed(int port, Ms pause) override;

  private:
    // What one station of the plan takes, its presence check included.
    Ms stationTime(const Planned& planned) const;
    // What the stations after the current one and the closing pause take.
    Ms after(int index) const;
    void emit();
    void tick();

    EventLoop& loop_;
    TransferProgress* outer_;
    std::vector<Planned> plan_;
    bool modem_;
    Ms perStationExtra_;
    RunStatus status_;
    int timer_ = 0;
};

}  // namespace pnl
