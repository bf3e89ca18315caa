#pragma once
// The project information dialog: a borderless box with a picture, the program's title, copyright and
// version, and "Ok". Enter and Escape close it as "Ok" does.

#include <QDialog>

class QLabel;
class QPushButton;

namespace pnl {
struct InfoDialogForm;
}

namespace pnl::ui {

class InfoDialogView : public QDialog {
  public:
    explicit InfoDialogView(InfoDialogForm& form, QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }
    QPushButton* okButton() const { return ok_; }

  private:
    QLabel* version_;
    QPushButton* ok_;
};

}  // namespace pnl::ui
