// The settings file (ANLAGE99.INI) the program shares with another program: any bytes parse; the document
// gives back exactly the bytes it read; a value set is read back and every line but its own keeps its bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ini_file.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Whether `after` differs from `before` in one place only: one line changed (a value written into its line),
// or up to three lines where there were none or one (a key added to its section; a section and its key added
// at the end, the last line given the line end it lacked).
bool oneEdit(const std::string& before, const std::string& after) {
    const auto a = linesOf(before), b = linesOf(after);
    std::size_t head = 0, tail = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    return a.size() - head - tail <= 1 && b.size() - head - tail <= 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    pnl::IniDocument document = pnl::IniDocument::parse(bytes);
    if (document.bytes() != bytes)
        std::abort();
    for (const char* key : {"PNL00", "LEVEL1", "Port"})
        static_cast<void>(document.value("PNLXXX", key));
    const std::string value = "PNL-B,Tür Süd,012345,,FALSE";
    if (!document.setValue("PNLXXX", "PNL07", value))
        return 0;  // a value the file's encoding cannot carry is refused
    const std::string written = document.bytes();
    if (pnl::IniDocument::parse(written).value("pnlxxx", "pnl07") != value || !oneEdit(bytes, written))
        std::abort();
    return 0;
}
