#pragma once
// The password dialog.

#include "forms/controls.h"

namespace pnl {

struct PasswordDialogForm : Window {
    Label prompt;
    TextBox code;
    Button confirm;
    Button cancel;
    // The access codes of a sample installation written just now, readable while the dialog asks.
    Label accessCodes;

    PasswordDialogForm() {
        setCaption("QBX Setup");
        setVisible(false);
        confirm.setCaption("Bestätigen");
        cancel.setCaption("Abbrechen");
        accessCodes.setVisible(false);
    }
};

}  // namespace pnl
