#pragma once
// Message boxes for tests: records every box shown and answers from a script. A box with only an OK button is
// answered OK when nothing is scripted; an unscripted question fails the test.

#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs.h"

namespace pnl::test {

class ScriptedDialogs : public Dialogs {
  public:
    MsgAnswer show(const Message& message) override;

    void answer(MsgAnswer next) { answers.push_back(next); }
    const Message& last() const { return shown.back(); }
    // Texts of every box shown, in order.
    std::vector<std::string> texts() const;

    std::vector<Message> shown;
    std::deque<MsgAnswer> answers;
    // Runs while a box is open (the user acting elsewhere while a modal box waits), before it is answered.
    std::function<void(const Message&)> whileShown;
};

}  // namespace pnl::test
