#pragma once
// The window "Sicherungen": the list of kept pairs and the buttons "Wiederherstellen" and "Schließen".

#include <QDialog>

namespace pnl {
struct BackupsWindowForm;
class BackupsWindowController;
}  // namespace pnl

namespace pnl::ui {

class BackupsWindowView : public QDialog {
  public:
    BackupsWindowView(BackupsWindowForm& form, BackupsWindowController& controller,
                      QWidget* parent = nullptr);
};

}  // namespace pnl::ui
