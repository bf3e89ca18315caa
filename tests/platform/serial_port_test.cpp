// The POSIX serial adapter and its port queries over a real pseudo-terminal; the test plays the device.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/poll_event_loop.h"
#include "platform/port_discovery.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "platform/serial_lock.h"
#include "support/installation.h"

namespace pnl {
namespace {

using std::chrono::milliseconds;

// A child holding its inherited descriptors (without the master side when asked), as cat holds a port.
struct HoldingProcess {
    explicit HoldingProcess(int closeFirst = -1) {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            if (closeFirst >= 0)
                ::close(closeFirst);
            [[maybe_unused]] const auto written = ::write(ready[1], "x", 1);
            for (;;)
                ::pause();
        }
        char byte;
        [[maybe_unused]] const auto read = ::read(ready[0], &byte, 1);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~HoldingProcess() {
        if (pid <= 0)
            return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    pid_t pid = -1;
};

// The process id of a process that has ended: a lock file naming it is stale.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// A UUCP lock file's content: the process id in ten characters and a line feed.
std::string lockText(long pid) {
    return std::string(10 - std::to_string(pid).size(), ' ') + std::to_string(pid) + "\n";
}

// COM1 on the pseudo-terminal, with the lock files in a folder of the test.
class SerialPortOverPty : public ::testing::Test {
  protected:
    void SetUp() override {
        pty = PseudoTerminal::open(&error);
        ASSERT_TRUE(pty) << error;
        map.map(1, pty->slavePath());
        options.lockFolder = locks.path();
        options.writeDeadline = milliseconds(300);
        port = makePosixSerialPort(loop, map, options);
        port->setCommPort(1);
        port->setReceiveHandler([this](const std::string& bytes) { received += bytes; });
        queries = makePosixPortQueries(map, options);
    }

    // Services the loop until the condition holds or the time has passed.
    bool waitFor(const std::function<bool()>& condition, int ms = 2000) {
        bool expired = false;
        const int guard = loop.startTimer(milliseconds(ms), false, [&] { expired = true; });
        loop.processEventsUntil([&] { return expired || condition(); });
        loop.stopTimer(guard);
        return condition();
    }

    std::string readFromDevice(std::size_t count) {
        std::string bytes;
        const auto end = std::chrono::steady_clock::now() + milliseconds(2000);
        while (bytes.size() < count && std::chrono::steady_clock::now() < end) {
            bytes += pty->readAvailable();
            if (bytes.size() < count)
                ::usleep(1000);
        }
        return bytes;
    }

    termios slaveSettings() const {
        termios tio{};
        const int fd = ::open(pty->slavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        return tio;
    }

    std::string lockFile() const {  // "/dev/pts/3" -> "LCK..pts_3"
        std::string name = pty->slavePath().substr(5);
        name.replace(name.find('/'), 1, "_");
        return locks.path() + "/LCK.." + name;
    }

    test::TempFolder locks;
    std::unique_ptr<PseudoTerminal> pty;
    PortMap map;
    PosixSerialOptions options;
    PollEventLoop loop;
    std::unique_ptr<SerialPort> port;
    std::unique_ptr<PortQueries> queries;
    std::string received;
    std::string error;
};

TEST_F(SerialPortOverPty, OpensWithItsSettingsAndCarriesEveryByteBothWaysInOrder) {
    ASSERT_TRUE(port->setSettings("9600,N,8,1"));
    EXPECT_FALSE(port->setSettings("9600;N;8;1"));
    port->setDTREnable(true);  // a pseudo-terminal has no modem lines: accepted without effect
    port->setRTSEnable(true);
    port->setHandshaking(0);
    ASSERT_TRUE(pty->write("stale"));  // received before opening: discarded
    ASSERT_TRUE(port->open(&error)) << error;
    EXPECT_TRUE(port->isOpen());
    EXPECT_FALSE(port->carrierDetect());
    port->setDTREnable(false);

    termios tio = slaveSettings();
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);

