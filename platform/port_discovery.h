#pragma once
// Port discovery: the serial devices of this PC as the system's device manager reports them (USB adapters,
// built-in ports), with the stable name that finds an adapter again on another USB socket, and a watch that
// tells when a device is plugged in or out.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/event_loop.h"

namespace pnl {

// Every member has a default, so that a device is written with the members it has ({.path = "/dev/ttyS0"}).
struct SerialDevice {
    std::string path{};  // "/dev/ttyUSB0"
    std::string
        stablePath{};  // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3XYZ-if00-port0"; may be empty
    // From the USB device's descriptors; all empty for a built-in port.
    std::string maker{}, product{}, serialNumber{};
    std::string vendorId{}, productId{};  // "0403", "6001"
    // This user may open it; otherwise the group whose members may ("dialout").
    bool mayOpen = true;
    std::string group{};
    bool operator==(const SerialDevice&) const = default;
};

// Stops watching when destroyed.
class DeviceWatch {
  public:
    virtual ~DeviceWatch() = default;
};

class PortDiscovery {
  public:
    virtual ~PortDiscovery() = default;
    // Every serial device of this PC, in the order of their paths.
    virtual std::vector<SerialDevice> devices() = 0;
    // Calls `changed` through the event loop whenever a serial device is plugged in or out, while the watch
    // lives.
    virtual std::unique_ptr<DeviceWatch> watch(std::function<void()> changed) = 0;
};

// Through libudev. Without a running device manager the watch re-scans every two seconds instead.
std::unique_ptr<PortDiscovery> makeUdevPortDiscovery(EventLoop& loop);

// The name of the group that owns the device; empty when it cannot be asked.
std::string deviceGroup(const std::string& path);
// Why this user may not open the device, and the command that lets members of `group` open it.
std::string noAccessText(const std::string& path, const std::string& group);

}  // namespace pnl
