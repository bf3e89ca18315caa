#pragma once
// The one serial line of the program: a port test and a transfer each claim it for their whole run.

#include <string>

namespace pnl {

class Program;

enum class SerialLinkUse { PortTest, Transfer };

// Claims the serial line for a port test or a transfer while it lives; a second user finds
// program.serialLinkBusy set and is refused, told what holds the line.
class SerialLinkClaim {
  public:
    SerialLinkClaim(Program& program, SerialLinkUse use);
    ~SerialLinkClaim();
    SerialLinkClaim(const SerialLinkClaim&) = delete;
    SerialLinkClaim& operator=(const SerialLinkClaim&) = delete;

  private:
    Program& program_;
};

// True when a transfer or a port test holds the serial line or a pause is running.
bool SerialLinkInUse(const Program& program);

// The refusal of a port test while the line is in use, naming what holds it.
std::string LinkBusyMessage(const Program& program);

}  // namespace pnl
