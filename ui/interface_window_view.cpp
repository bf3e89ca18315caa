#include "ui/interface_window_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "forms/interface_window.h"
#include "interfaces/interface_window.h"
#include "ui/binders.h"

namespace pnl::ui {

namespace {

// A label bound to its model, with the field it names as buddy.
QLabel* boundLabel(Label& model, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setBuddy(buddy);
    bindLabel(label, model);
    return label;
}

}  // namespace

InterfaceWindowView::InterfaceWindowView(InterfaceWindowForm& form, InterfaceWindowController& controller,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), form_(form) {
    auto* frame = new QGroupBox(this);
    ports_ = new QComboBox(frame);
    devices_ = new QComboBox(frame);
    devices_->setMinimumContentsLength(16);
    test_ = new QPushButton(frame);
    save_ = new QPushButton(frame);
    auto* choice = new QGridLayout(frame);
    choice->addWidget(boundLabel(form.portCaption, ports_, frame), 0, 0);
    choice->addWidget(ports_, 1, 0);
    choice->addWidget(boundLabel(form.deviceKindCaption, devices_, frame), 0, 1);
    choice->addWidget(devices_, 1, 1);
    choice->addWidget(test_, 1, 2);
    choice->addWidget(save_, 1, 3);
    portDevice_ = new QComboBox(frame);
    portDevice_->setMinimumContentsLength(40);
    portDevice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    refresh_ = new QPushButton(frame);
    otherDevice_ = new QPushButton(frame);
    choice->addWidget(boundLabel(form.portDeviceCaption, portDevice_, frame), 2, 0);
    choice->addWidget(portDevice_, 3, 0, 1, 2);
    choice->addWidget(refresh_, 3, 2);
    choice->addWidget(otherDevice_, 3, 3);
    choice->setColumnStretch(4, 1);

    pages_ = new QTabWidget(this);
    // Tabs 0 to 3 exist but are never shown; 4 is the station page and 5 the modem page.
    for (int tab = 0; tab < InterfaceWindowForm::kStationTab; ++tab)
        pages_->addTab(new QWidget, QString());
    pages_->addTab(stationPage(form, controller), QString());
    pages_->addTab(modemPage(form), QString());

    // Before a port is chosen no page shows: the frame keeps its height at the top instead of spreading
    // its labels and lists over the window.
    frame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(pages_, 1);
    layout->addStretch(0);

    bindWindow(this, form);
    bindFrame(frame, form.portFrame);
    bindComboBox(ports_, form.portChoice, [&controller] { controller.portChosen(); });
    bindComboBox(devices_, form.deviceKind, [&controller] { controller.deviceKindChosen(); });
    bindButton(
        test_, form.testStation, [&controller] { controller.testStation(); }, 'T');
    bindButton(
        save_, form.savePort, [&controller] { controller.savePort(); }, 'h');
    bindTabs(pages_, form.pages);
    bindComboBox(portDevice_, form.portDevice, [&controller] { controller.deviceChosen(); });
    bindButton(
        refresh_, form.refreshDevices, [&controller] { controller.refreshDevices(); }, 'A');
    bindButton(
        otherDevice_, form.otherDevice,
        [this, &controller] {
            bool ok = false;
            const QString path = QInputDialog::getText(
                this, "Anderes Gerät",
                "Pfad des Geräts (z. B. /dev/ttyUSB0 oder /dev/pts/3):", QLineEdit::Normal, QString(), &ok);
            if (ok)
                controller.chooseOtherDevice(path.toStdString());
        },
        'G');
}

void InterfaceWindowView::keyPressEvent(QKeyEvent* event) {
    // Escape closes the window as its close box does, but not while a port test holds its controls.
    if (event->key() == Qt::Key_Escape && form_.portChoice.enabled()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void InterfaceWindowView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window opens with the port to set up being chosen.
    if (!event->spontaneous())
        ports_->setFocus(Qt::OtherFocusReason);
}

QWidget* InterfaceWindowView::stationPage(InterfaceWindowForm& form, InterfaceWindowController& controller) {
    auto* page = new QWidget;
    stations_ = new QComboBox(page);
    stations_->setMinimumContentsLength(20);
    types_ = new QComboBox(page);
    label_ = new QLineEdit(page);
    serial_ = new MaskedLineEdit(form.stationSerial.positions(), form.stationSerial.kind(), page);
    auto* olderFirmware = new QCheckBox(page);
    modem_ = new QCheckBox(page);
    phone_ = new QLineEdit(page);
    newStation_ = new QPushButton(page);
    saveStation_ = new QPushButton(page);
    deleteStation_ = new QPushButton(page);

    auto* fields = new QGridLayout;
    const std::initializer_list<std::pair<Label*, QWidget*>> rows{{&form.stationChoiceCaption, stations_},
                                                                  {&form.stationTypeCaption, types_},
                                                                  {&form.stationLabelCaption, label_},
                                                                  {&form.stationSerialCaption, serial_}};
    int row = 0;
    for (const auto& [model, field] : rows) {
        fields->addWidget(boundLabel(*model, field, page), row, 0);
        fields->addWidget(field, row++, 1);
    }
    fields->addWidget(olderFirmware, row++, 1);
    fields->addWidget(modem_, row++, 1);
    fields->addWidget(boundLabel(form.phoneNumberCaption, phone_, page), row, 0);
    fields->addWidget(phone_, row++, 1);
    fields->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newStation_);
    buttons->addWidget(saveStation_);
    buttons->addWidget(deleteStation_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addStretch();

    bindComboBox(stations_, form.stationChoice, [&controller] { controller.stationChosen(); });
    bindComboBox(types_, form.stationType, [&controller] { controller.stationTypeChosen(); });
    bindTextBox(label_, form.stationLabel);
    bindMaskedField(
        serial_, form.stationSerial, [&controller] { controller.stationSerialChanged(); },
        [&controller] { controller.stationSerialFocused(); });
    bindCheckBox(olderFirmware, form.olderFirmware);
    bindCheckBox(modem_, form.viaModem, [&controller] { controller.viaModemToggled(); });
    bindTextBox(phone_, form.phoneNumber);
    bindButton(
        newStation_, form.newStation, [&controller] { controller.newStation(); }, 'N');
    bindButton(
        saveStation_, form.saveStation, [&controller] { controller.saveStation(); }, 'p');
    bindButton(
        deleteStation_, form.deleteStation, [&controller] { controller.deleteStation(); }, 'l');
    return page;
}

QWidget* InterfaceWindowView::modemPage(InterfaceWindowForm& form) {
    auto* page = new QWidget;
    init1_ = new QLineEdit(page);
    auto* init2 = new QLineEdit(page);
    auto* dialPrefix = new QLineEdit(page);
    auto* baud = new QComboBox(page);
    auto* leasedLine = new QCheckBox(page);
    auto* bik = new QCheckBox(page);

    auto* fields = new QGridLayout;
    const std::initializer_list<std::pair<Label*, QWidget*>> rows{{&form.initString1Caption, init1_},
                                                                  {&form.initString2Caption, init2},
                                                                  {&form.dialPrefixCaption, dialPrefix},
                                                                  {&form.baudRateCaption, baud}};
    int row = 0;
    for (const auto& [model, field] : rows) {
        fields->addWidget(boundLabel(*model, field, page), row, 0);
        fields->addWidget(field, row++, 1);
    }
    fields->addWidget(leasedLine, row++, 1);
    fields->addWidget(bik, row++, 1);
    fields->setColumnStretch(2, 1);
    init1_->setMinimumWidth(init1_->fontMetrics().averageCharWidth() * 32);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addStretch();

    bindTextBox(init1_, form.initString1);
    bindTextBox(init2, form.initString2);
    bindTextBox(dialPrefix, form.dialPrefix);
    bindComboBox(baud, form.baudRate);
    bindCheckBox(leasedLine, form.leasedLine);
    bindCheckBox(bik, form.bik);
    return page;
}

}  // namespace pnl::ui
