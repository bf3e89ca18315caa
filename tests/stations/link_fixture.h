#pragma once
// A test installation with a settings working copy holding the station data link and the stations, and the
// helpers to read back what went over the line.

#include <string>
#include <vector>

#include "forms/frm_pnl.h"
#include "support/installation.h"

namespace pnl::test {

struct LinkFixture {
    LinkFixture();

    Program& program() { return *inst.program; }
    // Writes the settings working copy: section "Schnittstellen" and "PNLXXX" with the given lines.
    void writeSettings(const std::string& interfaces, const std::string& stations);

    // What one output call sent, with the virtual instant at which it left the port.
    const std::vector<RecordingSerialPort::Sent>& sent() const { return inst.serial.sent; }
    std::vector<std::string> sentTexts() const;

    Installation inst;
    FrmPNL form;
};

// 0x01 + text + 0x04.
std::string framed(const std::string& text);
// The printable part of a frame (without 0x01 and 0x04).
std::string unframed(const std::string& frame);

}  // namespace pnl::test
