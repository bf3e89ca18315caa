#pragma once
// The window "Sicherungen": the list of kept pairs and the buttons "Wiederherstellen" and "Schließen".

#include <QDialog>

namespace pnl {
struct FrmBackups;
class BackupWindowController;
}  // namespace pnl

namespace pnl::ui {

class FrmBackupsWindow : public QDialog {
  public:
    FrmBackupsWindow(FrmBackups& form, BackupWindowController& controller, QWidget* parent = nullptr);
};

}  // namespace pnl::ui
