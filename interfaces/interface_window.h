#pragma once
// The controller of the interface window: one handler per control event, each calling the editor, save,
// station frame or port test operation. The window binding calls these after a user's action only; what the
// program itself chooses in a list runs the follow-up operation directly.

#include <string>

#include "interfaces/port_device_choice.h"
#include "link/interface_record.h"

namespace pnl {

class Program;
struct InterfaceWindowForm;

class InterfaceWindowController {
  public:
    InterfaceWindowController(Program& program, InterfaceWindowForm& form, PortDevices& devices)
        : program_(program), form_(form), devices_(program, form, devices) {}

    // Loading the window (start-up, and each time it opens over the main window): the device list and the
    // present ports, no port chosen, no page.
    void load();

    void portChosen();
    void deviceKindChosen();
    void savePort();
    void testStation();
    void viaModemToggled();
    void deviceChosen() { devices_.chooseListed(); }
    void refreshDevices() { devices_.refresh(); }
    void chooseOtherDevice(const std::string& path) { devices_.chooseByHand(path); }

    void stationChosen();
    void stationTypeChosen();
    void stationSerialChanged();
    void stationSerialFocused();
    void newStation();
    void saveStation();
    void deleteStation();

    Program& program() { return program_; }
    InterfaceWindowForm& form() { return form_; }

  private:
    Program& program_;
    InterfaceWindowForm& form_;
    // The chosen port's record as read when the port was chosen; emptied once another kind is chosen, so that
    // the page starts from its defaults until the port is chosen again.
    InterfaceRecord portRecord_;
    PortDeviceChoice devices_;
};

}  // namespace pnl
