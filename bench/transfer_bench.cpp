// The transfer of a full station (582 residents), timed two ways against the sum of the protocol's fixed
// pauses (246.8 s for a run of one station):
// - to pnl-station-sim over a pseudo-terminal, on real time: what the program adds (building the lines, the
//   frames, the writes, timer lateness) must stay below 2 % of the pauses;
// - `--wire`: on virtual time, to the in-process simulator over a 9600-baud wire model (a frame leaves the
// port
//   10 bits a byte after it was handed over): the frames' time on the wire passes inside their pauses, so the
//   run must take the pauses within 1 %.
//
//   transfer_bench [RECORDS] [PATH-OF-pnl-station-sim]
//   transfer_bench --wire [RECORDS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "app/resident_table.h"
#include "app/station_records.h"
#include "app/text.h"
#include "platform/posix_serial.h"
#include "stations/resident_image.h"
#include "stations/station_link.h"
#include "stations/transfer_run.h"
#include "support/installation.h"
#include "support/real_time_loop.h"
#include "support/sim_line.h"
#include "tools/station_sim/simulator.h"

namespace pnl {
namespace {

class CountingDialogs : public Dialogs {
  public:
    MsgAnswer show(const Message& message) override {
        std::cerr << "Meldung: " << message.text << "\n";
        ++shown;
        return MsgAnswer::Ok;
    }
    int shown = 0;
};

// The program's serial port, timing every output: the time until the frame before has left the port is the
// line's, not the program's.
class TimedPort : public SerialPort {
  public:
    explicit TimedPort(SerialPort& port) : port_(port) {}
    void setCommPort(int number) override { port_.setCommPort(number); }
    int commPort() const override { return port_.commPort(); }
    bool setSettings(const std::string& text) override { return port_.setSettings(text); }
    void setDTREnable(bool on) override { port_.setDTREnable(on); }
    void setRTSEnable(bool on) override { port_.setRTSEnable(on); }
    void setHandshaking(int mode) override { port_.setHandshaking(mode); }
    bool isOpen() const override { return port_.isOpen(); }
    bool open(std::string* error) override { return port_.open(error); }
    void close() override { port_.close(); }
    bool carrierDetect() const override { return port_.carrierDetect(); }
    void setReceiveHandler(ReceiveHandler handler) override { port_.setReceiveHandler(std::move(handler)); }
    bool drain() override { return port_.drain(); }
    bool output(const std::string& bytes) override {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = port_.output(bytes);
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += took;
        longest = std::max(longest, took);
        ++frames;
        return ok;
    }

    double seconds = 0, longest = 0;
    int frames = 0;

  private:
    SerialPort& port_;
};

// The poll loop on real time, measuring how late each timer fires: the wake-up lateness of the system, not
// the program's work.
class TimedLoop : public test::RealTimeLoop {
  public:
    int startTimer(Milliseconds interval, bool repeat, Callback callback) override {
        const auto due = std::chrono::steady_clock::now() + interval;
        // Only the pauses count; a repeating timer (the status line's second) is not waited for.
        return loop_.startTimer(interval, repeat, [this, due, repeat, callback = std::move(callback)] {
            const double late = std::chrono::duration<double>(std::chrono::steady_clock::now() - due).count();
            if (!repeat)
                lateness += std::max(late, 0.0);
            callback();
        });
    }

    double lateness = 0;
};

// Starts pnl-station-sim; its first line is the path of its pseudo-terminal.
struct SimulatorProcess {
    FILE* pipe = nullptr;
    std::string path;

