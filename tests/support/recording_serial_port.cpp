#include "support/recording_serial_port.h"

namespace pnl::test {

bool RecordingSerialPort::setSettings(const std::string& text) {
    calls.push_back("settings " + text);
    if (!LineSettings::parse(text))
        return false;
    settings = text;
    return true;
}

bool RecordingSerialPort::open(std::string* error) {
    calls.push_back("open");
    if (failOpen || open_) {
        if (error)
            *error = open_ ? "already open" : "cannot open";
        return false;
    }
    open_ = true;
    return true;
}

void RecordingSerialPort::close() {
    calls.push_back("close");
    open_ = false;
}

void RecordingSerialPort::waitUntilLeft() {
    const std::int64_t nowUs = loop_->now() * 1000;
    if (freeAtUs_ > nowUs)
        loop_->block((freeAtUs_ - nowUs + 999) / 1000);
}

bool RecordingSerialPort::output(const std::string& bytes) {
    if (!open_ || failOutput)
        return false;
    waitUntilLeft();
    const std::int64_t nowUs = loop_->now() * 1000;
    freeAtUs_ =
        wireBaud > 0 ? nowUs + static_cast<std::int64_t>(bytes.size()) * 10'000'000 / wireBaud : nowUs;
    sent.push_back(Sent{loop_->now(), bytes, freeAtUs_});
    if (onOutput)
        onOutput(bytes);
    return true;
}

bool RecordingSerialPort::drain() {
    if (!open_ || failOutput)
        return false;
    waitUntilLeft();
    return true;
}

void RecordingSerialPort::deliver(const std::string& bytes, std::int64_t delayMs) {
    loop_->post(delayMs, [this, bytes] {
        if (open_ && receive_)
            receive_(bytes);
    });
}

std::string RecordingSerialPort::allSent() const {
    std::string all;
    for (const auto& s : sent)
        all += s.bytes;
    return all;
}

}  // namespace pnl::test