    // Settings changed while open take effect at once; a pseudo-terminal keeps eight bits without parity.
    ASSERT_TRUE(port->setSettings("4800,E,7,2"));
    tio = slaveSettings();
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B4800));
    EXPECT_EQ(tio.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    ASSERT_TRUE(port->setSettings("9600,N,8,1"));

    const std::string frame = "\x01(01E24001\x04";
    ASSERT_TRUE(port->output(frame));
    EXPECT_EQ(readFromDevice(frame.size()), frame);

    // Every byte value, in several chunks, arrives once and in order (no line discipline in between).
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    ASSERT_TRUE(pty->write(all.substr(0, 100)));
    ASSERT_TRUE(waitFor([&] { return received.size() >= 100; }));
    ASSERT_TRUE(pty->write(all.substr(100)));
    ASSERT_TRUE(waitFor([&] { return received.size() >= 256; }));
    EXPECT_EQ(received, all);

    port->close();
    EXPECT_FALSE(port->isOpen());
    EXPECT_FALSE(port->output("x"));
}

// Output held by XOFF, not read, or to a vanished device fails at its deadline instead of hanging.
TEST_F(SerialPortOverPty, OutputTheDeviceDoesNotTakeFailsInsteadOfHanging) {
    port->setHandshaking(3);
    ASSERT_TRUE(port->open());
    const termios tio = slaveSettings();
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    ASSERT_TRUE(pty->write("\x13"));  // XOFF
    ::usleep(20'000);
    EXPECT_FALSE(port->output("\x01(01E24001\x04"));
    ASSERT_TRUE(pty->write("\x11"));  // XON: the line flows again, and nothing of the failed frame trails
    ::usleep(20'000);
    ASSERT_TRUE(port->output("\x01*0000\x04"));
    EXPECT_EQ(readFromDevice(7), "\x01*0000\x04");

    EXPECT_FALSE(port->output(std::string(512 * 1024, 'x')));  // nobody reads: the buffers fill
    pty->readAvailable();
    pty->closeMaster();  // the adapter is pulled out
    EXPECT_FALSE(port->output("\x01*0000\x04"));
    waitFor([] { return false; }, 30);  // the hung-up descriptor does not keep the loop busy
    EXPECT_TRUE(port->isOpen());
    port->close();
    EXPECT_FALSE(port->isOpen());
}

TEST_F(SerialPortOverPty, AMappedPathOpensOnlyWhenItIsATerminal) {
    const std::string plainFile = locks.path() + "/not-a-port";
    std::ofstream(plainFile) << "x";
    ASSERT_TRUE(pty->link(locks.path() + "/station-link"));
    map.map(2, locks.path() + "/missing");
    map.map(3, plainFile);
    map.map(4, locks.path() + "/station-link");
    auto paths = makePosixPortQueries(map, options);
    EXPECT_EQ(paths->status(2), 0);
    EXPECT_EQ(paths->status(0), 0);

    auto mapped = makePosixSerialPort(loop, map, options);
    mapped->setCommPort(2);
    EXPECT_FALSE(mapped->open(&error));
    EXPECT_EQ(error, "Die Schnittstelle COM2 (" + locks.path() + "/missing) ist nicht vorhanden.");
    mapped->setCommPort(3);
    EXPECT_FALSE(mapped->open(&error));
    EXPECT_EQ(error, "COM3 (" + plainFile + ") ist keine serielle Schnittstelle.");
    EXPECT_FALSE(mapped->isOpen());
    // A chosen adapter that is not plugged in is named; --port wins over the choice for the run.
    map.choose(5, {locks.path() + "/usb-FTDI_FT232R_USB_UART_A10K3XYZ-if00-port0", "FTDI FT232R (A10K3XYZ)"});
    mapped->setCommPort(5);
    EXPECT_FALSE(mapped->open(&error));
    EXPECT_EQ(error,
              "Der USB-Adapter FTDI FT232R (A10K3XYZ) für COM5 ist nicht angeschlossen. Stecken Sie ihn "
              "an oder wählen Sie im Fenster „Schnittstellen“ ein anderes Gerät.");
    map.map(5, locks.path() + "/missing");
    EXPECT_FALSE(mapped->open(&error));
    EXPECT_EQ(error, "Die Schnittstelle COM5 (" + locks.path() + "/missing) ist nicht vorhanden.");
    // COM4 is a second name of COM1's device: both share its lock.
    mapped->setCommPort(4);
    EXPECT_TRUE(mapped->open(&error)) << error;
    EXPECT_EQ(mapped->commPort(), 4);
    EXPECT_EQ(paths->status(1), 2);
    EXPECT_EQ(serial_lock::liveHolder(lockFile()), ::getpid());
}

TEST_F(SerialPortOverPty, ADeviceTheUserMayNotOpenIsExplainedWithItsFix) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may open every device";
    ASSERT_EQ(::chmod(pty->slavePath().c_str(), 0), 0);
    EXPECT_FALSE(port->open(&error));
    EXPECT_EQ(error, noAccessText(pty->slavePath(), deviceGroup(pty->slavePath())));
    EXPECT_NE(error.find("sudo usermod -aG "), std::string::npos);
}

TEST_F(SerialPortOverPty, APortOpenInAnotherProgramWithoutALockIsInUse) {
    {
        // A process that holds the master side plays the device: no user of the port.
        HoldingProcess device;
        EXPECT_EQ(queries->status(1), 0);
    }
    {
        HoldingProcess terminalProgram(pty->masterFd());
        EXPECT_EQ(queries->status(1), 2);
        EXPECT_EQ(queries->holder(1), "von einem anderen Programm geöffnet");
    }
    EXPECT_EQ(queries->status(1), 0);
}

TEST_F(SerialPortOverPty, StatusAndOpeningAgreeOnForeignLockFiles) {
    std::ofstream(lockFile()) << lockText(1);  // init is always alive
    EXPECT_EQ(queries->status(1), 2);
    EXPECT_FALSE(port->open(&error));
    EXPECT_NE(error.find("genutzt"), std::string::npos) << error;

    // Stale, of a process that has ended: free, and opening replaces it with this process's.
    std::ofstream(lockFile()) << lockText(endedProcess());
    EXPECT_EQ(queries->status(1), 0);
    ASSERT_TRUE(port->open(&error)) << error;
    std::ostringstream lock;
    lock << std::ifstream(lockFile()).rdbuf();
    EXPECT_EQ(lock.str(), lockText(::getpid()));
    EXPECT_EQ(queries->status(1), 2);
    port->close();
    EXPECT_FALSE(std::filesystem::exists(lockFile()));

    // Stale but not removable (here: no plain file): both say "in use" and name it.
    std::filesystem::create_directories(lockFile() + "/held");
    EXPECT_EQ(queries->status(1), 2);
    EXPECT_EQ(queries->holder(1), "Sperrdatei " + lockFile());
    EXPECT_FALSE(port->open(&error));
    EXPECT_EQ(error, "Die Schnittstelle COM1 (" + pty->slavePath() +
                         ") wird gegenwärtig genutzt (Sperrdatei " + lockFile() + ").");
}

}  // namespace
}  // namespace pnl
