// The daily log as pnl-log reads it: the first 8 bytes are the file's date (as in its name "ddmmyyyy.log"),
// the rest its content. Any content reads without harm, one entry per line of the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/log_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8)
        return 0;
    const std::string date(reinterpret_cast<const char*>(data), 8);
    const std::string content(reinterpret_cast<const char*>(data) + 8, size - 8);
    const auto entries = pnl::readLog(content, date);
    if (entries.size() != pnl::splitLogLines(content).size())
        std::abort();
    for (const pnl::LogEntry& entry : entries)
        if (!entry.text && entry.problem.empty())
            std::abort();  // a line that does not read is always marked
    return 0;
}
