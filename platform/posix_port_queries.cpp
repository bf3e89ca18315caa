#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/posix_serial.h"
#include "platform/serial_lock.h"

namespace pnl {

namespace {

// The UART type the kernel reports for a device: from sysfs without opening it (opening would raise DTR),
// else by TIOCGSERIAL. -1 when neither answers.
int uartType(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    std::ifstream sysfs("/sys/class/tty/" + name + "/type");
    int type = -1;
    if (sysfs >> type)
        return type;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY ? PORT_16550A : -1;  // held exclusively: it is there
    serial_struct info{};
    const int result = ::ioctl(fd, TIOCGSERIAL, &info);
    ::close(fd);
    return result == 0 ? info.type : -1;
}

class PosixPortQueries : public PortQueries {
  public:
    PosixPortQueries(const PortMap& ports, const PosixSerialOptions& options)
        : ports_(ports), options_(options) {}

    int presence(int index) override {
        if (index < 0 || index > 7)
            return 0;
        const std::string path = ports_.pathOf(index + 1);
        if (ports_.isMapped(index + 1)) {
            struct stat info {};
            return ::stat(path.c_str(), &info) == 0 ? 1 : 0;
        }
        const int type = uartType(path);
        return type > PORT_UNKNOWN ? 1 : 0;
    }

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
    const PortMap ports_;
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
