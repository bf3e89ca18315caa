#pragma once
// The device choice of the interface window: beside the chosen port slot, the device of this PC it stands
// for, chosen from the devices found (read again on "Aktualisieren" and whenever one is plugged in or out
// while the window is open) or named by hand. The choice takes effect at once and is remembered per PC and
// user; ANLAGE99.INI is not touched.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/port_discovery.h"
#include "platform/serial_port.h"
#include "platform/user_settings.h"

namespace pnl {

class Program;
struct InterfaceWindowForm;

// What the device choice works with: the devices of the PC, the run's port map that the serial port opens
// by, and where the choices are remembered.
struct PortDevices {
    PortDiscovery& discovery;
    PortMap& map;
    UserSettings& settings;
};

class PortDeviceChoice {
  public:
    PortDeviceChoice(Program& program, InterfaceWindowForm& form, PortDevices& devices);
    ~PortDeviceChoice();
    PortDeviceChoice(const PortDeviceChoice&) = delete;
    PortDeviceChoice& operator=(const PortDeviceChoice&) = delete;

    // The window opens: the devices are read, and while the window shows read again at every plugging in
    // or out.
    void windowOpened();
    // Lists the devices for the slot chosen in the port list, the one it stands for chosen.
    void showSlot();
    // "Aktualisieren"
    void refresh();
    // The user chose an entry of the device list.
    void chooseListed();
    // "Anderes Gerät …" with the path the user typed.
    void chooseByHand(const std::string& path);

  private:
    int slot() const;
    void fillList();
    void take(int n, std::optional<ChosenDevice> device, const SerialDevice* found);

    Program& program_;
    InterfaceWindowForm& form_;
    PortDevices& devices_;
    std::vector<SerialDevice> found_;
    std::unique_ptr<DeviceWatch> watch_;
    int windowListener_ = 0;
};

}  // namespace pnl
