#pragma once
// The password dialog on screen: prompt, code entry shown as "*", "Bestätigen" and "Abbrechen". The dialog
// sees every key before its controls; Escape and the close box end the program as "Abbrechen" does.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pnl {
struct PasswordDialogForm;
class PasswordDialog;
}  // namespace pnl

namespace pnl::ui {

class PasswordDialogView : public QDialog {
  public:
    PasswordDialogView(PasswordDialogForm& form, PasswordDialog& controller, QWidget* parent = nullptr);

    QLabel* prompt() const { return prompt_; }
    QLineEdit* codeEntry() const { return code_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* accessCodes() const { return accessCodes_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    PasswordDialog& controller_;
    QLabel* prompt_;
    QLineEdit* code_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QLabel* accessCodes_;
};

}  // namespace pnl::ui
