#pragma once
// A dial-up modem in front of the stations, as the program drives it: command lines end with LF CR (any line
// end is taken); every "AT" command answers "OK"; a dial line (the dial prefix, one blank, the telephone
// number) raises carrier some seconds later when the number is one the modem reaches, and never for any other
// number ("NO CARRIER"); "ATH" drops carrier. While carrier is up, bytes outside frames are still watched for
// "ATH" (the program hangs up without an escape sequence).

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/event_loop.h"

namespace pnl::sim {

struct ModemSetup {
    // The dial prefix the program is configured with ("ATDT"); empty: any "AT...D", "AT...DT" or "AT...DP".
    std::string dialPrefix;
    // Telephone number -> serial number of the station reached there.
    std::map<std::string, std::uint32_t> numbers;
    int carrierDelayMs = 5000;
};

class HayesModem {
  public:
    HayesModem(EventLoop& loop, ModemSetup setup) : loop_(loop), setup_(std::move(setup)) {}
    ~HayesModem();
    HayesModem(const HayesModem&) = delete;
    HayesModem& operator=(const HayesModem&) = delete;

    // A byte from the program that is not part of a frame.
    void feed(char c);

    bool carrier() const { return connected_.has_value(); }
    // The station at the other end of the call.
    std::optional<std::uint32_t> connectedStation() const { return connected_; }
    // Every command line received, in order.
    const std::vector<std::string>& commands() const { return commands_; }

    std::function<void(const std::string&)> reply;  // the modem's answers to the program
    std::function<void(bool)> onCarrier;

  private:
    void command(const std::string& line);
    // The number of a dial line; nothing when the line is no dial command.
    std::optional<std::string> dialNumber(const std::string& line) const;
    void say(const std::string& text);
    void setCarrier(std::optional<std::uint32_t> station);

    EventLoop& loop_;
    ModemSetup setup_;
    std::string line_;
    std::vector<std::string> commands_;
    std::optional<std::uint32_t> connected_;
    int callTimer_ = 0;
};

}  // namespace pnl::sim
