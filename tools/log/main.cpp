// pnl-log: prints a day's encrypted log (log/ddmmyyyy.log) as plain lines. A line that does not decrypt
// (altered, or sealed with another key) is marked, and the exit status is then 1.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "app/log_reader.h"
#include "platform/version.h"

namespace {

constexpr const char* kHelp =
    "Aufruf: pnl-log DATEI   (z. B. pnl-log log/06122026.log)\n"
    "Zeigt das verschlüsselte Tagesprotokoll einer Installation als Klartext (hh:mm:ss  Ereignis).\n"
    "Eine Zeile, die sich nicht entschlüsseln lässt, erscheint als \"!! Zeile N nicht entschlüsselbar\".\n"
    "\n"
    "  --help     diese Hilfe zeigen\n"
    "  --version  die Version zeigen\n"
    "\n"
    "Rückgabe: 0 alle Zeilen entschlüsselt, 1 eine Zeile nicht entschlüsselbar, 2 falsche Aufrufzeile oder\n"
    "Datei nicht lesbar.\n";

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 2 && (first == "--help" || first == "--version")) {
        std::cout << (first == "--help" ? std::string(kHelp) : pnl::versionLine("pnl-log") + "\n");
        return 0;
    }
    if (argc != 2 || first.rfind("-", 0) == 0) {
        std::cerr << kHelp;
        return 2;
    }
    std::error_code error;
    std::ifstream in(argv[1], std::ios::binary);
    if (!std::filesystem::is_regular_file(argv[1], error) || !in) {
        std::cerr << "pnl-log: " << argv[1] << " kann nicht gelesen werden\n";
        return 2;
    }
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    int status = 0;
    for (const auto& entry : pnl::readLog(content)) {
        if (entry.text) {
            std::cout << *entry.text << "\n";
        } else {
            std::cout << "!! Zeile " << entry.lineNumber << " nicht entschlüsselbar\n";
            status = 1;
        }
    }
    return status;
}
