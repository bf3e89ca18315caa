#pragma once
// A test installation: a fresh temporary folder, the real file system, virtual time, scripted message boxes
// and a serial port that records what the program sends. The folder is removed when the test ends.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/file_system.h"
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

// Ports present on the test PC: COM1 and COM2 unless a test says otherwise; none in use.
class FakePortQueries : public PortQueries {
  public:
    int presence(int index) override;
    int status(int number) override;
    std::string holder(int number) override {
        return holders.count(number) ? holders.at(number) : std::string();
    }
    std::vector<int> present{1, 2};
    std::vector<int> inUse;
    std::map<int, std::string> holders;  // what holds a port in use, as the system tells it
};

struct Installation {
    Installation();
    ~Installation();

    std::string path(const std::string& name) const { return folder.path() + "/" + name; }
    void writeFile(const std::string& name, const std::string& content) const;
    std::string readFile(const std::string& name) const;
    bool exists(const std::string& name) const;

    TempFolder folder;
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    PosixFileSystem fs;
    RecordingSerialPort serial{loop};
    FakePortQueries ports;
    std::unique_ptr<Program> program;
};

}  // namespace pnl::test
