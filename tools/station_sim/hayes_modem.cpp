#include "tools/station_sim/hayes_modem.h"

namespace pnl::sim {

namespace {

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

HayesModem::~HayesModem() {
    if (callTimer_ != 0)
        loop_.stopTimer(callTimer_);
}

void HayesModem::feed(char c) {
    if (c == '\n' || c == '\r') {
        if (!line_.empty())
            command(line_);
        line_.clear();
    } else if (line_.size() < 256) {
        line_ += c;
    }
}

std::optional<std::string> HayesModem::dialNumber(const std::string& line) const {
    const auto blank = line.rfind(' ');
    if (blank == std::string::npos || blank + 1 >= line.size())
        return std::nullopt;
    const std::string prefix = line.substr(0, blank);
    const std::string upperPrefix = upperAscii(prefix);
    if (!setup_.dialPrefix.empty()) {
        if (prefix != setup_.dialPrefix)
            return std::nullopt;
    } else if (upperPrefix.rfind("AT", 0) != 0 ||
               !(endsWith(upperPrefix, "D") || endsWith(upperPrefix, "DT") || endsWith(upperPrefix, "DP"))) {
        return std::nullopt;
    }
    return line.substr(blank + 1);
}

void HayesModem::command(const std::string& line) {
    commands_.push_back(line);
    const std::string upperLine = upperAscii(line);
    if (upperLine == "ATH" || upperLine == "ATH0") {
        if (callTimer_ != 0)
            loop_.stopTimer(callTimer_);
        callTimer_ = 0;
        setCarrier(std::nullopt);
        say("OK\r\n");
        return;
    }
    if (carrier())
        return;  // data mode: everything else is the stations' business
    if (const auto number = dialNumber(line)) {
        if (callTimer_ != 0)
            loop_.stopTimer(callTimer_);
        const auto station = setup_.numbers.find(*number);
        const std::optional<std::uint32_t> reached =
            station == setup_.numbers.end() ? std::nullopt : std::optional<std::uint32_t>(station->second);
        callTimer_ = loop_.startTimer(EventLoop::Milliseconds(setup_.carrierDelayMs), false, [this, reached] {
            callTimer_ = 0;
            if (!reached) {
                say("NO CARRIER\r\n");
                return;
            }
            setCarrier(reached);
            say("CONNECT 9600\r\n");
        });
        return;
    }
    say(upperLine.rfind("AT", 0) == 0 ? "OK\r\n" : "ERROR\r\n");
}

void HayesModem::say(const std::string& text) {
    if (reply)
        reply(text);
}

void HayesModem::setCarrier(std::optional<std::uint32_t> station) {
    const bool before = carrier();
    connected_ = station;
    if (before != carrier() && onCarrier)
        onCarrier(carrier());
}

}  // namespace pnl::sim
