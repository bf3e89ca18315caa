#include "app/program.h"

#include "app/resident_table.h"

namespace pnl {

Program::Program(const Platform& platform, std::string folderPath)
    : fs(platform.fs),
      loop(platform.loop),
      dialogs(platform.dialogs),
      serial(platform.serial),
      ports(platform.ports),
      folder(std::move(folderPath)),
      settings(platform.fs),
      originalSettings(platform.fs),
      pause(platform.loop) {}

Program::~Program() = default;

MsgAnswer Program::msgBox(const std::string& text, MsgIcon icon, MsgButtons buttons,
                          const std::string& title) {
    return ask(Message{text, title, icon, buttons});
}

MsgAnswer Program::ask(Message message) {
    if (message.title.empty())
        message.title = kProgramTitle;
    return dialogs.show(message);
}

}  // namespace pnl
