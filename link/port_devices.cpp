#include "link/port_devices.h"

namespace pnl {

namespace {

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!part.empty())
            text += (text.empty() ? "" : " ") + part;
    }
    return text;
}

}  // namespace

std::string adapterName(const SerialDevice& device) {
    if (device.vendorId.empty())
        return {};
    std::string name = joined({device.maker, device.product});
    if (name.empty())
        name = "USB " + device.vendorId + ":" + device.productId;
    return device.serialNumber.empty() ? name : name + " (" + device.serialNumber + ")";
}

std::string deviceText(const SerialDevice& device) {
    const std::string adapter = adapterName(device);
    const std::string kind = adapter.empty() ? "Serielle Schnittstelle" : "USB-Seriell " + adapter;
    return kind + " – " + device.path + (device.mayOpen ? "" : " (keine Berechtigung)");
}

ChosenDevice chosenDeviceOf(const SerialDevice& device) {
    return {device.stablePath.empty() ? device.path : device.stablePath, adapterName(device)};
}

const SerialDevice* deviceAt(const std::vector<SerialDevice>& devices, const std::string& path) {
    for (const SerialDevice& device : devices) {
        if (device.path == path || (!device.stablePath.empty() && device.stablePath == path))
            return &device;
    }
    return nullptr;
}

std::string slotText(const PortMap& map, const std::vector<SerialDevice>& devices, int slot) {
    const std::string path = map.pathOf(slot);
    if (map.isMapped(slot))
        return path + " (--port, nur für diesen Lauf)";
    const SerialDevice* device = deviceAt(devices, path);
    if (const auto chosen = map.chosen(slot)) {
        if (device)
            return deviceText(*device);
        if (!chosen->adapter.empty())
            return "USB-Adapter " + chosen->adapter + " – nicht angeschlossen";
        return path + " (gewählt)";
    }
    return device ? deviceText(*device) + " (Standard)" : path + " (Standard, nicht vorhanden)";
}

}  // namespace pnl
