#pragma once
// A test installation with the station data link and the stations, and the transfer dialog on it.

#include <string>
#include <vector>

#include "forms/transfer_dialog.h"
#include "platform/database.h"
#include "stations/transfer_dialog.h"
#include "support/installation.h"

namespace pnl::test {

struct LinkFixture {
    LinkFixture();

    Program& program() { return *inst.program; }
    // Writes the settings working copy: section "Schnittstellen" and "PNLXXX" with the given lines.
    void writeSettings(const std::string& interfaces, const std::string& stations);

    // Creates the database working copy with an empty table BEWOHNER and binds the shared resident cursor.
    void createResidents();
    // Adds a row; the numbers are bound as given (an empty DbValue stores NULL).
    void addResident(const std::string& name, const std::string& firstName, const std::string& apartment,
                     DbValue serial, const std::string& trigger, DbValue code, const std::string& stations);
    // Adds `count` residents "Bewohner 001" ... assigned to the station alone.
    void addResidentsOf(int station, int count);

    // Runs `action` at the given virtual instant after now (the user acting while the run pauses).
    void at(std::int64_t ms, std::function<void()> action) { inst.loop.post(ms, std::move(action)); }
    bool anyTicked() const;

    // What one output call sent, with the virtual instant at which it left the port.
    const std::vector<RecordingSerialPort::Sent>& sent() const { return inst.serial.sent; }

    Installation inst;
    TransferDialogForm form;
    TransferDialogController dialog{program(), form};
    StationDirectories directories{program()};
};

// 0x01 + text + 0x04.
std::string framed(const std::string& text);

}  // namespace pnl::test
