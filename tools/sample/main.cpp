// pnl-sample: writes a sample installation into a folder.

#include <iostream>
#include <string>

#include "tools/sample/sample_installation.h"

namespace {

int usage() {
    std::cerr << "Aufruf: pnl-sample [--with-stations] [--force] ORDNER\n"
                 "  --with-stations  BEWOHNER mit der Spalte PNL und Stationszuordnungen anlegen\n"
                 "  --force          eine vorhandene Installation im Ordner überschreiben\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    pnl::SampleOptions options;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--with-stations") {
            options.assigned = true;
        } else if (arg == "--force") {
            options.overwrite = true;
        } else if (arg.empty() || arg[0] == '-' || !folder.empty()) {
            return usage();
        } else {
            folder = arg;
        }
    }
    if (folder.empty())
        return usage();
    std::string error;
    if (!pnl::writeSampleInstallation(folder, &error, options)) {
        std::cerr << "pnl-sample: " << error << "\n";
        return 1;
    }
    std::cout << "Beispielinstallation geschrieben: " << folder << "\n";
    return 0;
}
