#pragma once
// A pseudo-terminal pair in raw mode: whoever plays the device (the station simulator, tests) owns the master
// side; the slave path is what the program opens as its serial port.

#include <chrono>
#include <memory>
#include <string>

#include "platform/descriptor.h"

namespace pnl {

class PseudoTerminal {
  public:
    // A new pair; nothing (and *error set) when the system has none to give.
    static std::unique_ptr<PseudoTerminal> open(std::string* error = nullptr);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int masterFd() const { return master_.get(); }
    const std::string& slavePath() const { return slavePath_; }

    // Writes every byte to the master side, waiting while the program's receive buffer is full, at most until
    // the deadline. False when the bytes could not all be written.
    bool write(const std::string& bytes,
               std::chrono::milliseconds deadline = std::chrono::milliseconds(2000));
    // What has arrived from the program so far, without waiting; empty when nothing has.
    std::string readAvailable();

    // Makes linkPath a symbolic link to the slave (replacing an old link there); removed again on
    // destruction.
    bool link(const std::string& linkPath, std::string* error = nullptr);

    // Closes the master side: to the program the device is gone.
    void closeMaster();

  private:
    PseudoTerminal() = default;

    Descriptor master_;
    // A slave descriptor held open by the device side, so that the master does not hang up each time the
    // program closes its port; it is never read.
    Descriptor heldSlave_;
    std::string slavePath_;
    std::string link_;
};

}  // namespace pnl
