#include "platform/console_dialogs.h"

#include <ostream>

namespace pnl {

MsgAnswer ConsoleDialogs::show(const Message& message) {
    // The program writes line breaks as line feed + carriage return: one line break on a terminal.
    std::string text = message.text;
    for (auto at = text.find("\n\r"); at != std::string::npos; at = text.find("\n\r", at))
        text.replace(at, 2, "\n");
    out_ << text << "\n";
    switch (message.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Yes;
        case MsgButtons::Ok:
        case MsgButtons::OkCancel:
            break;
    }
    return MsgAnswer::Ok;
}

}  // namespace pnl
