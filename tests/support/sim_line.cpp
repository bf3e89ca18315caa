#include "support/sim_line.h"

#include <algorithm>
#include <memory>

namespace pnl::test {

namespace {

// Time a chunk of bytes takes on the line at 9600 baud, in microseconds.
std::int64_t lineTimeUs(std::size_t bytes) {
    return static_cast<std::int64_t>(bytes) * 10'000'000 / 9600;
}

// One direction of the cable: when its last byte so far arrives.
struct Direction {
    std::int64_t freeAtUs = 0;

    // Virtual milliseconds from now until a chunk handed over now has fully arrived.
    std::int64_t delayMs(VirtualEventLoop& loop, std::size_t bytes) {
        const std::int64_t nowUs = loop.now() * 1000;
        freeAtUs = std::max(freeAtUs, nowUs) + lineTimeUs(bytes);
        return (freeAtUs - nowUs + 999) / 1000;
    }
};

}  // namespace

void attachSimulator(RecordingSerialPort& port, sim::Simulator& simulator, VirtualEventLoop& loop) {
    auto toStation = std::make_shared<Direction>();
    auto toProgram = std::make_shared<Direction>();
    port.onOutput = [&simulator, &loop, toStation](const std::string& bytes) {
        loop.post(toStation->delayMs(loop, bytes.size()), [&simulator, bytes] { simulator.receive(bytes); });
    };
    simulator.setOutput([&port, &loop, toProgram](const std::string& bytes) {
        port.deliver(bytes, toProgram->delayMs(loop, bytes.size()));
    });
    simulator.setCarrierHandler([&port](bool up) { port.carrier = up; });
}

}  // namespace pnl::test
