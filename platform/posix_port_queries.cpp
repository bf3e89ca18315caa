#include <unistd.h>

#include "platform/posix_serial.h"
#include "platform/serial_lock.h"

namespace pnl {

namespace {

class PosixPortQueries : public PortQueries {
  public:
    PosixPortQueries(const PortMap& ports, const PosixSerialOptions& options)
        : ports_(ports), options_(options) {}

    int status(int number) override { return holder(number).empty() ? 0 : 2; }

    // A lock file that opening the port could not take or replace, its flock, or the device open in another
    // program that takes no lock (a terminal program, cat): the station's answer would not reach us.
    std::string holder(int number) override {
        if (number < 1 || number > 8)
            return {};
        const std::string device = serial_lock::devicePath(ports_.pathOf(number));
        if (::access(device.c_str(), F_OK) != 0)
            return {};
        const std::string lockFile = serial_lock::lockFilePath(options_.lockFolder, device);
        if (serial_lock::blocks(lockFile))
            return "Sperrdatei " + lockFile;
        if (serial_lock::flockHeldElsewhere(device))
            return "von einem anderen Programm gesperrt";
        if (serial_lock::openInAnotherProcess(device))
            return "von einem anderen Programm geöffnet";
        return {};
    }

  private:
    const PortMap& ports_;
    const PosixSerialOptions options_;
};

}  // namespace

std::unique_ptr<PortQueries> makePosixPortQueries(const PortMap& ports, const PosixSerialOptions& options) {
    return std::make_unique<PosixPortQueries>(ports, options);
}

std::unique_ptr<PortQueries> makePosixPortQueries(const PortMap& ports) {
    return makePosixPortQueries(ports, PosixSerialOptions{});
}

}  // namespace pnl
