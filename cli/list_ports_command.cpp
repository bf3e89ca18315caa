#include "cli/list_ports_command.h"

#include <ostream>
#include <utility>

#include "link/interface_record.h"
#include "link/port_devices.h"

namespace pnl {

int RunListPortsCommand(const PortMap& map, PortDiscovery& discovery, std::ostream& out) {
    const std::vector<SerialDevice> devices = discovery.devices();
    out << "Schnittstellen:\n";
    for (int slot = kFirstPort; slot <= kLastPort; ++slot) {
        out << portName(slot) << "  " << slotText(map, devices, slot) << "\n";
        if (const auto chosen = map.chosen(slot); chosen && !map.isMapped(slot))
            out << "      gemerkt: " << chosen->path << "\n";
    }
    out << "Gefundene Geräte (" << devices.size() << "):\n";
    for (const SerialDevice& device : devices) {
        std::string description;
        for (const auto& [name, value] : {std::pair<const char*, std::string>{"Hersteller", device.maker},
                                          {"Produkt", device.product},
                                          {"Seriennummer", device.serialNumber},
                                          {"USB-Kennung", device.vendorId + ":" + device.productId}}) {
            if (!value.empty() && value != ":")
                description += (description.empty() ? "" : ", ") + std::string(name) + " " + value;
        }
        out << device.path << "  "
            << (device.vendorId.empty() ? "Serielle Schnittstelle" : "USB-Seriell: " + description) << "\n";
        if (!device.stablePath.empty())
            out << "      stabiler Pfad: " << device.stablePath << "\n";
        if (!device.mayOpen)
            out << "      " << noAccessText(device.path, device.group) << "\n";
    }
    return 0;
}

}  // namespace pnl
