#pragma once
// Message boxes: the one way the program asks or tells the user something in a box.

#include <string>

namespace pnl {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::string text;
    std::string title;  // never empty when shown: the program fills in its own title
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows the box modally and returns the button the user chose.
    virtual MsgAnswer show(const Message& message) = 0;
};

}  // namespace pnl
