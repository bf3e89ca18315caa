// pnl-log: prints a day's encrypted log (log/ddmmyyyy.log) as plain lines. A line that does not decrypt
// (altered, or sealed with another key) is marked, and the exit status is then 1.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "app/log_reader.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]).rfind("-", 0) == 0) {
        std::cerr << "Aufruf: pnl-log DATEI   (z. B. pnl-log log/06122026.log)\n";
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
