#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace pnl::test {

MsgAnswer ScriptedDialogs::show(const Message& message) {
    shown.push_back(message);
    if (whileShown)
        whileShown(message);
    if (!answers.empty()) {
        const MsgAnswer next = answers.front();
        answers.pop_front();
        return next;
    }
    if (message.buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    ADD_FAILURE() << "unscripted question: " << message.text;
    return message.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown)
        out.push_back(m.text);
    return out;
}

}  // namespace pnl::test
