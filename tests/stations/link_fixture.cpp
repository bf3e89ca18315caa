#include "link_fixture.h"

namespace pnl::test {

LinkFixture::LinkFixture() {
    writeSettings("COM1=30,FALSE", "PNL00=PNL-B,Haupteingang,123456,,FALSE");
}

void LinkFixture::writeSettings(const std::string& interfaces, const std::string& stations) {
    inst.writeFile(kSettingsCopy, "[Schnittstellen]\n" + interfaces + "\n[PNLXXX]\n" + stations + "\n");
    program().InitX.setFileName(inst.path(kSettingsCopy));
}

std::vector<std::string> LinkFixture::sentTexts() const {
    std::vector<std::string> texts;
    for (const auto& s : sent())
        texts.push_back(s.bytes);
    return texts;
}

std::string framed(const std::string& text) {
    return "\x01" + text + "\x04";
}

std::string unframed(const std::string& frame) {
    if (frame.size() >= 2 && frame.front() == '\x01' && frame.back() == '\x04')
        return frame.substr(1, frame.size() - 2);
    return frame;
}

}  // namespace pnl::test
