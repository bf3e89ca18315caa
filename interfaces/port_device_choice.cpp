#include "interfaces/port_device_choice.h"

#include "app/program.h"
#include "app/text.h"
#include "forms/interface_window.h"
#include "link/interface_record.h"
#include "link/port_devices.h"

namespace pnl {

namespace {

// Item data of the device list besides the indexes of the devices found.
constexpr int kCurrentDevice = -1;  // what the slot stands for, when it is none of the devices found
constexpr int kDefaultDevice = -2;  // no choice: the slot's built-in port

}  // namespace

PortDeviceChoice::PortDeviceChoice(Program& program, InterfaceWindowForm& form, PortDevices& devices)
    : program_(program), form_(form), devices_(devices) {
    // However the window closes (menu, close box, Escape), it stops following the devices.
    windowListener_ = form_.subscribe([this] {
        if (!form_.visible())
            watch_.reset();
    });
}

PortDeviceChoice::~PortDeviceChoice() {
    form_.unsubscribe(windowListener_);
}

int PortDeviceChoice::slot() const {
    return portNumberOf(form_.portChoice.text());
}

void PortDeviceChoice::windowOpened() {
    found_ = devices_.discovery.devices();
    // Built at start-up too, while the window is hidden: only an open window follows the devices.
    if (form_.visible() && !watch_)
        watch_ = devices_.discovery.watch([this] { refresh(); });
    showSlot();
}

void PortDeviceChoice::showSlot() {
    fillList();
    form_.portDevice.setEnabled(slot() != 0);
    form_.otherDevice.setEnabled(slot() != 0);
}

void PortDeviceChoice::refresh() {
    found_ = devices_.discovery.devices();
    fillList();
}

void PortDeviceChoice::fillList() {
    const int n = slot();
    std::vector<ComboBox::Item> items;
    int chosen = -1;
    if (n != 0) {
        const PortMap& map = devices_.map;
        const SerialDevice* current = deviceAt(found_, map.pathOf(n));
        if (map.isMapped(n) || (map.chosen(n) && !current))
            items.push_back({slotText(map, found_, n), kCurrentDevice});
        if (!map.isMapped(n)) {
            if (!map.chosen(n))
                chosen = static_cast<int>(items.size());
            items.push_back({"Keine Auswahl (" + PortMap::builtInPath(n) + ")", kDefaultDevice});
            for (std::size_t i = 0; i < found_.size(); ++i) {
                if (map.chosen(n) && current == &found_[i])
                    chosen = static_cast<int>(items.size());
                items.push_back({deviceText(found_[i]), static_cast<std::int32_t>(i)});
            }
        }
        if (chosen < 0)
            chosen = 0;
    }
    form_.portDevice.setItems(std::move(items));
    form_.portDevice.setListIndex(chosen);
}

void PortDeviceChoice::chooseListed() {
    const int n = slot();
    const int entry = form_.portDevice.listIndex();
    if (n == 0 || entry < 0)
        return;
    const int data = form_.portDevice.itemData(entry);
    if (data == kDefaultDevice)
        take(n, std::nullopt, nullptr);
    else if (data >= 0 && data < static_cast<int>(found_.size()))
        take(n, chosenDeviceOf(found_[data]), &found_[data]);
}

void PortDeviceChoice::chooseByHand(const std::string& path) {
    const int n = slot();
    const std::string typed = trim(path);
    if (n == 0 || typed.empty())
        return;
    if (typed[0] != '/' || typed.find_first_of("\t\r\n") != std::string::npos) {
        program_.msgBox("„" + typed +
                            "“ ist kein Gerätepfad. Bitte geben Sie den vollständigen Pfad an, z. B. "
                            "/dev/ttyUSB0 oder /dev/pts/3.",
                        MsgIcon::Exclamation);
        return;
    }
    // A device of the list named by its path is kept by its stable path, like one chosen from the list.
    const SerialDevice* found = deviceAt(found_, typed);
    take(n, found ? chosenDeviceOf(*found) : ChosenDevice{typed, ""}, found);
}

void PortDeviceChoice::take(int n, std::optional<ChosenDevice> device, const SerialDevice* found) {
    PortMap& map = devices_.map;
    if (map.isMapped(n)) {
        program_.msgBox(portName(n) + " ist für diesen Lauf mit --port auf " + map.pathOf(n) +
                            " festgelegt. Starten Sie das Programm ohne --port, um ein Gerät zu wählen.",
                        MsgIcon::Exclamation);
        return;
    }
    const std::map<int, ChosenDevice> before = map.choices();
    if (device)
        map.choose(n, *device);
    else
        map.forget(n);
    if (!devices_.settings.setPortChoices(map.choices())) {
        map.setChoices(before);
        fillList();
        program_.msgBox("Die Geräteauswahl für " + portName(n) + " konnte nicht gespeichert werden (" +
                            devices_.settings.location() + "). " + portName(n) + " steht weiter für " +
                            slotText(map, found_, n) + ".",
                        MsgIcon::Critical);
        return;
    }
    fillList();
    program_.notify(portName(n) + " steht jetzt für " + slotText(map, found_, n) + ".");
    if (found && !found->mayOpen)
        program_.msgBox(noAccessText(found->path, found->group), MsgIcon::Exclamation);
}

}  // namespace pnl
