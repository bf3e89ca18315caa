#pragma once
// The project information dialog.

#include "forms/controls.h"

namespace pnl {

struct InfoDialogForm : Window {
    Label title, copyright, version, copyrightSign;
    Button ok;

    InfoDialogForm() {
        setCaption("Info");
        setVisible(false);
        // Shown in a symbol font beside the texts.
        copyrightSign.setCaption("©");
        ok.setCaption("Ok");
    }
};

}  // namespace pnl