    bool start(const std::string& tool) {
        pipe = ::popen((tool + " --station 12345 --exit-after-close 1").c_str(), "r");
        if (!pipe)
            return false;
        char line[512];
        if (!std::fgets(line, sizeof line, pipe))
            return false;
        path = trim(std::string(line).substr(0, std::string(line).find('\n')));
        return !path.empty();
    }
    // The rest of its output (the directory it decoded) and its exit code.
    int finish(std::string* output) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output->append(buffer, n);
        const int status = ::pclose(pipe);
        pipe = nullptr;
        return status;
    }
};

double pausesOfOneStation(int records) {
    return (kPauseBeforeStations + kPauseAfterOpen + records * kBlocksPerImage * kPauseAfterBlock +
            kPauseAfterHeader + kPauseAfterClose + kPauseAfterStations) /
           1000.0;
}

// The settings working copy with one station (serial number 12345) and a database working copy with `records`
// residents assigned to it.
std::unique_ptr<Database> writeInstallation(FileSystem& fs, const std::string& folder, int records) {
    fs.writeFileAtomic(folder + "/" + kSettingsCopy,
                       "[Schnittstellen]\nCOM1=30,FALSE\n[PNLXXX]\nPNL00=PNL-B,Haupteingang,12345,,FALSE\n");
    auto db = Database::create(folder + "/" + kDatabaseCopy);
    db->exec(
        "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Vorname TEXT, Wnr TEXT, "
        "sernr INTEGER, AUSLOESUNG TEXT, code INTEGER, PNL VARCHAR(100))");
    DatabaseTransaction transaction(*db);
    for (int i = 1; i <= records; ++i)
        db->exec(
            "INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, PNL) VALUES (?,?,?,?,?,?,?)",
            {"Bewohnerin Müller-" + zeroPadded(i, 4), std::string("Käthe"), "W" + zeroPadded(i, 4),
             std::int64_t{100000 + i}, ",," + zeroPadded(200000 + i, 6), std::int64_t{i % 10000},
             "1" + std::string(63, '0')});
    transaction.commit();
    return db;
}

int runOnWireModel(int records) {
    test::Installation inst;
    auto db = writeInstallation(inst.fs, inst.folder.path(), records);
    Program& program = *inst.program;
    program.settings.setFileName(program.path(kSettingsCopy));
    program.useDatabase(std::move(db));
    inst.serial.wireBaud = 9600;
    sim::SimulatorSetup setup;
    setup.stations = {{12345, sim::Firmware::V3}};
    sim::Simulator simulator(inst.loop, setup);
    test::attachSimulator(inst.serial, simulator, inst.loop);

    StationDirectories directories(program);
    const TransferResult result = TransferRun(program, directories, stationNumbers(listedStations(program)));
    const double took = static_cast<double>(inst.loop.now()) / 1000.0;
    const double pauses = pausesOfOneStation(records);
    const double off = (took - pauses) / pauses * 100.0;
    std::size_t bytes = 0;
    for (const auto& sent : inst.serial.sent)
        bytes += sent.bytes.size();
    const auto directory = simulator.directoryOf(12345);
    const bool sent = result.started && !result.anyFailed() && directory && directory->count == records;
    std::printf(
        "Residents %d on a 9600-baud wire model: run %.3f s, pauses %.3f s, difference %.3f s = %.3f %%"
        "  (%s)\n",
        records, took, pauses, took - pauses, off, off < 1.0 ? "within 1 %" : "NOT within 1 %");
    std::printf("  bytes on the wire: %zu, %.3f s of wire time, all inside the pauses\n", bytes,
                bytes * 10.0 / 9600.0);
    if (!sent)
        std::printf("The transfer failed.\n");
    return sent && off < 1.0 ? 0 : 1;
}

int run(int records, const std::string& tool) {
    test::TempFolder folder;
    PosixFileSystem fs;
    auto db = writeInstallation(fs, folder.path(), records);

    SimulatorProcess simulator;
    if (!simulator.start(tool)) {
        std::cerr << "pnl-station-sim lässt sich nicht starten: " << tool << "\n";
        return 2;
    }

    TimedLoop loop;
    PortMap ports;
    ports.map(1, simulator.path);
    PosixSerialOptions options;
    options.lockFolder = folder.path();
    auto posixPort = makePosixSerialPort(loop, ports, options);
    TimedPort serial(*posixPort);
    auto queries = makePosixPortQueries(ports, options);
    CountingDialogs dialogs;
    Program program(Platform{fs, loop, dialogs, serial, *queries}, folder.path());
    program.settings.setFileName(program.path(kSettingsCopy));
    program.useDatabase(std::move(db));

    StationDirectories directories(program);
    const std::vector<int> stations = stationNumbers(listedStations(program));

    const auto start = std::chrono::steady_clock::now();
    const TransferResult result = TransferRun(program, directories, stations);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const double pauses = pausesOfOneStation(records);
    const double overhead = (wall - pauses) / pauses * 100.0;
    std::string decoded;
    const int simStatus = simulator.finish(&decoded);
    const bool sent = result.started && !result.anyFailed() && dialogs.shown == 0 && simStatus == 0;

    std::printf("Residents %d: wall %.3f s, pauses %.3f s, overhead %.3f s = %.3f %%  (%s)\n", records, wall,
                pauses, wall - pauses, overhead, overhead < 2.0 ? "below 2 %" : "ABOVE 2 %");
    const double rest = wall - pauses - serial.seconds - loop.lateness;
    std::printf("  frames leaving the port: %.3f s for %d frames (longest %.1f ms)\n", serial.seconds,
                serial.frames, serial.longest * 1000);
    std::printf("  timers firing late:      %.3f s (the system's wake-up latency)\n", loop.lateness);
    std::printf("  the program's own work:  %.3f s = %.3f %%\n", rest, rest / pauses * 100.0);
    std::printf("Station: %s\n", decoded.substr(0, decoded.find('\n')).c_str());
    if (!sent)
        std::printf("The transfer failed (simulator exit %d).\n", simStatus);
    return sent && overhead < 2.0 ? 0 : 1;
}

}  // namespace
}  // namespace pnl

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--wire")
        return pnl::runOnWireModel(argc > 2 ? std::atoi(argv[2]) : pnl::kMaxRecords);
    const int records = argc > 1 ? std::atoi(argv[1]) : pnl::kMaxRecords;
    const std::string tool = argc > 2 ? argv[2] : PNL_BINARY_DIR "/pnl-station-sim";
    return pnl::run(records, tool);
}
