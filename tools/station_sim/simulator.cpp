#include "tools/station_sim/simulator.h"

#include <algorithm>
#include <cstdio>

namespace pnl::sim {

Simulator::Simulator(EventLoop& loop, SimulatorSetup setup) : loop_(loop), answer_(setup.answer) {
    for (const auto& station : setup.stations) {
        Station& s = stations_[station.serial & 0xFFFFFF];
        s.firmware = station.firmware;
        s.memory.fill(0xFF);  // erased: bytes the program never wrote do not pass as zeros
    }
    if (setup.modem) {
        modem_ = std::make_unique<HayesModem>(loop_, *setup.modem);
        modem_->reply = [this](const std::string& text) { send(text); };
        modem_->onCarrier = [this](bool up) {
            if (!up)
                opened_.reset();
            if (carrierHandler_)
                carrierHandler_(up);
        };
    }
    reader_.onFrame = [this](const Frame& frame) { onFrame(frame); };
    reader_.onMalformed = [this](const Malformed& bad) { reportMalformed(bad); };
    reader_.onOutside = [this](char c) {
        if (modem_)
            modem_->feed(c);
    };
}

Simulator::~Simulator() {
    for (const auto& [key, timer] : answerTimers_)
        loop_.stopTimer(timer);
}

void Simulator::receive(const std::string& bytes) {
    reader_.feed(bytes);
}

Simulator::Station* Simulator::reachable(std::uint32_t serial) {
    if (modem_ && modem_->connectedStation() != serial)
        return nullptr;
    const auto it = stations_.find(serial);
    return it == stations_.end() ? nullptr : &it->second;
}

void Simulator::onFrame(const Frame& frame) {
    if (modem_ && !modem_->carrier()) {
        ++ignored_;  // the modem has no call: nothing reaches a station
        return;
    }
    switch (frame.kind) {
        case Frame::Kind::Select:
            select(frame);
            return;
        case Frame::Kind::Write: {
            Station* station = opened_ ? reachable(*opened_) : nullptr;
            if (!station) {
                ++ignored_;
                return;
            }
            std::copy(frame.data.begin(), frame.data.end(), station->memory.begin() + frame.address);
            station->frames.push_back(frame);
            return;
        }
        case Frame::Kind::Query: {
            Station* station = opened_ ? reachable(*opened_) : nullptr;
            if (!station) {
                ++ignored_;
                return;
            }
            station->frames.push_back(frame);
            answerQuery(*opened_);
            return;
        }
    }
}

void Simulator::select(const Frame& frame) {
    if (frame.code != "01" && frame.code != "80" && frame.code != "00") {
        std::string bytes = std::string(1, kSoh) + "(";
        char serial[8];
        std::snprintf(serial, sizeof serial, "%06X", frame.serial);
        reportMalformed(Malformed{bytes + serial + frame.code + kEot, "unbekannter Code " + frame.code});
        return;
    }
    // Every station on the line sees the select frame; only the addressed one stays selected.
    opened_.reset();
    Station* station = reachable(frame.serial);
    if (!station) {
        ++ignored_;
        return;
    }
    station->frames.push_back(frame);
    if (frame.code == "01") {
        opened_ = frame.serial;
    } else if (frame.code == "80") {
        station->directory = decodeDirectory(frame.serial, station->firmware, station->memory);
        if (closedHandler_)
            closedHandler_(*station->directory);
    }
}

void Simulator::answerQuery(std::uint32_t serial) {
    if (answer_.silent)
        return;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%06X", serial);
    // SOH, "*", the serial number, status digits, EOT: 19 characters.
    std::string status = "0000000000";
    if (answer_.length == AnswerSetup::Length::Short)
        status.pop_back();
    if (answer_.length == AnswerSetup::Length::Long)
        status += '0';
    const std::string answer =
        std::string(1, kSoh) + (answer_.wrongStar ? "#" : "*") + digits + status + kEot;
    const int key = ++lastAnswer_;
    answerTimers_[key] =
        loop_.startTimer(EventLoop::Milliseconds(answer_.lateMs), false, [this, answer, key] {
            answerTimers_.erase(key);
            send(answer);
        });
}

void Simulator::reportMalformed(Malformed bad) {
    malformed_.push_back(std::move(bad));
    if (malformedHandler_)
        malformedHandler_(malformed_.back());
}

void Simulator::send(const std::string& bytes) {
    if (output_)
        output_(bytes);
}

const Memory* Simulator::memoryOf(std::uint32_t serial) const {
    const auto it = stations_.find(serial);
    return it == stations_.end() ? nullptr : &it->second.memory;
}

std::vector<Frame> Simulator::framesOf(std::uint32_t serial) const {
    const auto it = stations_.find(serial);
    return it == stations_.end() ? std::vector<Frame>{} : it->second.frames;
}

std::optional<Directory> Simulator::directoryOf(std::uint32_t serial) const {
    const auto it = stations_.find(serial);
    return it == stations_.end() ? std::nullopt : it->second.directory;
}

std::vector<Directory> Simulator::directories() const {
    std::vector<Directory> all;
    for (const auto& [serial, station] : stations_) {
        if (station.directory)
            all.push_back(*station.directory);
    }
    return all;
}

std::vector<std::string> Simulator::modemCommands() const {
    return modem_ ? modem_->commands() : std::vector<std::string>{};
}

}  // namespace pnl::sim
