#pragma once
// Message boxes of a run without windows (the headless commands): each box is printed as text lines and
// answered with its first button, since such a run cannot ask anyone.

#include <iosfwd>

#include "platform/dialogs.h"

namespace pnl {

class ConsoleDialogs : public Dialogs {
  public:
    explicit ConsoleDialogs(std::ostream& out) : out_(out) {}
    MsgAnswer show(const Message& message) override;

  private:
    std::ostream& out_;
};

}  // namespace pnl
