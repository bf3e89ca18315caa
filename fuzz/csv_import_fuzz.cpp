// The resident import: any bytes as the spreadsheet file, previewed against the sample installation's
// residents and stations (a working copy in a temporary folder, made once). The preview never changes the
// database.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "app/program.h"
#include "cli/working_copies.h"
#include "overview/resident_import.h"
#include "platform/console_dialogs.h"
#include "platform/poll_event_loop.h"
#include "platform/serial_port.h"
#include "tools/sample/sample_installation.h"

namespace {

// The sample installation with its stations, opened as the headless import opens it.
struct Scene {
    Scene()
        : folder(makeFolder()),
          serial(pnl::makePosixSerialPort(loop, {})),
          ports(pnl::makePosixPortQueries({})),
          program(pnl::Platform{fs, loop, dialogs, *serial, *ports}, folder) {
        std::string why;
        if (!pnl::writeSampleInstallation(folder, &why, pnl::SampleOptions{true, true}) ||
            !pnl::openWorkingCopies(program, &why))
            std::abort();
        program.userLevel = 5;
    }
    ~Scene() {
        program.closeDatabase();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    static std::string makeFolder() {
        const auto path = std::filesystem::temp_directory_path() /
                          ("pnl-fuzz-import-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
        return path.string();
    }

    std::string folder;
    pnl::PosixFileSystem fs;
    pnl::PollEventLoop loop;
    std::ostringstream shown;
    pnl::ConsoleDialogs dialogs{shown};
    std::unique_ptr<pnl::SerialPort> serial;
    std::unique_ptr<pnl::PortQueries> ports;
    pnl::Program program;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scene scene;
    const pnl::ImportPreview preview =
        pnl::PreviewImport(scene.program, std::string(reinterpret_cast<const char*>(data), size));
    for (const pnl::ImportRow& row : preview.rows)
        static_cast<void>(pnl::previewLine(row));
    static_cast<void>(pnl::previewSummary(preview, true));
    if (!preview.fileError.empty() && !preview.rows.empty())
        std::abort();  // a file that cannot be imported has no rows to import
    return 0;
}
