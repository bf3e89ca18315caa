#pragma once
// The Program object: the services the program runs on and every piece of program-wide state. It is passed by
// reference; there are no global variables, so a test builds a fresh program in a temporary folder.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "app/event_log.h"
#include "app/pause.h"
#include "app/settings_file.h"
#include "app/working_database.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/serial_port.h"

namespace pnl {

class ResidentTable;

inline constexpr const char* kDatabaseFile = "QBXDATA.MDB";
inline constexpr const char* kDatabaseCopy = "QBXDATA_COPY.MDB";
inline constexpr const char* kSettingsFile = "ANLAGE99.INI";
inline constexpr const char* kSettingsCopy = "ANLAGE99_COPY.INI";
inline constexpr const char* kProgramTitle = "PNL Fernwartung";
// The key of the level records and the log lines.
inline constexpr const char* kCipherKey = "07145226318";

struct Platform {
    FileSystem& fs;
    EventLoop& loop;
    Dialogs& dialogs;
    SerialPort& serial;
    PortQueries& ports;
};

class Program {
  public:
    Program(const Platform& platform, std::string folder);
    ~Program();

    FileSystem& fs;
    EventLoop& loop;
    Dialogs& dialogs;
    SerialPort& serial;
    PortQueries& ports;

    // The installation folder; every file of the program lives in it.
    const std::string folder;
    std::string path(const std::string& name) const { return folder + "/" + name; }

    // 1..5 from the level records, 6 after the master code; counts failed tries while the password dialog is
    // open.
    std::uint8_t userLevel = 0;
    // The level came from the command line.
    bool startedWithLevel = false;
    // The main window's settings access (the working copy from start-up on) and the password dialog's (the
    // original file).
    SettingsFile settings;
    SettingsFile originalSettings;
    // Characters received on the serial port during a probe's pause.
    std::string receiveBuffer;
    // The one pause of the program (probes and transfers wait through it).
    Pause pause;
    // Set by the first log line of the run that could not be written; shown in the status bar.
    std::string logProblem;
    LogTail logTail;
    // True while a port test or a transfer uses the serial line; a second user is refused.
    bool serialLinkBusy = false;
    // The station numbers that received their residents since the start (the exit question names them).
    std::set<int> stationsSent;
    // The time of the backup whose state was restored in this run ("06.12.2026 14:03:00"; the exit question
    // names it); empty when none was.
    std::string restoredBackup;
    // What holds it, for the refusal: "einen Schnittstellentest" or "eine Datenübertragung".
    std::string serialLinkUser;
    // The database working copy's connection and its resident cursor; nothing while it is closed.
    Database* database() const { return workingDatabase_.connection(); }
    ResidentTable* residents() const { return workingDatabase_.residents(); }
    // Changes whenever the working copy is opened or closed.
    std::uint64_t databaseGeneration() const { return workingDatabase_.generation(); }
    // Closes what is open, takes the connection (none: stays closed) and binds the resident cursor on it;
    // false when there is no connection or its table cannot be bound.
    bool useDatabase(std::unique_ptr<Database> connection) {
        return workingDatabase_.open(std::move(connection));
    }
    void closeDatabase() { workingDatabase_.close(); }

    // The one place that shows message boxes; an empty title gives the program's own.
    MsgAnswer msgBox(const std::string& text, MsgIcon icon = MsgIcon::None,
                     MsgButtons buttons = MsgButtons::Ok, const std::string& title = "");
    MsgAnswer ask(Message message);
    // A success shown without a box: a line in the main window's status bar for a few seconds.
    std::function<void(const std::string&)> statusNotice;
    void notify(const std::string& text) {
        if (statusNotice)
            statusNotice(text);
    }

  private:
    WorkingDatabase workingDatabase_;
};

}  // namespace pnl
