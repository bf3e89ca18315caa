#pragma once
// A test installation: a fresh temporary folder, the real file system, virtual time, scripted message boxes
// and a serial port that records what the program sends. The folder is removed when the test ends.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "interfaces/port_device_choice.h"
#include "platform/file_system.h"
#include "platform/port_discovery.h"
#include "platform/user_settings.h"
#include "support/recording_serial_port.h"
#include "support/scripted_dialogs.h"
#include "support/virtual_event_loop.h"

namespace pnl::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Ports on the test PC: none in use unless a test says so.
class FakePortQueries : public PortQueries {
  public:
    int status(int number) override;
    std::string holder(int number) override {
        return holders.count(number) ? holders.at(number) : std::string();
    }
    std::vector<int> inUse;
    std::map<int, std::string> holders;  // what holds a port in use, as the system tells it
};

// The serial devices of the test PC as the device manager would report them: none unless a test plugs one in.
class FakePortDiscovery : public PortDiscovery {
  public:
    std::vector<SerialDevice> devices() override { return plugged; }
    std::unique_ptr<DeviceWatch> watch(std::function<void()> changed) override;
    // Plugs a device in or pulls it out, and tells every watch, as the device manager does.
    void plug(const SerialDevice& device);
    void unplug(const std::string& path);
    int watching() const { return static_cast<int>(watches_.size()); }

    std::vector<SerialDevice> plugged;

  private:
    void tell();
    std::map<int, std::function<void()>> watches_;
    int lastWatch_ = 0;
};

// The device choice on a test PC: the fake devices, the run's port map and the user's settings in a folder of
// their own.
struct TestPortDevices {
    TempFolder config;
    PosixFileSystem fs;
    FakePortDiscovery discovery;
    PortMap map;
    XdgUserSettings settings{fs, config.path()};
    PortDevices services{discovery, map, settings};
};

// The real file system; a test makes chosen writes fail as a full disk does, and lock files belong to another
// user as a test run by the administrator cannot otherwise show.
class FileSystemWithFaults : public PosixFileSystem {
  public:
    // Atomic writes for which this answers true fail as on a full disk ("PATH: Auf dem Datenträger ist kein
    // Platz mehr.").
    std::function<bool(const std::string& path, const std::string& content)> diskFull;
    // When set, every lock file belongs to this user and cannot be opened for writing by this one.
    std::string lockFilesOf;

    bool writeFileAtomic(const std::string& path, const std::string& content,
                         std::string* error = nullptr) override;
    FileLock::Result lockFile(FileLock& lock, const std::string& path, const std::string& note,
                              std::string* holderNote, LockFailure* failure) override;
};

struct Installation {
    Installation();
    ~Installation();

    std::string path(const std::string& name) const { return folder.path() + "/" + name; }
    void writeFile(const std::string& name, const std::string& content) const;
    std::string readFile(const std::string& name) const;
    bool exists(const std::string& name) const;
    // The event texts (without the time) of today's log on the virtual clock's first day, 6 December 2026;
    // "<undecryptable>" for a line that does not open at its place.
    std::vector<std::string> logTexts() const;

    TempFolder folder;
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    FileSystemWithFaults fs;
    RecordingSerialPort serial{loop};
    FakePortQueries ports;
    TestPortDevices devices;
    std::unique_ptr<Program> program;
};

}  // namespace pnl::test
