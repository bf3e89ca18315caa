#pragma once
// The transfer dialog on screen: the station tree with check boxes, the list of the lines being sent, the
// three buttons and the progress bar. It is not modal, so the main window stays usable during a run; while a
// run is in progress neither its close box nor Escape closes it.

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace pnl {
struct TransferDialogForm;
class TransferDialogController;
}  // namespace pnl

namespace pnl::ui {

class TransferDialogView : public QDialog {
  public:
    TransferDialogView(TransferDialogForm& form, TransferDialogController& controller,
                       QWidget* parent = nullptr);

    QTreeWidget* stationTree() const { return tree_; }
    QTreeWidget* lineList() const { return lines_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* allButton() const { return all_; }
    QPushButton* changedButton() const { return changed_; }
    QPushButton* noneButton() const { return none_; }
    QTreeWidget* stateList() const { return states_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progressBar() const { return bar_; }
    QLabel* statusLine() const { return status_; }
    QCheckBox* presenceCheck() const { return check_; }

    void setVisible(bool visible) override;

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TransferDialogController& controller_;
    QTreeWidget* tree_;
    QTreeWidget* lines_;
    QPushButton* start_;
    QPushButton* all_;
    QPushButton* changed_;
    QPushButton* none_;
    QTreeWidget* states_;
    QPushButton* cancel_;
    QProgressBar* bar_;
    QLabel* status_;
    QCheckBox* check_;
};

}  // namespace pnl::ui
