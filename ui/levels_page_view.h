#pragma once
// The permission level page: the level list, the tab "Codes" with the three kinds of rights, the release box
// and the code field, and "Sichern".

#include <QGroupBox>

class QComboBox;
class QPushButton;
class QCheckBox;
class QRadioButton;

namespace pnl {
struct LevelsPageForm;
class LevelEditor;
}  // namespace pnl

namespace pnl::ui {

class MaskedLineEdit;

class LevelsPageView : public QGroupBox {
  public:
    LevelsPageView(LevelsPageForm& form, LevelEditor& editor, QWidget* parent = nullptr);

    QComboBox* levelList() const { return levels_; }
    QRadioButton* residentsOption() const { return residents_; }
    QRadioButton* allOption() const { return all_; }
    QRadioButton* allWithLevelsOption() const { return allWithLevels_; }
    QCheckBox* releasedBox() const { return released_; }
    MaskedLineEdit* codeField() const { return code_; }
    QPushButton* saveButton() const { return save_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QComboBox* levels_;
    QRadioButton* residents_;
    QRadioButton* all_;
    QRadioButton* allWithLevels_;
    QCheckBox* released_;
    MaskedLineEdit* code_;
    QPushButton* save_;
};

}  // namespace pnl::ui
