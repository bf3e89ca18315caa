#pragma once
// The resident page: on the left the resident list with its search field ("Suchen …", Ctrl+F); on the right
// the display modes and the drop-down list above the tabs "Bewohner" (names, serial numbers, access code) and
// "Ort" (apartment number and the station tree), with "Bewohner neu", "Bewohner sichern" and "Bewohner
// löschen" below.

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QLabel;
class QTableView;
class QTabWidget;
class QTreeWidget;

namespace pnl {
struct ResidentPageForm;
class ResidentEditor;
}  // namespace pnl

namespace pnl::ui {

class MaskedLineEdit;

class ResidentPageView : public QGroupBox {
  public:
    ResidentPageView(ResidentPageForm& form, ResidentEditor& editor, QWidget* parent = nullptr);

    QRadioButton* nameMode() const { return byName_; }
    QRadioButton* serialMode() const { return bySerial_; }
    QRadioButton* apartmentMode() const { return byApartment_; }
    QComboBox* residentList() const { return residents_; }
    QLineEdit* listSearchField() const { return listSearch_; }
    QTableView* listBesideForm() const { return list_; }
    QTabWidget* tabs() const { return tabs_; }
    QLineEdit* nameField() const { return name_; }
    QLineEdit* firstNameField() const { return firstName_; }
    MaskedLineEdit* serialField() const { return serial_; }
    MaskedLineEdit* secondSerialField() const { return secondSerial_; }
    MaskedLineEdit* codeField() const { return code_; }
    MaskedLineEdit* apartmentField() const { return apartment_; }
    QTreeWidget* stationTree() const { return stations_; }
    QPushButton* allStationsButton() const { return allStations_; }
    QPushButton* noStationsButton() const { return noStations_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* residentTab(ResidentPageForm& form);
    QWidget* placeTab(ResidentPageForm& form);

    QRadioButton* byName_;
    QRadioButton* bySerial_;
    QRadioButton* byApartment_;
    QComboBox* residents_;
    QLineEdit* listSearch_;
    QTableView* list_;
    QTabWidget* tabs_;
    QLineEdit* name_;
    QLineEdit* firstName_;
    MaskedLineEdit* serial_;
    MaskedLineEdit* secondSerial_;
    MaskedLineEdit* code_;
    MaskedLineEdit* apartment_;
    QTreeWidget* stations_;
    QPushButton* allStations_;
    QPushButton* noStations_;
    QPushButton* new_;
    QPushButton* save_;
    QPushButton* delete_;
};

}  // namespace pnl::ui
