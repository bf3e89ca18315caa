#pragma once
// The password dialog.

#include "forms/controls.h"

namespace pnl {

struct PasswordDialogForm : Window {
    Label prompt;
    TextBox code;
    Button confirm;
    Button cancel;

    PasswordDialogForm() {
        setCaption("QBX Setup");
        setVisible(false);
        confirm.setCaption("Bestätigen");
        cancel.setCaption("Abbrechen");
    }
};

}  // namespace pnl
