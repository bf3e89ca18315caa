#pragma once
// Message boxes: the one way the program asks or tells the user something in a box.

#include <optional>
#include <string>
#include <utility>

namespace pnl {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct Message {
    Message() = default;
    Message(std::string text, std::string title, MsgIcon icon = MsgIcon::None,
            MsgButtons buttons = MsgButtons::Ok, std::optional<MsgAnswer> defaultAnswer = std::nullopt,
            int closesAfterSeconds = 0)
        : text(std::move(text)),
          title(std::move(title)),
          icon(icon),
          buttons(buttons),
          defaultAnswer(defaultAnswer),
          closesAfterSeconds(closesAfterSeconds) {}

    std::string text;
    std::string title;  // never empty when shown: the program fills in its own title
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // The button Enter chooses (the first when none is given). A "Ja"/"Nein" question whose default is "Nein"
    // is a harmless-by-default question: there Escape and the close box answer "Nein" too.
    std::optional<MsgAnswer> defaultAnswer;
    // A box that must not keep an unattended program waiting closes itself after this time ("OK").
    int closesAfterSeconds = 0;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows the box modally and returns the button the user chose.
    virtual MsgAnswer show(const Message& message) = 0;
};

}  // namespace pnl
