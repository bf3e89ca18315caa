#include "app/event_log.h"

#include "app/log_reader.h"
#include "app/program.h"
#include "app/text.h"
#include "platform/cipher.h"

namespace pnl {

namespace {

constexpr std::size_t kTagSize = 16;

void noteProblem(Program& program, const std::string& file) {
    if (program.logProblem.empty())
        program.logProblem = "Protokoll nicht schreibbar: " + file;
}

}  // namespace

std::string logLineBinding(const std::string& date, int number, const std::string& previousTag) {
    std::string data = date;
    for (int shift = 24; shift >= 0; shift -= 8)
        data += static_cast<char>((static_cast<unsigned>(number) >> shift) & 0xFF);
    data += previousTag.size() == kTagSize ? previousTag : std::string(kTagSize, '\0');
    return data;
}

void EventLog(Program& program, const std::string& text) {
    // Date and time come from one reading of the clock, so a line never lands in the file of the wrong day.
    const DateTime now = program.loop.clock().now();
    const std::string folder = program.path(kLogFolder);
    const std::string date = zeroPadded(now.day, 2) + zeroPadded(now.month, 2) + zeroPadded(now.year, 4);
    const std::string file = folder + "/" + date + ".log";
    const std::string line = zeroPadded(now.hour, 2) + ":" + zeroPadded(now.minute, 2) + ":" +
                             zeroPadded(now.second, 2) + "  " + text;
    // The line goes after the lines already in the file, bound to its place there. The file is read again
    // when it is another day's, or when something else wrote to it since this run's last line.
    LogTail& tail = program.logTail;
    const std::int64_t size = program.fs.fileSize(file).value_or(-1);
    if (tail.file != file || size < 0 || size != tail.size) {
        const std::string content = program.fs.readFile(file).value_or("");
        const auto lines = splitLogLines(content);
        tail = LogTail{file, size, static_cast<int>(lines.size()),
                       lines.empty() ? "" : sealedTag(lines.back()), ""};
        if (!content.empty() && content.back() != '\n') {
            // The cut line counts as a line of the file but carries no seal to chain on.
            tail.lineEndMissing = content.back() == '\r' ? "\n" : "\r\n";
            tail.lastTag.clear();
        }
    }
    const std::string sealed =
        cEncryptBound(line, kCipherKey, logLineBinding(date, tail.lines + 1, tail.lastTag));
    if (sealed.empty())
        return noteProblem(program, file);  // the cipher failed: the event is lost, the caller runs on
    const std::string written = tail.lineEndMissing + sealed;
    if (!program.fs.appendLine(file, written) &&
        (program.fs.folderExists(folder) || !program.fs.createFolder(folder) ||
         !program.fs.appendLine(file, written))) {
        tail.file.clear();
        return noteProblem(program, file);
    }
    tail.size = program.fs.fileSize(file).value_or(-1);
    tail.lines += 1;
    tail.lastTag = sealedTag(sealed);
    tail.lineEndMissing.clear();
}

}  // namespace pnl
