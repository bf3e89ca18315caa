#pragma once
// The serial devices of this PC as the user reads them, and the device each port slot stands for: shared by
// the interface window and the list of ports on the terminal.

#include <string>
#include <vector>

#include "platform/port_discovery.h"
#include "platform/serial_port.h"

namespace pnl {

// "FTDI FT232R (A10K3XYZ)": maker, product and serial number of a USB adapter ("USB 0403:6001" when it names
// none); empty for a built-in port.
std::string adapterName(const SerialDevice& device);
// "USB-Seriell FTDI FT232R (A10K3XYZ) – /dev/ttyUSB0", "Serielle Schnittstelle – /dev/ttyS0".
std::string deviceText(const SerialDevice& device);
// What the slot keeps of a chosen device: its stable path where it has one, and its adapter's name.
ChosenDevice chosenDeviceOf(const SerialDevice& device);

// The discovered device a path names (its device path or its stable path); nothing when none does.
const SerialDevice* deviceAt(const std::vector<SerialDevice>& devices, const std::string& path);

// The device COMn stands for, as one line: the command line's path, the chosen device (or the absent adapter)
// or the default.
std::string slotText(const PortMap& map, const std::vector<SerialDevice>& devices, int slot);

}  // namespace pnl
