#include "interfaces/interface_window.h"

#include "forms/interface_window.h"
#include "interfaces/interface_editor.h"
#include "interfaces/interface_save.h"
#include "interfaces/port_test.h"
#include "interfaces/station_editor.h"

namespace pnl {

void InterfaceWindowController::load() {
    BuildDeviceList(form_);
    EnumeratePorts(form_);
    // No port chosen: no page, whatever the window showed when it was last open.
    portRecord_ = {};
    ShowDevicePage(program_, form_, portRecord_);
    devices_.windowOpened();
}

void InterfaceWindowController::portChosen() {
    BuildDeviceList(form_);
    portRecord_ = LoadPortRecord(program_, form_);
    devices_.showSlot();
}

void InterfaceWindowController::deviceKindChosen() {
    ShowDevicePage(program_, form_, portRecord_);
}

void InterfaceWindowController::savePort() {
    SaveInterface(program_, form_);
}

void InterfaceWindowController::testStation() {
    PortTest(program_, form_);
}

void InterfaceWindowController::viaModemToggled() {
    ApplyModemRule(form_);
}

void InterfaceWindowController::stationChosen() {
    SelectStation(program_, form_);
    ApplyTestRule(form_);
}

void InterfaceWindowController::stationTypeChosen() {
    ApplyTypeRule(form_);
}

void InterfaceWindowController::stationSerialChanged() {
    ApplyTestRule(form_);
}

void InterfaceWindowController::stationSerialFocused() {
    form_.stationSerial.setSelStart(0);
}

void InterfaceWindowController::newStation() {
    NewStation(program_, form_);
    ApplyTestRule(form_);
}

void InterfaceWindowController::saveStation() {
    SaveStation(program_, form_);
    ApplyTestRule(form_);
}

void InterfaceWindowController::deleteStation() {
    DeleteStation(program_, form_);
    ApplyTestRule(form_);
}

}  // namespace pnl
