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

bool Program::useDatabase(std::unique_ptr<Database> connection) {
    closeDatabase();
    if (!connection)
        return false;
    database = std::move(connection);
    residents = std::make_shared<ResidentTable>(*database);
    return residents->bound();
}

void Program::closeDatabase() {
    residents.reset();
    database.reset();
}

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
