// pnl-log: prints a day's encrypted log (log/ddmmyyyy.log) as plain lines. A line that does not decrypt
// (altered, or sealed with another key) or does not stand at its place (a line removed, swapped, duplicated
// or moved) is marked, and the exit status is then 1. The file's date comes from its name.

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
    "Eine Zeile, die sich nicht entschlüsseln lässt, erscheint als \"!! Zeile N nicht entschlüsselbar\",\n"
    "eine beim Schreiben abgerissene Zeile (Stromausfall, voller Datenträger)\n"
    "als \"!! Zeile N: abgerissen\".\n"
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
    if (argc != 2 || first.rfind('-', 0) == 0) {
        std::cerr << kHelp;
        return 2;
    }
    std::error_code error;
    std::ifstream in(argv[1], std::ios::binary);
    if (!std::filesystem::is_regular_file(argv[1], error) || !in) {
        std::cerr << "pnl-log: " << argv[1] << " kann nicht gelesen werden\n";
        return 2;
    }
    const std::string name = std::filesystem::path(argv[1]).filename().string();
    if (name.size() != 12 || !name.ends_with(".log") || name.find_first_not_of("0123456789") != 8) {
        std::cerr << "pnl-log: " << argv[1] << ": der Dateiname muss das Datum tragen (TTMMJJJJ.log)\n";
        return 2;
    }
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    int status = 0;
    for (const auto& entry : pnl::readLog(content, name.substr(0, 8))) {
        if (entry.problem.empty() && entry.text) {
            std::cout << *entry.text << (entry.unbound ? "   (alte Form, Platz nicht geprüft)" : "") << "\n";
            continue;
        }
        std::cout << "!! Zeile " << entry.lineNumber << ": " << entry.problem;
        if (entry.text)
            std::cout << " – " << *entry.text;
        std::cout << "\n";
        status = 1;
    }
    return status;
}
