// Port presence and opening errors for mapped and unmapped paths.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/poll_event_loop.h"
#include "platform/posix_serial.h"
#include "platform/pseudo_terminal.h"
#include "platform/serial_lock.h"
#include "support/installation.h"

namespace pnl {
namespace {

TEST(SerialPortQueries, AMappedPathIsPresentWhenItExistsAndOpensOnlyWhenItIsATerminal) {
    test::TempFolder folder;
    const std::string plainFile = folder.path() + "/not-a-port";
    std::ofstream(plainFile) << "x";
    auto pty = PseudoTerminal::open();
    ASSERT_TRUE(pty);

    PortMap map;
    map.map(2, folder.path() + "/missing");
    map.map(3, plainFile);
    map.map(4, pty->slavePath());
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    auto queries = makePosixPortQueries(map, options);
    EXPECT_EQ(queries->presence(1), 0);  // COM2
    EXPECT_EQ(queries->presence(2), 1);  // COM3: present, though no terminal
    EXPECT_EQ(queries->presence(3), 1);  // COM4
    EXPECT_EQ(queries->presence(-1), 0);
    EXPECT_EQ(queries->presence(8), 0);
    EXPECT_EQ(queries->status(2), 0);
    EXPECT_EQ(queries->status(0), 0);

    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    std::string error;
    port->setCommPort(2);
    EXPECT_FALSE(port->open(&error));
    EXPECT_EQ(error, "Die Schnittstelle COM2 (" + folder.path() + "/missing) ist nicht vorhanden.");
    port->setCommPort(3);
    EXPECT_FALSE(port->open(&error));
    EXPECT_EQ(error, "COM3 (" + plainFile + ") ist keine serielle Schnittstelle.");
    EXPECT_FALSE(port->isOpen());
    port->setCommPort(4);
    EXPECT_TRUE(port->open(&error)) << error;
    EXPECT_EQ(port->commPort(), 4);
}

TEST(SerialPortQueries, TwoNamesOfOneDeviceShareItsLock) {
    test::TempFolder folder;
    auto pty = PseudoTerminal::open();
    ASSERT_TRUE(pty);
    ASSERT_TRUE(pty->link(folder.path() + "/station-link"));
    PortMap map;
    map.map(1, pty->slavePath());
    map.map(2, folder.path() + "/station-link");
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    PollEventLoop loop;
    auto port = makePosixSerialPort(loop, map, options);
    port->setCommPort(2);
    ASSERT_TRUE(port->open());
    EXPECT_EQ(makePosixPortQueries(map, options)->status(1), 2);
}

// A child process that keeps the descriptors it was given (closing the master side first when asked) until
// it is ended; as a terminal program or cat holds a port: open, without any lock.
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

// COM1 on a pseudo-terminal that this process plays, with the lock files in a folder of the test.
struct PtyPort {
    PtyPort() {
        map.map(1, pty->slavePath());
        options.lockFolder = folder.path();
        queries = makePosixPortQueries(map, options);
        port = makePosixSerialPort(loop, map, options);
        port->setCommPort(1);
    }
    test::TempFolder folder;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::open();
    PortMap map;
    PosixSerialOptions options;
    std::unique_ptr<PortQueries> queries;
    PollEventLoop loop;
    std::unique_ptr<SerialPort> port;
};

TEST(SerialPortQueries, APortOpenInAnotherProgramWithoutALockIsInUse) {
    PtyPort com1;
    auto& queries = com1.queries;
    EXPECT_EQ(queries->status(1), 0);  // this process plays the device
    {
        // A process that holds the master side plays the device: no user of the port.
        HoldingProcess device;
        EXPECT_EQ(queries->status(1), 0);
    }
    {
        HoldingProcess terminalProgram(com1.pty->masterFd());
        EXPECT_EQ(queries->status(1), 2);
        EXPECT_EQ(queries->holder(1), "von einem anderen Programm geöffnet");
    }
    EXPECT_EQ(queries->status(1), 0);
}

TEST(SerialPortQueries, StatusAndOpeningAgreeOnAStaleLockFile) {
    PtyPort com1;
    const std::string device = serial_lock::devicePath(com1.pty->slavePath());
    const std::string lockFile = serial_lock::lockFilePath(com1.folder.path(), device);

    // Stale, of a process that has ended: free, and opening replaces it.
    pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    std::ofstream(lockFile) << std::string(10 - std::to_string(ended).size(), ' ') << ended << "\n";
    EXPECT_EQ(com1.queries->status(1), 0);
    ASSERT_TRUE(com1.port->open());
    com1.port->close();
    EXPECT_FALSE(std::filesystem::exists(lockFile));

    // Stale but not removable (here: no plain file): both say "in use" and name it.
    std::filesystem::create_directories(lockFile + "/held");
    EXPECT_EQ(com1.queries->status(1), 2);
    EXPECT_EQ(com1.queries->holder(1), "Sperrdatei " + lockFile);
    std::string error;
    EXPECT_FALSE(com1.port->open(&error));
    EXPECT_EQ(error, "Die Schnittstelle COM1 (" + device + ") wird gegenwärtig genutzt (Sperrdatei " +
                         lockFile + ").");
}

}  // namespace
}  // namespace pnl
