#include "support/interface_window_scene.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"

namespace pnl::test {

InterfaceWindowScene::InterfaceWindowScene(const std::string& settings) {
    writeFile(kSettingsCopy, settings);
    program->settings.setFileName(path(kSettingsCopy));
    controller.load();
}

std::string InterfaceWindowScene::value(const std::string& section, const std::string& key) {
    return IniFile(fs, path(kSettingsCopy)).read(section, key);
}

void InterfaceWindowScene::choosePort(const std::string& name) {
    const int entry = form.portChoice.findText(name);
    ASSERT_GE(entry, 0) << name << " is not in the port list";
    form.portChoice.setListIndex(entry);
    controller.portChosen();
}

void InterfaceWindowScene::chooseDevice(const std::string& name) {
    const int entry = form.deviceKind.findText(name);
    ASSERT_GE(entry, 0) << name << " is not in the device list";
    form.deviceKind.setListIndex(entry);
    controller.deviceKindChosen();
}

void InterfaceWindowScene::chooseStation(const std::string& label) {
    const int entry = form.stationChoice.findText(label);
    ASSERT_GE(entry, 0) << label << " is not in the station list";
    form.stationChoice.setListIndex(entry);
    controller.stationChosen();
}

void InterfaceWindowScene::chooseType(const std::string& type) {
    form.stationType.setListIndex(form.stationType.findText(type));
    controller.stationTypeChosen();
}

void InterfaceWindowScene::tickModem(bool on) {
    form.viaModem.setChecked(on);
    controller.viaModemToggled();
}

void InterfaceWindowScene::addStation(const std::string& type, const std::string& label,
                                      const std::string& serial, const std::string& phone) {
    controller.newStation();
    chooseType(type);
    form.stationLabel.setText(label);
    form.stationSerial.setText(serial);
    form.phoneNumber.setText(phone);
    controller.saveStation();
}

}  // namespace pnl::test
