// The libudev adapter of port discovery: kept thin, every decision about the devices is the caller's.

#include <libudev.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/port_discovery.h"

namespace pnl {

namespace {

constexpr const char* kStableFolder = "/dev/serial/by-id/";
constexpr std::chrono::milliseconds kRescanInterval{2000};

std::string text(const char* value) {
    return value ? value : "";
}

// A terminal of real hardware: not a virtual console or pseudo-terminal (they have no parent device), and not
// one of the legacy UART slots the kernel reserves without a chip behind it (type 0, "unknown").
bool isSerialHardware(udev_device* device) {
    if (!udev_device_get_devnode(device) || !udev_device_get_parent(device))
        return false;
    const char* type = udev_device_get_sysattr_value(device, "type");
    return !type || std::strcmp(type, "0") != 0;
}

SerialDevice describe(udev_device* device) {
    SerialDevice out;
    out.path = udev_device_get_devnode(device);
    for (udev_list_entry* link = udev_device_get_devlinks_list_entry(device); link;
         link = udev_list_entry_get_next(link)) {
        const std::string name = text(udev_list_entry_get_name(link));
        if (name.rfind(kStableFolder, 0) == 0) {
            out.stablePath = name;
            break;
        }
    }
    if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device")) {
        out.maker = text(udev_device_get_sysattr_value(usb, "manufacturer"));
        out.product = text(udev_device_get_sysattr_value(usb, "product"));
        out.serialNumber = text(udev_device_get_sysattr_value(usb, "serial"));
        out.vendorId = text(udev_device_get_sysattr_value(usb, "idVendor"));
        out.productId = text(udev_device_get_sysattr_value(usb, "idProduct"));
    }
    out.mayOpen = ::access(out.path.c_str(), R_OK | W_OK) == 0;
    if (!out.mayOpen)
        out.group = deviceGroup(out.path);
    return out;
}

class MonitorWatch : public DeviceWatch {
  public:
    MonitorWatch(EventLoop& loop, udev_monitor* monitor, std::function<void()> changed)
        : loop_(loop), monitor_(monitor), changed_(std::move(changed)) {
        id_ = loop_.watchReadable(udev_monitor_get_fd(monitor_), [this] {
            // Every queued event is taken, so that the descriptor is quiet again; one refresh covers them.
            while (udev_device* device = udev_monitor_receive_device(monitor_))
                udev_device_unref(device);
            changed_();
        });
    }
    ~MonitorWatch() override {
        loop_.unwatch(id_);
        udev_monitor_unref(monitor_);
    }

  private:
    EventLoop& loop_;
    udev_monitor* monitor_;
    std::function<void()> changed_;
    int id_ = 0;
};

// Without a device manager sending events: the device list is compared every two seconds.
class RescanWatch : public DeviceWatch {
  public:
    RescanWatch(EventLoop& loop, PortDiscovery& discovery, std::function<void()> changed)
        : loop_(loop), last_(discovery.devices()) {
        id_ = loop_.startTimer(kRescanInterval, true, [this, &discovery, changed = std::move(changed)] {
            std::vector<SerialDevice> now = discovery.devices();
            if (now == last_)
                return;
            last_ = std::move(now);
            changed();
        });
    }
    ~RescanWatch() override { loop_.stopTimer(id_); }

  private:
    EventLoop& loop_;
    std::vector<SerialDevice> last_;
    int id_ = 0;
};

class UdevPortDiscovery : public PortDiscovery {
  public:
    explicit UdevPortDiscovery(EventLoop& loop) : loop_(loop), udev_(udev_new()) {}
    ~UdevPortDiscovery() override { udev_unref(udev_); }
    UdevPortDiscovery(const UdevPortDiscovery&) = delete;
    UdevPortDiscovery& operator=(const UdevPortDiscovery&) = delete;

    std::vector<SerialDevice> devices() override {
        std::vector<SerialDevice> found;
        if (!udev_)
            return found;
        udev_enumerate* enumerate = udev_enumerate_new(udev_);
        if (!enumerate)
            return found;
        udev_enumerate_add_match_subsystem(enumerate, "tty");
        udev_enumerate_scan_devices(enumerate);
        for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate); entry;
             entry = udev_list_entry_get_next(entry)) {
            udev_device* device = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
            if (!device)
                continue;
            if (isSerialHardware(device))
                found.push_back(describe(device));
            udev_device_unref(device);
        }
        udev_enumerate_unref(enumerate);
        std::sort(found.begin(), found.end(),
                  [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
        return found;
    }

    std::unique_ptr<DeviceWatch> watch(std::function<void()> changed) override {
        if (udev_ && deviceManagerRuns()) {
            udev_monitor* monitor = udev_monitor_new_from_netlink(udev_, "udev");
            if (monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) >= 0 &&
                udev_monitor_enable_receiving(monitor) >= 0)
                return std::make_unique<MonitorWatch>(loop_, monitor, std::move(changed));
            udev_monitor_unref(monitor);
        }
        return std::make_unique<RescanWatch>(loop_, *this, std::move(changed));
    }

  private:
    // Events of the device manager come only while it runs (not in every container).
    bool deviceManagerRuns() {
        udev_queue* queue = udev_queue_new(udev_);
        const bool active = queue && udev_queue_get_udev_is_active(queue) == 1;
        udev_queue_unref(queue);
        return active;
    }

    EventLoop& loop_;
    udev* udev_;
};

}  // namespace

std::unique_ptr<PortDiscovery> makeUdevPortDiscovery(EventLoop& loop) {
    return std::make_unique<UdevPortDiscovery>(loop);
}

}  // namespace pnl
