#pragma once
// The interface window on screen, laid over the main window: the port and device choice with "Testen" and
// "Sichern", and the tabbed pages of which only "PNLXXX Einstellungen" (the station frame) and "Modem
// Einstellungen" are ever shown.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace pnl {
struct InterfaceWindowForm;
class InterfaceWindowController;
}  // namespace pnl

namespace pnl::ui {

class MaskedLineEdit;

class InterfaceWindowView : public QWidget {
    // A QObject of its own type, so that the main window finds it among its children.
    Q_OBJECT

  public:
    InterfaceWindowView(InterfaceWindowForm& form, InterfaceWindowController& controller,
                        QWidget* parent = nullptr);

    QComboBox* portList() const { return ports_; }
    QComboBox* deviceList() const { return devices_; }
    QPushButton* testButton() const { return test_; }
    QPushButton* saveButton() const { return save_; }
    QComboBox* portDeviceList() const { return portDevice_; }
    QPushButton* refreshButton() const { return refresh_; }
    QPushButton* otherDeviceButton() const { return otherDevice_; }
    QTabWidget* pages() const { return pages_; }
    QComboBox* stationList() const { return stations_; }
    QComboBox* typeList() const { return types_; }
    QLineEdit* labelField() const { return label_; }
    MaskedLineEdit* serialField() const { return serial_; }
    QCheckBox* modemBox() const { return modem_; }
    QLineEdit* phoneField() const { return phone_; }
    QPushButton* newStationButton() const { return newStation_; }
    QPushButton* saveStationButton() const { return saveStation_; }
    QPushButton* deleteStationButton() const { return deleteStation_; }
    QLineEdit* modemInit1Field() const { return init1_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    InterfaceWindowForm& form_;
    QWidget* stationPage(InterfaceWindowForm& form, InterfaceWindowController& controller);
    QWidget* modemPage(InterfaceWindowForm& form);

    QComboBox* ports_;
    QComboBox* devices_;
    QPushButton* test_;
    QPushButton* save_;
    QComboBox* portDevice_;
    QPushButton* refresh_;
    QPushButton* otherDevice_;
    QTabWidget* pages_;
    QComboBox* stations_ = nullptr;
    QComboBox* types_ = nullptr;
    QLineEdit* label_ = nullptr;
    MaskedLineEdit* serial_ = nullptr;
    QCheckBox* modem_ = nullptr;
    QLineEdit* phone_ = nullptr;
    QPushButton* newStation_ = nullptr;
    QPushButton* saveStation_ = nullptr;
    QPushButton* deleteStation_ = nullptr;
    QLineEdit* init1_ = nullptr;
};

}  // namespace pnl::ui
