#pragma once
// Display stations on one line, for tests, the demo and training: each simulated serial number has its own
// 64 KiB memory. A select frame with code "01" opens a station (and deselects any other), write frames go
// into the memory of the station opened last, "80" and "00" close it; after "80" the station's directory is
// decoded and reported. The query frame of an opened station is answered with 19 characters, "*" second.
// Frames for serial numbers it does not simulate are ignored; malformed frames are kept. With a modem, frames
// reach only the station called, and only while carrier is up.
//
// Written from the frame layout of the link alone; it never calls the program's encoder, so it checks it.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "tools/station_sim/directory.h"
#include "tools/station_sim/frames.h"
#include "tools/station_sim/hayes_modem.h"

namespace pnl::sim {

struct StationSetup {
    std::uint32_t serial = 0;
    Firmware firmware = Firmware::V3;
};

// How the stations answer the query frame (to test the probe's verdicts).
struct AnswerSetup {
    enum class Length { Normal, Short, Long };  // 19, 18 or 20 characters
    int lateMs = 0;
    Length length = Length::Normal;
    bool wrongStar = false;  // "#" instead of "*" as the second character
    bool silent = false;     // no answer at all
};

struct SimulatorSetup {
    std::vector<StationSetup> stations;
    AnswerSetup answer;
    std::optional<ModemSetup> modem;  // stations behind a dial-up modem
};

class Simulator {
  public:
    Simulator(EventLoop& loop, SimulatorSetup setup);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Bytes the program sent, as they arrive on the line.
    void receive(const std::string& bytes);

    // Where the stations' and the modem's answers go.
    void setOutput(std::function<void(const std::string&)> output) { output_ = std::move(output); }
    // Called when the modem raises or drops carrier.
    void setCarrierHandler(std::function<void(bool)> handler) { carrierHandler_ = std::move(handler); }
    // Called with each malformed frame as it is found.
    void setMalformedHandler(std::function<void(const Malformed&)> handler) {
        malformedHandler_ = std::move(handler);
    }
    // Called with the station's directory after each closing frame ("80").
    void setClosedHandler(std::function<void(const Directory&)> handler) {
        closedHandler_ = std::move(handler);
    }

    bool carrier() const { return modem_ && modem_->carrier(); }
    std::optional<std::uint32_t> openedStation() const { return opened_; }
    bool simulates(std::uint32_t serial) const { return stations_.count(serial) > 0; }
    // The station's memory; nothing for a serial number it does not simulate.
    const Memory* memoryOf(std::uint32_t serial) const;
    // Every frame the station accepted, in order.
    std::vector<Frame> framesOf(std::uint32_t serial) const;
    // The directory decoded at the station's last closing frame.
    std::optional<Directory> directoryOf(std::uint32_t serial) const;
    // The last directory of every station closed so far, by serial number.
    std::vector<Directory> directories() const;
    const std::vector<Malformed>& malformed() const { return malformed_; }
    // Well-formed frames no station took (other serial numbers, nothing opened, no carrier).
    int ignoredFrames() const { return ignored_; }
    // The modem's command lines; empty without a modem.
    std::vector<std::string> modemCommands() const;

  private:
    struct Station {
        Firmware firmware;
        Memory memory;
        std::vector<Frame> frames;
        std::optional<Directory> directory;
    };

    void onFrame(const Frame& frame);
    void select(const Frame& frame);
    void answerQuery(std::uint32_t serial);
    void send(const std::string& bytes);
    void reportMalformed(Malformed bad);
    // A station that the line reaches now: simulated, and the one called when there is a modem.
    Station* reachable(std::uint32_t serial);

    EventLoop& loop_;
    AnswerSetup answer_;
    std::map<std::uint32_t, Station> stations_;
    std::unique_ptr<HayesModem> modem_;
    FrameReader reader_;
    std::optional<std::uint32_t> opened_;
    std::vector<Malformed> malformed_;
    int ignored_ = 0;
    std::map<int, int> answerTimers_;  // answers on their way -> their timers
    int lastAnswer_ = 0;
    std::function<void(const std::string&)> output_;
    std::function<void(bool)> carrierHandler_;
    std::function<void(const Directory&)> closedHandler_;
    std::function<void(const Malformed&)> malformedHandler_;
};

}  // namespace pnl::sim
