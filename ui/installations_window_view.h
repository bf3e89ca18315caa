#pragma once
// The window "Anlagen": a search field ("Suchen …", Ctrl+F) over the sortable table of the installations, the
// chosen one's stations below it, what the window is reading, and the buttons "Öffnen" (also a double click),
// "Ordner hinzufügen …", "Entfernen" and "Schließen". Escape and the close box close it.

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;
class QTableView;

namespace pnl {
struct InstallationsWindowForm;
class InstallationsWindowController;
}  // namespace pnl

namespace pnl::ui {

class ColumnTableFilter;

class InstallationsWindowView : public QDialog {
  public:
    InstallationsWindowView(InstallationsWindowForm& form, InstallationsWindowController& controller,
                            QWidget* parent = nullptr);

    QTableView* table() const { return table_; }
    QLineEdit* searchField() const { return search_; }
    // The folder dialog of "Ordner hinzufügen …"; empty when the user cancelled. Tests replace it.
    std::function<QString()> chooseFolder;

  protected:
    void reject() override;

  private:
    InstallationsWindowForm& form_;
    InstallationsWindowController& controller_;
    QLineEdit* search_;
    QTableView* table_;
    ColumnTableFilter* filter_;
};

}  // namespace pnl::ui
