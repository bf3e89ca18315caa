#include "app/log_reader.h"

#include "app/program.h"
#include "platform/cipher.h"

namespace pnl {

std::vector<LogEntry> readLog(const std::string& content) {
    std::vector<LogEntry> entries;
    std::size_t start = 0;
    int number = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        entries.push_back(LogEntry{++number, cDecrypt(line, kCipherKey)});
        start = end + 1;
    }
    return entries;
}

}  // namespace pnl
