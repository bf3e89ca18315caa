#pragma once
// Message boxes on QMessageBox with the German standard buttons "Ja", "Nein", "Abbrechen" and "OK", each with
// its keyboard mnemonic. A box belongs to the window that is active when it opens.

#include "platform/dialogs.h"

namespace pnl {

class QtDialogs : public Dialogs {
  public:
    MsgAnswer show(const Message& message) override;
};

}  // namespace pnl
