#include "app/event_log.h"

#include "app/program.h"
#include "app/text.h"
#include "platform/cipher.h"

namespace pnl {

void EventLog(Program& program, const std::string& text) {
    // Date and time come from one reading of the clock, so a line never lands in the file of the wrong day.
    const DateTime now = program.loop.clock().now();
    const std::string folder = program.path("log");
    const std::string file =
        folder + "/" + zeroPadded(now.day, 2) + zeroPadded(now.month, 2) + zeroPadded(now.year, 4) + ".log";
    const std::string line = zeroPadded(now.hour, 2) + ":" + zeroPadded(now.minute, 2) + ":" +
                             zeroPadded(now.second, 2) + "  " + text;
    const std::string sealed = cEncrypt(line, kCipherKey);
    if (sealed.empty())
        return;  // the cipher failed: the event is lost, the caller runs on
    if (program.fs.appendLine(file, sealed))
        return;
    if (program.fs.folderExists(folder) || !program.fs.createFolder(folder))
        return;
    program.fs.appendLine(file, sealed);
}

}  // namespace pnl
