#include "support/com_window.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"

namespace pnl::test {

ComWindow::ComWindow(const std::string& settings) {
    writeFile(kSettingsCopy, settings);
    program->InitX.setFileName(path(kSettingsCopy));
    controller.Form_Load();
}

std::string ComWindow::value(const std::string& section, const std::string& key) {
    return IniFile(fs, path(kSettingsCopy)).read(section, key);
}

void ComWindow::choosePort(const std::string& name) {
    const int entry = form.CboCOMs.findText(name);
    ASSERT_GE(entry, 0) << name << " is not in the port list";
    form.CboCOMs.setListIndex(entry);
    controller.CboCOMs_Click();
}

void ComWindow::chooseDevice(const std::string& name) {
    const int entry = form.CboCOMDev.findText(name);
    ASSERT_GE(entry, 0) << name << " is not in the device list";
    form.CboCOMDev.setListIndex(entry);
    controller.CboCOMDev_Click();
}

void ComWindow::chooseStation(const std::string& label) {
    const int entry = form.CboPNLBez.findText(label);
    ASSERT_GE(entry, 0) << label << " is not in the station list";
    form.CboPNLBez.setListIndex(entry);
    controller.CboPNLBez_Click();
}

void ComWindow::chooseType(const std::string& type) {
    form.CboPNLType.setListIndex(form.CboPNLType.findText(type));
    controller.CboPNLType_Click();
}

void ComWindow::tickModem(bool on) {
    form.ChkPNLModem.setChecked(on);
    controller.ChkPNLModem_Click();
}

void ComWindow::addStation(const std::string& type, const std::string& label, const std::string& serial,
                           const std::string& phone) {
    controller.CmdPNLNeu_Click();
    chooseType(type);
    form.TxtPNLBez.setText(label);
    form.TxtPNLSnr.setText(serial);
    form.TxtPNLModem.setText(phone);
    controller.CmdPNLSave_Click();
}

}  // namespace pnl::test
