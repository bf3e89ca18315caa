// pnl-sample: writes a sample installation into a folder.

#include <iostream>
#include <string>

#include "platform/version.h"
#include "tools/sample/sample_installation.h"

namespace {

constexpr const char* kHelp =
    "Aufruf: pnl-sample [--with-stations] [--force] ORDNER\n"
    "Schreibt eine Beispielinstallation (ANLAGE99.INI, QBXDATA.MDB mit Bewohnern) in den ORDNER.\n"
    "\n"
    "  --with-stations  BEWOHNER mit der Spalte PNL und Stationszuordnungen anlegen\n"
    "  --force          eine vorhandene Installation im Ordner überschreiben\n"
    "  --help           diese Hilfe zeigen\n"
    "  --version        die Version zeigen\n"
    "\n"
    "Rückgabe: 0 geschrieben, 1 nicht geschrieben (Installation vorhanden, Datei nicht schreibbar),\n"
    "2 falsche Aufrufzeile.\n";

int usage() {
    std::cerr << kHelp;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    pnl::SampleOptions options;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "--version") {
            std::cout << (arg == "--help" ? std::string(kHelp) : pnl::versionLine("pnl-sample") + "\n");
            return 0;
        }
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
