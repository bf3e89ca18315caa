#pragma once
// The interface window on a test installation: the settings working copy holds what the test gives, the
// window is loaded as at start-up, and the helpers act as the user does (choose, tick, type, click).

#include <string>
#include <vector>

#include "app/program.h"
#include "forms/interface_window.h"
#include "interfaces/interface_window.h"
#include "support/installation.h"

namespace pnl::test {

struct InterfaceWindowScene : Installation {
    explicit InterfaceWindowScene(const std::string& settings = "[Schnittstellen]\r\n[PNLXXX]\r\n");

    // The settings working copy, byte for byte.
    std::string settings() const { return readFile(kSettingsCopy); }
    std::string value(const std::string& section, const std::string& key);

    void choosePort(const std::string& name);
    void chooseDevice(const std::string& name);
    void chooseStation(const std::string& label);
    void chooseType(const std::string& type);
    void tickModem(bool on);
    void save() { controller.savePort(); }
    void test() { controller.testStation(); }

    // Fills the station frame as for a new station and saves it.
    void addStation(const std::string& type, const std::string& label, const std::string& serial,
                    const std::string& phone = "");

    InterfaceWindowForm form;
    InterfaceWindowController controller{*program, form, devices.services};
};

}  // namespace pnl::test
